#!/usr/bin/env bash
# Times the census against find, fd and a bare single-threaded walker on the same tree, with the
# page cache dropped before each run (cold: only as root where the machine allows it) and then
# warm, and prints the ratios; then checks the memory of a census that lists 100,000 files, and
# times the first census after a package change (bench/first-census.sh).
# Usage: bench/compare.sh [work folder] [runs]
# (needs build/bench/census_bench and build/bench/bare_walk; installs fd-find)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps fd-find >/dev/null
bench=build/bench/census_bench
bare=build/bench/bare_walk
work=${1:-$(mktemp -d /tmp/vidor-bench-XXXXXX)}
runs=${2:-5}
tree=$work/tree
many=$work/many

[ -d "$tree" ] || "$bench" build "$tree" >/dev/null
[ -d "$many" ] || "$bench" build "$many" 100000 >/dev/null

can_drop() { [ "$(id -u)" -eq 0 ] && sync && echo 3 2>/dev/null >/proc/sys/vm/drop_caches; }
drop() { sync; echo 3 >/proc/sys/vm/drop_caches; }

best() {  # best wall time of $runs runs of a command, in seconds; $1 is cold or warm
  local mode=$1 best=999999
  shift
  for _ in $(seq "$runs"); do
    if [ "$mode" = cold ]; then drop; else "$@" >/dev/null 2>&1; fi
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    best=$(awk -v s="$start" -v e="$end" -v b="$best" 'BEGIN { t = e - s; print (t < b) ? t : b }')
  done
  echo "$best"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

measure() {  # prints one line of times and ratios for a mode
  local mode=$1
  local census find_time fd_time bare_time
  census=$(best "$mode" "$bench" walk "$tree")
  find_time=$(best "$mode" find "$tree" -xdev -name '*.tmp')
  fd_time=$(best "$mode" fdfind --no-ignore --hidden --one-file-system -e tmp . "$tree")
  bare_time=$(best "$mode" "$bare" "$tree")
  printf '%-5s census %.3f s | find %.3f s | fdfind %.3f s | bare walk %.3f s\n' \
    "$mode" "$census" "$find_time" "$fd_time" "$bare_time"
  printf '      census/find %s | census/fdfind %s | census/bare %s\n' \
    "$(ratio "$census" "$find_time")" "$(ratio "$census" "$fd_time")" \
    "$(ratio "$census" "$bare_time")"
}

echo "best of $runs runs, $(nproc) cores, tree $tree"
if can_drop; then measure cold; else echo "cold: cannot drop the page cache here (needs root)"; fi
measure warm
"$bench" walk "$tree"
"$bench" walk "$many"
bench/first-census.sh "$work" "$runs"
