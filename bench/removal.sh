#!/usr/bin/env bash
# Times the removal of the files a census lists against other tools doing the same on the same
# tree, made afresh before each run: "Effacer" (deleting for good) against find -delete, the move
# to the trash against gio trash, and an unattended run of the program (its window, census and
# move to the trash) against gio trash. "Effacer" and "Corbeille" are the program's census and
# removal with a window system that draws nothing (bench/RemovalBench.cpp). Each process is timed
# whole, from its start to its end: the median wall time and the median processor time (user and
# system) of a few runs, and their ratios. On a shared machine the processor times move less.
# Usage: bench/removal.sh [files] [runs] [work folder]
#   files are spread over one folder per hundred files, with unique names (default 20000)
#   REMOVAL_BENCH and VIDOR name other builds to time (default build/bench/removal_bench and
#   build/Vidor), to compare a change with what it replaces; with OTHER_BENCH, each run also times
#   "Effacer" by that other build of removal_bench, right after this one's, so that both meet the
#   machine alike.
# The trash lies on the tree's volume, as a user's would; gio refuses one it takes for the
# system's (a tmpfs such as /dev/shm). On ext4 without a journal a file made soon after many were
# removed costs more (the system passes over each recently freed inode): the trash's information
# files pay it, and gio's, two per file, pay it twice. Every run follows the removal of a tree.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps libglib2.0-bin time >/dev/null
files=${1:-20000}
runs=${2:-3}
work=${3:-$(mktemp -d /tmp/vidor-removal-XXXXXX)}
bench=$(realpath "${REMOVAL_BENCH:-build/bench/removal_bench}")
vidor=$(realpath "${VIDOR:-build/Vidor}")
tree=$work/tree

export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache
export XDG_RUNTIME_DIR=$work/run XDG_STATE_HOME=$work/state VIDOR_UNITES="C=3:$tree"
export HOME=$work  # gio takes the home trash for files of its home's volume
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
build/bench/census_bench settings  # no self-update: the run asks nothing
# Every trial of the program runs in a network namespace of its own (one copy per user).
if [ "$(id -u)" -eq 0 ]; then apart=(unshare -n); else apart=(unshare -rn); fi

fresh() {  # an empty trash and journal, a new tree, written out, so that each run starts alike
  rm -rf "$XDG_DATA_HOME/Trash" "$XDG_STATE_HOME" "$tree"
  "$bench" build "$tree" "$files" $(( (files + 99) / 100 )) >/dev/null
  sync
}

declare -A wall cpu
measure() {  # measure <name> <command...>: adds one wall and one processor time to <name>'s
  local name=$1 seconds user system
  shift
  fresh
  /usr/bin/time -o "$work/time" -f '%e %U %S' "$@" >/dev/null 2>&1 ||
    { echo "removal.sh: failed: $*" >&2; exit 1; }
  read -r seconds user system <"$work/time"
  wall[$name]+="$seconds "
  cpu[$name]+="$(awk -v a="$user" -v b="$system" 'BEGIN { print a + b }') "
}

median() {  # median <numbers...>
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
    print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

line() {  # line <label> <name> <other tool's label> <other's name>
  # shellcheck disable=SC2086 # the times are words
  awk -v l="$1" -v w="$(median ${wall[$2]})" -v c="$(median ${cpu[$2]})" -v o="$3" \
    -v ow="$(median ${wall[$4]})" -v oc="$(median ${cpu[$4]})" 'BEGIN {
      printf "%-30s %6.2f s (cpu %5.2f) | %-12s %6.2f s (cpu %5.2f) | ratio %.2f (cpu %.2f)\n",
        l, w, c, o, ow, oc, w / ow, c / oc }'
}

for _ in $(seq "$runs"); do
  measure delete "${apart[@]}" "$bench" delete "$tree"
  [ -z "${OTHER_BENCH:-}" ] || measure other "${apart[@]}" "$(realpath "$OTHER_BENCH")" delete "$tree"
  measure find find "$tree" -name '*.tmp' -delete
  measure trash "${apart[@]}" "$bench" trash "$tree"
  measure gio find "$tree" -name '*.tmp' -exec gio trash {} +
  measure unattended "${apart[@]}" "$vidor" /U:C /E:tmp
done

echo "$files files, median of $runs runs, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
line 'Effacer (census, deletion)' delete 'find -delete' find
[ -z "${OTHER_BENCH:-}" ] || line 'Effacer (census, deletion)' delete 'other build' other
line 'Corbeille (census, trash)' trash 'gio trash' gio
line 'unattended run to the trash' unattended 'gio trash' gio
# The census's and the removal's own shares, once more.
fresh; "${apart[@]}" "$bench" delete "$tree"
fresh; "${apart[@]}" "$bench" trash "$tree"
rm -rf "$XDG_DATA_HOME/Trash" "$XDG_STATE_HOME" "$tree" "$work/time"
