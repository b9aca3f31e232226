#!/usr/bin/env bash
# Vidor.exe end to end under Wine, on an X server of its own and drives made of temporary folders:
# the census and the recycle bin by clicks at the controls' places, the help window, the choices
# kept in the registry at closing, the keyboard at each stage, the unattended runs (which never
# wait for anyone), and starts without a screen or on a desktop nobody sees.
# Usage: run.sh Vidor.exe WindowProbe.exe <Wine prefix, kept from one run to the next>
# VIDOR_SCREENSHOT=<file.png> also saves the main window as drawn (with a window manager).
set -euo pipefail
vidor=$(realpath "$1")
probe_exe=$(realpath "$2")
prefix=$3
source "$(dirname "$0")/screen.sh"

MAIN="(Vidor v6.0.24) Suppression des fichiers temporaires"
HELP="(Vidor v6.0.24) Suppression des fichiers temporaires et autres fichiers inutiles !"
# Places in twips, from the window's layout, of what the test clicks; 15 twips a pixel at 96 DPI.
LINE_C=(400 600)       # the first line of lUnites, C:
RECENSER=(4687 1087)   # bGo
AIDE=(6367 1087)       # bSos
CORBEILLE=(6400 3067)  # bEffacer, left of Poubel2 which lies over it
ANNULER=(4027 3067)    # bAnn
LIGNE_1=(600 450)      # the first line of lDel
ERREUR="(Vidor v6.0.24) Erreur !"

start_screen
if [ -n "${VIDOR_SCREENSHOT:-}" ] && command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    wm_pid=$!
fi
start_wine
mkdir -p "$work/e" "$work/f"
ln -sfn "$work/e" "$WINEPREFIX/dosdevices/e:"
ln -sfn "$work/f" "$WINEPREFIX/dosdevices/f:"
mkdir -p "$WINEPREFIX/drive_c/Vidor"
cp "$vidor" "$probe_exe" "$WINEPREFIX/drive_c/Vidor/"
wine64 reg add 'HKLM\Software\Brenlo\Brenlo' /v 'RépertoireMiseAJour' /d - /f /reg:32 >/dev/null 2>&1
wine64 reg delete 'HKCU\Software\Brenlo' /f >/dev/null 2>&1 || true

