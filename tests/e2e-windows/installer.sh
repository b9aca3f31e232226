#!/usr/bin/env bash
# The Windows installer under Wine, silent as an administrator would run it on many machines:
# installs, runs the installed program unattended, uninstalls; each step checked from outside.
# Usage: installer.sh <Windows build folder> <Wine prefix, kept from one run to the next>
set -euo pipefail
build=$(realpath "$1")
export WINEPREFIX=$(realpath -m "$2") WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export PATH=/usr/lib/wine:$PATH
unset DISPLAY  # a silent installation draws nothing
work=$(mktemp -d /tmp/vidor-setup.XXXXXX)
export XDG_DATA_HOME=$work/data
mkdir -p "$XDG_DATA_HOME" "$work/e"
cd "$work"  # a folder Wine can reach

cleanup() {
    timeout 20 wineserver -k >/dev/null 2>&1 || true
    timeout 20 wineserver -w >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
# "name"="text" lines of a registry key, in $state.
key() {
    wine64 reg export "$1" 'C:\key.reg' /y >/dev/null 2>&1 || return 1
    state=$(iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/key.reg" | tr -d '\r')
}
expect() { grep -qxF -- "$1" <<<"$state" || fail "expected '$1' in:"$'\n'"$state"; }
within() {
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 10))); do "$@" && return 0; sleep 0.1; done
    return 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(tail -5 "$work/cpack.log")"
setup=$work/package/Vidor-6.0.24-setup.exe
[ -f "$setup" ] || fail "no $setup"

mkdir -p "$WINEPREFIX"
[ -f "$WINEPREFIX/system.reg" ] || timeout 180 wine64 wineboot -i </dev/null >/dev/null 2>&1 || fail "no Wine prefix"
wineserver -p </dev/null >/dev/null 2>&1 || true
rm -f "$WINEPREFIX/dosdevices/z:"
ln -sfn "$work/e" "$WINEPREFIX/dosdevices/e:"
cp "$setup" "$WINEPREFIX/drive_c/"
wine64 reg add 'HKLM\Software\Brenlo\Brenlo' /v 'RépertoireMiseAJour' /d - /f /reg:32 >/dev/null 2>&1

echo "1. Silent installation"
timeout 120 wine64 'C:\Vidor-6.0.24-setup.exe' /S || fail "the installer failed"
folder="$WINEPREFIX/drive_c/Program Files/Brenlo"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vidor"
programs=(Vidor.exe)
[ -f "$build/Renovex.exe" ] && programs+=(Renovex.exe)
for program in "${programs[@]}" Uninstall.exe; do
    [ -f "$folder/$program" ] || fail "$program is not in Program Files\\Brenlo"
done
[ -f "$menu/Vidor.lnk" ] || fail "no Start menu shortcut"
key 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vidor' ||
    fail "not among the installed programs"
expect '"DisplayName"="Vidor 6.0.24"'
expect '"Publisher"="Brenlo"'
expect '"UninstallString"="\"C:\\Program Files\\Brenlo\\Uninstall.exe\""'

echo "2. The installed program, unattended"
head -c 100 /dev/zero >"$work/e/vieux.tmp"
echo garder >"$work/e/garder.txt"
timeout 120 wine64 'C:\Program Files\Brenlo\Vidor.exe' /U:e /E:tmp </dev/null >/dev/null 2>&1 ||
    fail "the installed program ended with $?"
[ ! -e "$work/e/vieux.tmp" ] && [ -e "$work/e/garder.txt" ] || fail "the run did not clean E:"

echo "3. Silent uninstallation"
# The uninstaller runs from a copy of itself and returns at once: its work is awaited.
timeout 60 wine64 'C:\Program Files\Brenlo\Uninstall.exe' /S || fail "the uninstaller failed"
within 60 test ! -e "$folder/Vidor.exe" || fail "Vidor.exe is still installed"
within 10 test ! -e "$menu/Vidor.lnk" || fail "the shortcut is still there"
! key 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vidor' ||
    fail "still among the installed programs"

echo "installer: all steps passed"
