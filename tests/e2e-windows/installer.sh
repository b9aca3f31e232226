#!/usr/bin/env bash
# The Windows installer under Wine, silent as an administrator would run it on many machines:
# installs for the machine, then for one user beside it (/CurrentUser), runs each installed
# program unattended, uninstalls the user's copy (the machine's must stay), then the machine's;
# each step checked from outside. The programs shipped carry their icon and no symbols, the
# installer and uninstaller the same icon, and the installer's first page speaks French.
# Usage: installer.sh <Windows build folder> WindowProbe.exe <Wine prefix, kept from one run to
#        the next>
set -euo pipefail
build=$(realpath "$1")
probe_exe=$(realpath "$2")
prefix=$3
source "$(dirname "$0")/screen.sh"
mkdir -p "$work/e"

# "name"="text" lines of a registry key (in the view given second, if any), in $state.
key() {
    wine64 reg export "$1" 'C:\key.reg' /y ${2:+"$2"} >/dev/null 2>&1 || return 1
    state=$(iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/key.reg" | tr -d '\r')
}
expect() { grep -qxF -- "$1" <<<"$state" || fail "expected '$1' in:"$'\n'"$state"; }
within() {
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 10))); do "$@" && return 0; sleep 0.1; done
    return 1
}

# A Windows environment variable of Wine's user, and the Unix path of the folder it names.
windows_variable() { wine64 cmd /c "echo %$1%" 2>/dev/null | tr -d '\r'; }
user_folder() { wine64 winepath -u "$(windows_variable "$1")" 2>/dev/null | tr -d '\r'; }

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(tail -5 "$work/cpack.log")"
setup=$work/package/Vidor-6.0.24-setup.exe
[ -f "$setup" ] || fail "no $setup"

