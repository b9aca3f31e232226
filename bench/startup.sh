#!/usr/bin/env bash
# Times the start of the program: how long after the process starts its window is shown on a
# screen (an Xvfb server), and how long an unattended run without a screen takes on an empty drive.
# Best of a few runs each.
# Usage: bench/startup.sh [runs]   (needs build/Vidor and build/bench/census_bench; Xvfb, xev)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
work=$(mktemp -d /tmp/vidor-start-XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/c" "$work/run"
chmod 700 "$work/run"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run VIDOR_UNITES="C=3:$work/c"
build/bench/census_bench settings

ms() { echo $(( ($2 - $1) / 1000000 )); }
least() { sort -n | head -1; }

# Xvfb picks a free display and writes its number when it is ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 3>"$work/display" >/dev/null 2>&1 &
until [ -s "$work/display" ]; do sleep 0.05; done
display=:$(head -1 "$work/display")
shown() {  # milliseconds from the start of the process to its first window mapped
  local events=$work/events start end
  : >"$events"
  DISPLAY=$display xev -root -event substructure >"$events" &
  local watcher=$!
  sleep 0.3
  start=$(date +%s%N)
  DISPLAY=$display build/Vidor &
  local program=$!
  local tries=0
  until grep -q MapNotify "$events"; do
    sleep 0.001
    if (( ++tries > 5000 )); then echo "no window shown" >&2; exit 1; fi
  done
  end=$(date +%s%N)
  kill "$program" "$watcher"
  wait "$program" "$watcher" 2>/dev/null || true
  ms "$start" "$end"
}
unattended() {  # milliseconds of a whole unattended run without a screen
  local start end
  start=$(date +%s%N)
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM build/Vidor /U:C /E:tmp >/dev/null 2>&1
  end=$(date +%s%N)
  ms "$start" "$end"
}

window=$(for _ in $(seq "$runs"); do shown; done | least)
headless=$(for _ in $(seq "$runs"); do unattended; done | least)
echo "best of $runs: window shown $window ms after the start; unattended run without a screen $headless ms"
