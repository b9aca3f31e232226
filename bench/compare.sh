#!/usr/bin/env bash
# Times the census walk against find and fd on the same tree, warm cache, best of 5 runs each,
# and checks the memory of a census that lists 100,000 files.
# Usage: bench/compare.sh [work folder]   (needs build/bench/census_bench; installs fd-find)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps fd-find >/dev/null
bench=build/bench/census_bench
work=${1:-$(mktemp -d /tmp/vidor-bench-XXXXXX)}
tree=$work/tree
many=$work/many

[ -d "$tree" ] || "$bench" build "$tree" >/dev/null
[ -d "$many" ] || "$bench" build "$many" 100000 >/dev/null
find "$tree" >/dev/null   # warm the cache

best() {  # best wall time of 5 runs of a command, in seconds
  local best=999999
  for _ in 1 2 3 4 5; do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    best=$(awk -v s="$start" -v e="$end" -v b="$best" 'BEGIN { t = e - s; print (t < b) ? t : b }')
  done
  echo "$best"
}

census=$(best "$bench" walk "$tree")
find_time=$(best find "$tree" -xdev -name '*.tmp')
fd_time=$(best fdfind --no-ignore --hidden --one-file-system -e tmp . "$tree")

printf 'census %.3f s | find %.3f s | fdfind %.3f s\n' "$census" "$find_time" "$fd_time"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
printf 'census / find   = %s\n' "$(ratio "$census" "$find_time")"
printf 'census / fdfind = %s\n' "$(ratio "$census" "$fd_time")"
"$bench" walk "$tree"
"$bench" walk "$many"