# The images of a program's icons, one checksum each, sorted: the same icon gives the same list.
icon_images() {
    local name
    for name in $(wrestool -l --type=3 "$1" | sed -n 's/.*--name=\([0-9]*\) .*/\1/p'); do
        wrestool -x --raw --type=3 --name="$name" "$1" | md5sum | cut -d' ' -f1
    done | sort | tr '\n' ' '
}
shipped=$work/package/_CPack_Packages/win64/NSIS/Vidor-6.0.24-setup
program_icon=$(icon_images "$shipped/Vidor.exe")
# Title bars and lists at 96 and 144 DPI, Explorer's large views.
wrestool -x --type=14 "$shipped/Vidor.exe" -o "$work/Vidor.ico" # icotool reads a PNG image by seeking
sizes=$(icotool -l "$work/Vidor.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p')
for size in 16 24 32 48 256; do
    grep -qx "$size" <<<"$sizes" || fail "Vidor.exe has no $size-pixel icon (it has: $sizes)"
done
[ "$(icon_images "$setup")" = "$program_icon" ] || fail "the installer has not Vidor's icon"
for program in Vidor.exe Renovex.exe; do
    ! x86_64-w64-mingw32-objdump -h "$shipped/$program" | grep -q '\.debug_' ||
        fail "$program is shipped with its symbols"
done

start_screen
start_wine
ln -sfn "$work/e" "$WINEPREFIX/dosdevices/e:"
cp "$setup" "$WINEPREFIX/drive_c/"
wine64 reg delete 'HKLM\Software\Brenlo\Brenlo' /f /reg:32 >/dev/null 2>&1 || true
wine64 reg delete 'HKCU\Software\Brenlo\Brenlo' /f >/dev/null 2>&1 || true


# The places of one installation: "machine" (an administrator's default) or "user".
places() {
    uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Vidor'
    if [ "$1" = machine ]; then
        options=(/S)
        windows_folder='C:\Program Files\Brenlo'
        folder="$WINEPREFIX/drive_c/Program Files/Brenlo"
        menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vidor"
        hive=HKLM update_view=/reg:32 update_folder='\\serveur\maj'
    else
        options=(/S /CurrentUser)
        windows_folder="$(windows_variable LOCALAPPDATA)\\Programs\\Brenlo"
        folder="$(user_folder LOCALAPPDATA)/Programs/Brenlo"
        menu="$(user_folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Vidor"
        hive=HKCU update_view=/reg:64 update_folder='\\autre\maj'
    fi
}

update_key() { key "$1\Software\Brenlo\Brenlo" "$update_view"; }

install() {
    places "$1"
    echo "Silent installation ($1)"
    timeout 120 wine64 'C:\Vidor-6.0.24-setup.exe' "${options[@]}" "/MAJ=$update_folder" ||
        fail "the installer failed ($1)"
    for program in Vidor.exe Renovex.exe Uninstall.exe; do
        [ -f "$folder/$program" ] || fail "$program is not in $windows_folder"
    done
    [ -f "$menu/Vidor.lnk" ] || fail "no Start menu shortcut in $menu"
    [ -f "$menu/Désinstaller Vidor.lnk" ] || fail "no French uninstaller shortcut in $menu"
    [ "$(icon_images "$folder/Uninstall.exe")" = "$program_icon" ] ||
        fail "the uninstaller has not Vidor's icon"
    key "$hive\\$uninstall_key" || fail "not among the installed programs of $hive"
    expect '"DisplayName"="Vidor 6.0.24"'
    expect '"Publisher"="Brenlo"'
    expect "\"UninstallString\"=\"\\\"${windows_folder//\\/\\\\}\\\\Uninstall.exe\\\"\""
    update_key "$hive" || fail "no update folder in $hive"
    expect "\"RépertoireMiseAJour\"=\"${update_folder//\\/\\\\}\""
}

# The installed program, unattended: it looks for no new version.
use() {
    places "$1"
    echo "The installed program, unattended ($1)"
    wine64 reg add "$hive\\Software\\Brenlo\\Brenlo" /v 'RépertoireMiseAJour' /d - /f $update_view \
        >/dev/null 2>&1
    head -c 100 /dev/zero >"$work/e/vieux.tmp"
    echo garder >"$work/e/garder.txt"
    timeout 120 wine64 "$windows_folder\\Vidor.exe" /U:e /E:tmp </dev/null >/dev/null 2>&1 ||
        fail "the installed program ended with $?"
    [ ! -e "$work/e/vieux.tmp" ] && [ -e "$work/e/garder.txt" ] || fail "the run did not clean E:"
}

installed() {
    [ -f "$folder/Vidor.exe" ] && [ -f "$menu/Vidor.lnk" ] && key "$hive\\$uninstall_key"
}

uninstall() {
    places "$1"
    echo "Silent uninstallation ($1)"
    # The uninstaller runs from a copy of itself and returns at once: its work is awaited.
    timeout 60 wine64 "$windows_folder\\Uninstall.exe" /S || fail "the uninstaller failed ($1)"
    within 60 test ! -e "$folder/Vidor.exe" || fail "Vidor.exe is still in $windows_folder"
    within 10 test ! -e "$menu" || fail "the Start menu folder $menu is still there"
    ! key "$hive\\$uninstall_key" || fail "still among the installed programs of $hive"
}

install machine
use machine
install user
# One user's installation leaves the machine's registration and update folder as they were.
places machine
installed || fail "installing for one user removed the machine's installation"
key "HKLM\\$uninstall_key"
expect '"UninstallString"="\"C:\\Program Files\\Brenlo\\Uninstall.exe\""'
update_key HKLM || fail "no machine update folder"
expect '"RépertoireMiseAJour"="-"'
use user
uninstall user
places machine
installed || fail "uninstalling the user's copy removed the machine's"
uninstall machine

# Run by a person, nothing installed: its first page, in French.
echo "The installer's first page"
mkdir -p "$WINEPREFIX/drive_c/Vidor"
cp "$probe_exe" "$WINEPREFIX/drive_c/Vidor/"
wine64 'C:\Vidor-6.0.24-setup.exe' </dev/null >/dev/null 2>&1 &
installer=$!
state=$(wine64 'C:\Vidor\WindowProbe.exe' watch 60 "Installation de Vidor" | tr -d '\r') ||
    fail "no window \"Installation de Vidor\""
kill "$installer"
for text in "Bienvenue dans le programme d'installation de Vidor" "&Suivant >" "Annuler"; do
    grep -qF "|$text|" <<<"$state" || fail "the first page lacks \"$text\":"$'\n'"$state"
done

echo "installer: all steps passed"
