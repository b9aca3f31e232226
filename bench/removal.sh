#!/usr/bin/env bash
# Times the removal of the files a census lists against other tools doing the same on the same
# tree, made afresh before each run: "Effacer" (deleting for good) against find -delete, the move
# to the trash against gio trash, and a whole unattended run of the program (start, census, move
# to the trash) against gio trash. "Effacer" and "Corbeille" are timed from the press of
# "Recenser" to the end of the removal, with a window system that draws nothing; the unattended
# run and the other tools from their start to their end. The trash lies on the tree's volume, as a user's would. Best of
# a few runs each, and the ratios.
# Usage: bench/removal.sh [files] [runs] [work folder]
#   files are spread over one folder per hundred files, with unique names (default 20000)
#   REMOVAL_BENCH and VIDOR name other builds to time (default build/bench/removal_bench and
#   build/Vidor), to compare a change with what it replaces.
# On ext4 without a journal, a file made soon after many were removed costs more (the system
# passes over each recently freed inode): the trash's information files pay it, and gio's, two per
# file, pay it twice. Every run here follows the removal of the tree before it, alike.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps libglib2.0-bin >/dev/null
files=${1:-20000}
runs=${2:-3}
work=${3:-$(mktemp -d /tmp/vidor-removal-XXXXXX)}
bench=$(realpath "${REMOVAL_BENCH:-build/bench/removal_bench}")
vidor=$(realpath "${VIDOR:-build/Vidor}")
tree=$work/tree

export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache
export XDG_RUNTIME_DIR=$work/run VIDOR_UNITES="C=3:$tree"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
build/bench/census_bench settings  # no self-update: the run asks nothing
# Every trial of the program runs in a network namespace of its own (one copy per user).
if [ "$(id -u)" -eq 0 ]; then apart=(unshare -n); else apart=(unshare -rn); fi

fresh() {  # an empty trash and a new tree, written out, so that each run starts alike
  rm -rf "$XDG_DATA_HOME/Trash" "$tree"
  "$bench" build "$tree" "$files" $(( (files + 99) / 100 )) >/dev/null
  sync
}

seconds() {  # wall time of a command, in seconds; fails when the command does
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1 || { echo "removal.sh: failed: $*" >&2; return 1; }
  end=$(date +%s.%N)
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }'
}

inside() {  # the census's and the removal's time as removal_bench tells them, in seconds
  "${apart[@]}" "$bench" "$1" "$tree" | awk '{ printf "%.3f", $2 + $5 }'
}

keep_least() {  # keep_least <variable> <command...>: the variable becomes the least time so far
  local time
  time=$("${@:2}")  # a failure ends the script
  printf -v "$1" '%s' "$(awk -v a="${!1}" -v b="$time" 'BEGIN { print (a < b) ? a : b }')"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

delete=999 find_delete=999 trash=999 gio=999 unattended=999
for _ in $(seq "$runs"); do
  fresh; keep_least delete inside delete
  fresh; keep_least find_delete seconds find "$tree" -name '*.tmp' -delete
  fresh; keep_least trash inside trash
  # gio refuses to trash on a volume it takes for the system's (a tmpfs such as /dev/shm).
  fresh; keep_least gio seconds find "$tree" -name '*.tmp' -exec gio trash {} +
  fresh; keep_least unattended seconds "${apart[@]}" "$vidor" /U:C /E:tmp
done
rm -rf "$XDG_DATA_HOME/Trash" "$tree"

echo "$files files, best of $runs runs, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
printf 'Effacer (census and deletion)  %7.3f s | find -delete %7.3f s | ratio %s\n' \
  "$delete" "$find_delete" "$(ratio "$delete" "$find_delete")"
printf 'Corbeille (census and trash)   %7.3f s | gio trash    %7.3f s | ratio %s\n' \
  "$trash" "$gio" "$(ratio "$trash" "$gio")"
printf 'unattended run to the trash    %7.3f s | gio trash    %7.3f s | ratio %s\n' \
  "$unattended" "$gio" "$(ratio "$unattended" "$gio")"
# The census's and the removal's own shares, once more.
fresh; "${apart[@]}" "$bench" delete "$tree"
fresh; "${apart[@]}" "$bench" trash "$tree"
rm -rf "$XDG_DATA_HOME/Trash" "$tree"
