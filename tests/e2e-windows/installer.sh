#!/usr/bin/env bash
# The Windows installer under Wine, silent as an administrator would run it on many machines:
# installs, runs the installed program unattended, uninstalls; each step checked from outside.
# Usage: installer.sh <Windows build folder> <Wine prefix, kept from one run to the next>
set -euo pipefail
build=$(realpath "$1")
prefix=$2
unset DISPLAY # a silent installation draws nothing
source "$(dirname "$0")/screen.sh"
mkdir -p "$work/e"

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

start_wine
ln -sfn "$work/e" "$WINEPREFIX/dosdevices/e:"
cp "$setup" "$WINEPREFIX/drive_c/"
wine64 reg delete 'HKLM\Software\Brenlo\Brenlo' /f /reg:32 >/dev/null 2>&1 || true

echo "1. Silent installation"
timeout 120 wine64 'C:\Vidor-6.0.24-setup.exe' /S '/MAJ=\\serveur\maj' || fail "the installer failed"
folder="$WINEPREFIX/drive_c/Program Files/Brenlo"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vidor"
for program in Vidor.exe Renovex.exe Uninstall.exe; do
    [ -f "$folder/$program" ] || fail "$program is not in Program Files\\Brenlo"
done
[ -f "$menu/Vidor.lnk" ] || fail "no Start menu shortcut"
key 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vidor' ||
    fail "not among the installed programs"
expect '"DisplayName"="Vidor 6.0.24"'
expect '"Publisher"="Brenlo"'
expect '"UninstallString"="\"C:\\Program Files\\Brenlo\\Uninstall.exe\""'
wine64 reg export 'HKLM\Software\Brenlo\Brenlo' 'C:\key.reg' /y /reg:32 >/dev/null 2>&1 ||
    fail "no update folder"
state=$(iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/key.reg" | tr -d '\r')
expect '"RépertoireMiseAJour"="\\\\serveur\\maj"'
# The run below looks for no new version.
wine64 reg add 'HKLM\Software\Brenlo\Brenlo' /v 'RépertoireMiseAJour' /d - /f /reg:32 >/dev/null 2>&1

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