TAB=$'\t'
# The program's values under HKCU, one "name"="text" a line, in $state.
choices() {
    wine64 reg export 'HKCU\Software\Brenlo\Vidor' 'C:\Vidor\choices.reg' /y >/dev/null 2>&1 ||
        fail "no choices in the registry"
    state=$(iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/Vidor/choices.reg" | tr -d '\r')
}
probe() { wine64 'C:\Vidor\WindowProbe.exe' "$@" | tr -d '\r'; }

# Waits for a shown window (showing a control of text $3 if given) and keeps what it shows in
# $state and its client origin in $ox $oy.
watch() {
    state=$(probe watch "${2:-30}" "$1" ${3:+"$3"}) || fail "no window \"$1\" ${3:+showing \"$3\"}"
    read -r ox oy < <(sed -n '1s/^window|\([0-9]*\) \([0-9]*\)|.*/\1 \2/p' <<<"$state")
}
expect() { grep -qxF -- "$1" <<<"$state" || fail "expected \"$1\" in:"$'\n'"$state"; }
# The keys go to a control the user sees, and the window answers after a letter and a space.
keys_shown() {
    grep -q '^focus|.*|enabled|shown$' <<<"$state" ||
        fail "$1: the keys go to no control the user can use:"$'\n'"$state"
}
still_answers() {
    xdotool key "$@"
    probe answers "$MAIN" || fail "the window no longer answers after the keys $*"
}
click() { xdotool mousemove $((ox + $1 / 15)) $((oy + $2 / 15)) click 1; }

start() {
    rm -f "$work/rc"
    (
        status=0
        timeout 120 wine64 'C:\Vidor\Vidor.exe' "$@" >"$work/out" 2>"$work/err" </dev/null ||
            status=$?
        echo "$status" >"$work/rc"
    ) &
}
ended() {
    for _ in $(seq 600); do [ -s "$work/rc" ] && break; sleep 0.1; done
    [ "$(cat "$work/rc" 2>/dev/null)" = "$1" ] || fail "exit status $(cat "$work/rc" 2>/dev/null), not $1"
}

files() {
    rm -rf "${work:?}/e/"* "${work:?}/f/"*
    mkdir -p "$work/e/docs" "$work/e/work"
    head -c 1000 /dev/zero >"$work/e/docs/rapport.tmp"
    head -c 234 /dev/zero >"$work/f/vieux.tmp"
    echo garder >"$work/e/work/garder.txt"
    echo copie >"$work/e/work/copie.bak"
}
present() { for f in "$@"; do [ -e "$work/$f" ] || fail "$f is gone"; done; }
absent() { for f in "$@"; do [ ! -e "$work/$f" ] || fail "$f is still there"; done; }

echo "1. A census by clicks, then the recycle bin"
files
start
watch "$MAIN"
if [ -n "${VIDOR_SCREENSHOT:-}" ]; then
    sleep 1
    import -window root "$work/root.png"
    # The window and its title bar drawn by the window manager.
    convert "$work/root.png" -crop 492x250+$((ox - 3))+$((oy - 21)) +repage "$VIDOR_SCREENSHOT"
fi
expect "ListBox||enabled|3|0,1,2,"
click "${LINE_C[@]}"
watch "$MAIN"
expect "ListBox||enabled|3|1,2,"
click "${RECENSER[@]}"
watch "$MAIN" 60 "Corbeille  "
expect "Button|Corbeille  |enabled"
expect "ListBox||enabled|2|"
expect "Static|1'234 bytes|enabled"
click "${CORBEILLE[@]}"
ended 0
absent e/docs/rapport.tmp f/vieux.tmp
present e/work/garder.txt e/work/copie.bak
[ -f "$XDG_DATA_HOME/Trash/files/rapport.tmp" ] && [ -f "$XDG_DATA_HOME/Trash/files/vieux.tmp" ] ||
    fail "the files are not in the recycle bin: $(ls "$XDG_DATA_HOME/Trash/files" 2>&1)"

echo "2. The help window, then the choices kept at closing"
files
start
watch "$MAIN"
click "${LINE_C[@]}"
click "${AIDE[@]}"
watch "$HELP"
watch "$MAIN"
grep -q "^window|.*|disabled|" <<<"$state" || fail "the main window takes input under the help"
xdotool key Escape
probe gone 10 "$HELP" || fail "Escape left the help window open"
watch "$MAIN"
grep -q "^window|.*|enabled|" <<<"$state" || fail "the main window stays disabled"
probe close "$MAIN"
ended 0
choices
expect "\"Unités sélectionnées\"=\"E:${TAB}F:${TAB}\""
expect "\"Extensions sélectionnées\"=\"tmp${TAB}syd${TAB}\$\$\$${TAB}old${TAB}chk${TAB}\""

echo "3. The keyboard: Enter, Escape, Annuler, the help, each file removed once"
files
start
watch "$MAIN"
expect "focus|Button|Recenser|enabled|shown"
xdotool key Return
watch "$MAIN" 60 "Corbeille  "
keys_shown "at the review"
click "${LIGNE_1[@]}"
xdotool key Escape
watch "$MAIN" 30 Recenser
expect "focus|Button|Recenser|enabled|shown"
still_answers a
xdotool key space
watch "$MAIN" 60 "Corbeille  "
click "${ANNULER[@]}"
watch "$MAIN" 30 Recenser
keys_shown "after Annuler"
still_answers a
click "${AIDE[@]}"
watch "$HELP"
xdotool key Escape
probe gone 10 "$HELP" || fail "Escape left the help window open"
watch "$MAIN"
keys_shown "after the help window"
still_answers a
click "${RECENSER[@]}"
watch "$MAIN" 60 "Corbeille  "
xdotool key Return
ended 0
absent e/docs/rapport.tmp f/vieux.tmp
present e/work/garder.txt e/work/copie.bak

echo "4. An unattended run with its drives and extensions: /U:e /E:tmp"
files
for i in $(seq 150); do echo "$i" >"$work/e/work/lot$i.tmp"; done
start /U:e /E:tmp
watch "$MAIN" 60 Manuel
# The reduced window: its top strip alone, and "Manuel" to take the hand back.
expect "Button|Manuel|enabled"
grep -q "^window|.*|488 24$" <<<"$state" || fail "the window is not reduced: $(head -1 <<<"$state")"
ended 0
absent e/docs/rapport.tmp e/work/lot1.tmp e/work/lot150.tmp
present f/vieux.tmp e/work/garder.txt e/work/copie.bak
# An unattended run leaves the choices of the last manual run as they were.
choices
expect "\"Unités sélectionnées\"=\"E:${TAB}F:${TAB}\""

echo "5. /AUTO: the choices of the last manual run"
files
start /AUTO
ended 0
absent e/docs/rapport.tmp f/vieux.tmp
present e/work/garder.txt e/work/copie.bak

echo "6. Runs with parameters wait for nobody"
# No update folder stored: the prompt is not shown, and the run goes on.
wine64 reg delete 'HKLM\Software\Brenlo\Brenlo' /v 'RépertoireMiseAJour' /f /reg:32 >/dev/null 2>&1
files
start /U:e /E:tmp
ended 0
grep -q "Répertoire de mise à jour" "$work/err" || fail "the prompt was not written on stderr"
absent e/docs/rapport.tmp
wine64 reg add 'HKLM\Software\Brenlo\Brenlo' /v 'RépertoireMiseAJour' /d - /f /reg:32 >/dev/null 2>&1
# A bad parameter: its box shows, is written on stderr, and closes by itself after 30 seconds.
start /X:abc
watch "$ERREUR" 30
grep -qF 'Je ne comprend pas le paramètre "/X:abc" !' "$work/err" || fail "the box is not on stderr"
ended 2

echo "7. On a desktop nobody sees, as a service's"
probe unseen 'C:\Vidor\Vidor.exe' 2>"$work/err" && status=0 || status=$?
[ "$status" = 3 ] || fail "exit status $status, not 3"
grep -q "Vidor ne trouve pas d'écran" "$work/err" || fail "no word of the missing screen"

echo "8. Without a screen"
# A machine without a desktop: no Wine server that knows an X display either.
timeout 20 wineserver -k >/dev/null 2>&1 || true
timeout 20 wineserver -w >/dev/null 2>&1 || true
files
DISPLAY= start
ended 3
grep -q "Vidor ne trouve pas d'écran" "$work/err" || fail "no word of the missing screen"
DISPLAY= start /U:f /E:tmp
ended 0
absent f/vieux.tmp
present e/docs/rapport.tmp

echo "end to end: all runs passed"
