#!/usr/bin/env bash
# Times the census against find, fd and a bare single-threaded walker on the same tree, with the
# page cache dropped before each run (cold: only as root where the machine allows it) and then
# warm. Each round runs the four walks back to back, so that the machine's load weighs on them
# alike; the ratios printed are the medians of each round's own. Then checks the memory of a census
# that lists 100,000 files, and times the first census after a package change
# (bench/first-census.sh).
# Usage: bench/compare.sh [work folder] [rounds]
# (needs build/bench/census_bench and build/bench/bare_walk; installs fd-find)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps fd-find >/dev/null
bench=build/bench/census_bench
bare=build/bench/bare_walk
work=${1:-$(mktemp -d /tmp/vidor-bench-XXXXXX)}
rounds=${2:-7}
tree=$work/tree
many=$work/many

[ -d "$tree" ] || "$bench" build "$tree" >/dev/null
[ -d "$many" ] || "$bench" build "$many" 100000 >/dev/null
# A first census writes the settings the next ones find (the program's first start).
"$bench" walk "$tree" >/dev/null

can_drop() { [ "$(id -u)" -eq 0 ] && sync && echo 3 2>/dev/null >/proc/sys/vm/drop_caches; }
drop() { sync; echo 3 >/proc/sys/vm/drop_caches; }

census() { "$bench" walk "$tree"; }
find_() { find "$tree" -xdev -name '*.tmp'; }
fd_() { fdfind --no-ignore --hidden --one-file-system -e tmp . "$tree"; }
bare_() { "$bare" "$tree"; }
walkers=(census find_ fd_ bare_)

seconds() {  # wall time of one run of $2 in seconds; $1 is cold or warm
    [ "$1" = cold ] && drop
    local start end
    start=$(date +%s.%N)
    "$2" >/dev/null 2>&1
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" 'BEGIN { print e - s }'
}

# Prints, for each round, the times of the four walks on one line.
rounds() {
    local mode=$1 walker
    if [ "$mode" = warm ]; then for walker in "${walkers[@]}"; do "$walker" >/dev/null 2>&1; done; fi
    for _ in $(seq "$rounds"); do
        for walker in "${walkers[@]}"; do printf '%s ' "$(seconds "$mode" "$walker")"; done
        echo
    done
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure() {  # prints the median times and the median ratios of a mode
    local mode=$1 times
    times=$(rounds "$mode")
    column() { awk -v c="$1" '{ print $c }' <<<"$times" | median; }
    ratio() { awk -v c="$1" '{ print $1 / $c }' <<<"$times" | median; }
    printf '%-5s census %.3f s | find %.3f s | fdfind %.3f s | bare walk %.3f s (medians)\n' \
        "$mode" "$(column 1)" "$(column 2)" "$(column 3)" "$(column 4)"
    printf '      census/find %.2f | census/fdfind %.2f | census/bare %.2f (medians of the rounds'"'"' ratios)\n' \
        "$(ratio 2)" "$(ratio 3)" "$(ratio 4)"
}

echo "$rounds rounds, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), tree $tree"
if can_drop; then measure cold; else echo "cold: cannot drop the page cache here (needs root)"; fi
measure warm
echo "load $(cut -d' ' -f1-3 /proc/loadavg)"
"$bench" walk "$tree"
"$bench" walk "$many"
bench/first-census.sh "$work" "$rounds"
