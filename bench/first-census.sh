#!/usr/bin/env bash
# The first census after a package change reads dpkg's lists again; the next ones take what was
# read from the user's cache. Times both on the benchmark tree (warm page cache, best of several
# runs each, wall clock and processor time), gives the peak resident memory of each, the time the
# lists add and the ratio.
# Usage: bench/first-census.sh [work folder] [runs]   (needs build/bench/census_bench)
set -euo pipefail
cd "$(dirname "$0")/.."
bench=build/bench/census_bench
work=${1:-$(mktemp -d /tmp/vidor-bench-XXXXXX)}
runs=${2:-5}
tree=$work/tree
cache=$work/first-census-cache
[ -d "$tree" ] || "$bench" build "$tree" >/dev/null

census() {  # one census of the tree: "<seconds> <processor seconds> <peak MB>"
  XDG_CACHE_HOME=$cache "$bench" walk "$tree" |
    sed -n 's/^census: \([0-9.]*\) s (processor \([0-9.]*\) s).*peak \([0-9]*\) MB resident$/\1 \2 \3/p'
}
runs() {  # $runs censuses, each after $1: the best of each time, the highest peak
  for _ in $(seq "$runs"); do "$1"; census; done |
    awk 'NR == 1 || $1 < t { t = $1 } NR == 1 || $2 < p { p = $2 } $3 > m { m = $3 }
         END { printf "%.3f %.3f %d\n", t, p, m }'
}
forget() { rm -rf "$cache"; }
keep() { :; }

census >/dev/null  # warms the page cache: the tree and dpkg's lists
read -r lists lists_cpu lists_mb < <(runs forget)
census >/dev/null  # leaves the cache
read -r cached cached_cpu cached_mb < <(runs keep)
rm -rf "$cache"
printf 'first census (dpkg lists read) %.3f s, processor %.3f s, %d MB | with the cache %.3f s, processor %.3f s, %d MB\n' \
  "$lists" "$lists_cpu" "$lists_mb" "$cached" "$cached_cpu" "$cached_mb"
awk -v a="$lists" -v b="$cached" -v c="$lists_cpu" -v d="$cached_cpu" \
  'BEGIN { printf "      lists add %.3f s (processor %.3f s) | first/cached %.2f\n", a - b, c - d, a / b }'
