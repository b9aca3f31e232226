#!/usr/bin/env bash
# The menu entry's StartupWMClass is the class of the window the program really opens, started by
# the menu's link "vidor" (read by xprop on an X server of the test's own): a
# dock that finds no entry for a window shows it with a second, anonymous icon beside the menu's.
# Usage: window_class.sh <packaging folder> <program>
set -euo pipefail
packaging=$(realpath "$1")
program=$(realpath "$2")

# One copy per user and network namespace: this one must not meet another test's, or a user's.
if [ "$(id -u)" -eq 0 ] && [ -z "${VIDOR_OWN_NETWORK:-}" ]; then
  VIDOR_OWN_NETWORK=1 exec unshare -n "$0" "$@"
fi

expected=$(sed -n 's/^StartupWMClass=//p' "$packaging/fr.brenlo.Vidor.desktop")
work=$(mktemp -d /tmp/vidor-window-class.XXXXXX)
xvfb=
vidor=
cleanup() {
  [ -n "$vidor" ] && kill "$vidor" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 5 -nolisten tcp 5>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }

mkdir -p "$work"/{c,config/Brenlo,data,cache,runtime}
ln -s "$program" "$work/vidor"
chmod 700 "$work/runtime"
printf '[General]\nRépertoireMiseAJour=-\n' >"$work/config/Brenlo/Brenlo.conf"
DISPLAY=:$(cat "$work/display") XDG_CONFIG_HOME=$work/config XDG_CONFIG_DIRS=$work/config \
  XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime \
  VIDOR_UNITES="C=3:$work/c" QT_QPA_PLATFORM=xcb "$work/vidor" 2>"$work/errors" &
vidor=$!

export DISPLAY=:$(cat "$work/display")
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$vidor" | head -1) ||
  { cat "$work/errors"; echo "no window"; exit 1; }
# WM_CLASS(STRING) = "instance", "class"
class=$(xprop -id "$window" WM_CLASS | sed -n 's/.*", "\(.*\)"$/\1/p')
if [ "$class" != "$expected" ]; then
  echo "the window's class is '$class'; the menu entry's StartupWMClass is '$expected'"
  exit 1
fi
echo "window class $class, as the menu entry says"
