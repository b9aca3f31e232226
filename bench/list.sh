#!/usr/bin/env bash
# The list of files in the real window: a tree with <lines> matching files among 190,000, a census
# of it in the window on an X server of its own, and how long after the walk's end the list's last
# line is drawn; the walk's time with the list growing, with the list not shown, and without a
# window; against a line count of the same files (find | wc -l). Each round runs the three walks
# back to back; the ratios are the medians of each round's own.
# Usage: bench/list.sh [qt|windows|both] [lines] [rounds] [work folder]
# (needs build/bench/census_bench and build/bench/list_bench; for windows,
# build-windows/bench/list_bench.exe, Wine and a Wine prefix kept in build-windows/bench-prefix)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
which=${1:-both}
lines=${2:-100000}
rounds=${3:-5}
work=${4:-/tmp/vidor-list-bench}
tree=$work/tree-$lines
mkdir -p "$work"
[ -d "$tree" ] || build/bench/census_bench build "$tree" "$lines" >/dev/null

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { sed -n "s/.*$1 \([0-9.]*\) .*/\1/p"; }  # the number after the words $1

count=$( (for _ in $(seq "$rounds"); do
    start=$(date +%s.%N)
    find "$tree" -xdev -name '*.tmp' | wc -l >/dev/null
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" 'BEGIN { print e - s }'
done) | median)

# One round: the three walks, in this order, each line of the bench's output as it comes.
# $1 runs the bench with LIST_BENCH set.
round() {
    local mode
    for mode in window quiet headless; do LIST_BENCH=$mode "$1" 2>/dev/null | tr -d '\r'; done
}

report() {  # $1 the window's name; reads every round's lines
    local out
    out=$(cat)
    walk() { grep "^$1:" <<<"$out" | field census | median; }
    local window quiet headless shown draws
    window=$(walk window)
    quiet=$(walk quiet)
    headless=$(walk headless)
    shown=$(grep '^window:' <<<"$out" | field "line drawn" | median)
    draws=$(grep '^window:' <<<"$out" | sed -n 's/.*drawn \([0-9]*\) times.*/\1/p' | median)
    # The ratios of each round, then their median.
    ratio() {
        paste <(grep "^$1:" <<<"$out" | field census) <(grep "^$2:" <<<"$out" | field census) |
            awk '{ print $1 / $2 }' | median
    }
    printf '%s, %d lines, median of %d rounds (load %s):\n' "$1" "$lines" "$rounds" \
        "$(cut -d' ' -f1-3 /proc/loadavg)"
    printf '  walk: list growing %.3f s | list not shown %.3f s | no window %.3f s\n' \
        "$window" "$quiet" "$headless"
    printf '  walk with the list / without the window %.2f | / with the list not shown %.2f (target 1.10)\n' \
        "$(ratio window headless)" "$(ratio window quiet)"
    printf '  last line drawn %.3f s after the walk'"'"'s end (target 1 s); drawn %s times during the walk\n' \
        "${shown:-999}" "${draws:-0}"
    printf '  line count (find | wc -l) %.3f s | walk and list / line count %.1f\n' "$count" \
        "$(awk -v w="$window" -v s="$shown" -v c="$count" 'BEGIN { print (w + s) / c }')"
}

qt() {
    local run=$work/qt
    rm -rf "$run"
    mkdir -p "$run/run"
    chmod 700 "$run/run"
    (
        export XDG_CONFIG_HOME=$run/config XDG_RUNTIME_DIR=$run/run XDG_CACHE_HOME=$run/cache
        export XDG_DATA_HOME=$run/data XDG_STATE_HOME=$run/state VIDOR_UNITES="C=3:$tree"
        build/bench/census_bench settings
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$run/display" >/dev/null 2>&1 &
        local xvfb=$!
        trap 'kill $xvfb' EXIT
        until [ -s "$run/display" ]; do sleep 0.05; done
        export DISPLAY=:$(head -1 "$run/display")
        # One copy a user: a network of its own, so that no other copy of the program is met.
        bench() { unshare -n build/bench/list_bench; }
        for _ in $(seq "$rounds"); do round bench; done
    ) | report "Qt window"
}

windows() {
    (
        prefix=$root/build-windows/bench-prefix
        source tests/e2e-windows/screen.sh
        start_screen
        start_wine
        ln -sfn "$tree" "$WINEPREFIX/dosdevices/e:"
        wine64 reg add 'HKLM\Software\Brenlo\Brenlo' /v 'RépertoireMiseAJour' /d - /f /reg:32 \
            >/dev/null 2>&1
        mkdir -p "$WINEPREFIX/drive_c/bench"
        cp "$root/build-windows/bench/list_bench.exe" "$WINEPREFIX/drive_c/bench/"
        bench() { LIST_BENCH_DRIVE=E timeout 900 wine64 'C:\bench\list_bench.exe'; }
        for _ in $(seq "$rounds"); do round bench; done
    ) | report "Win32 window under Wine"
}

case $which in
    qt) qt ;;
    windows) unshare -n "$0" windows-here "$lines" "$rounds" "$work" ;;
    windows-here) windows ;;
    both) qt && unshare -n "$0" windows-here "$lines" "$rounds" "$work" ;;
    *) echo "usage: bench/list.sh [qt|windows|both] [lines] [rounds] [work folder]" >&2; exit 2 ;;
esac
