#!/usr/bin/env bash
# The Debian package of a build tree, on this machine: built by CPack, checked by lintian,
# installed with dpkg, its command run (the version, then an unattended run in a sandbox, which the
# package's machine values let start without a question), removed, then purged with dpkg, and
# nothing of it left behind. The machine ends without the package, whatever fails.
# Usage: debian_package.sh <build folder>
set -euo pipefail
build=$(realpath "$1")
version=6.0.24

if [ "$(id -u)" -ne 0 ]; then
  echo "Skipped: installing a package needs root."
  exit 77
fi

# Every worktree on this machine shares dpkg's database: one run at a time.
exec 9>/tmp/vidor-debian-package-test.lock
flock -w 900 9

work=$(mktemp -d /tmp/vidor-package-XXXXXX)

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# What dpkg knows of the package: installed, config-files, not-installed, or nothing.
package_state() { dpkg-query -W -f='${db:Status-Status}' vidor 2>/dev/null || true; }

# dpkg does not wait: an apt or dpkg of someone else may hold its lock for a while.
run_dpkg() {
  local output
  for _ in $(seq 60); do
    if output=$(dpkg "$@" 2>&1); then
      return 0
    fi
    grep -qi 'lock' <<<"$output" || break
    sleep 5
  done
  echo "$output" >&2
  return 1
}

cleanup() {
  local state
  state=$(package_state)
  if [ -n "$state" ] && [ "$state" != not-installed ]; then
    run_dpkg --purge vidor || echo "Could not remove the package vidor: remove it by hand." >&2
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

state=$(package_state)
if [ -n "$state" ] && [ "$state" != not-installed ]; then
  echo "The package vidor was already here ($state): it is replaced, then removed."
fi
machine_values=/etc/xdg/Brenlo/Brenlo.conf
if [ -e "$machine_values" ] && ! dpkg -S "$machine_values" >/dev/null 2>&1; then
  fail "$machine_values was written by hand: the package would not replace it; move it away"
fi

# Built from the build tree, which the tests run after.
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack could not build the package"; }
deb=$(echo "$work"/out/vidor_"$version"_*.deb)
[ -f "$deb" ] || { cat "$work/cpack.log"; fail "no package vidor_${version}_*.deb"; }

# The libraries come from dpkg-shlibdeps, with their versions.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6svg6; do
  grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: $depends"
done

lintian --fail-on error "$deb" || fail "lintian reports errors"
# An administrator's update folder in the machine values survives upgrades.
dpkg-deb -I "$deb" conffiles | grep -qx "$machine_values" || fail "$machine_values is no conffile"

run_dpkg -i "$deb" || fail "dpkg -i"
[ "$(package_state)" = installed ] || fail "not installed after dpkg -i"
[ -x /opt/brenlo/Vidor ] && [ -x /opt/brenlo/Renovex ] || fail "/opt/brenlo lacks Vidor or Renovex"
[ "$(command -v vidor)" = /usr/bin/vidor ] || fail "the command vidor is not on the PATH"
[ "$(readlink /usr/bin/vidor)" = /opt/brenlo/Vidor ] || fail "/usr/bin/vidor leads elsewhere"
[ "$(LC_ALL=C man -w vidor)" = /usr/share/man/man1/vidor.1.gz ] || fail "no page vidor(1)"

unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
[ "$(vidor --version)" = "Vidor $version" ] || fail "vidor --version: $(vidor --version)"

# An unattended run on a sandbox drive, started as a scheduler would: by the command, no screen.
sandbox=$work/sandbox
mkdir -p "$sandbox"/{c/sub,config,data,cache,runtime}
chmod 700 "$sandbox/runtime"
echo a >"$sandbox/c/a.tmp"
echo b >"$sandbox/c/sub/b.TMP"
echo c >"$sandbox/c/c.txt"
status=0
# A new user: no settings of their own; the machine's are the package's, in /etc/xdg.
env -u XDG_CONFIG_DIRS XDG_CONFIG_HOME=$sandbox/config XDG_DATA_HOME=$sandbox/data \
  XDG_CACHE_HOME=$sandbox/cache XDG_RUNTIME_DIR=$sandbox/runtime VIDOR_UNITES="C=3:$sandbox/c" \
  vidor /U:c /E:tmp 2>"$work/errors.txt" || status=$?
[ "$status" -eq 0 ] || { cat "$work/errors.txt"; fail "the unattended run ended with $status"; }
# The package's "-" for the update folder: nothing asked (the question would be written here).
[ ! -s "$work/errors.txt" ] || fail "the unattended run wrote: $(cat "$work/errors.txt")"
[ "$(ls "$sandbox/data/Trash/files" | sort | tr '\n' ' ')" = "a.tmp b.TMP " ] ||
  fail "the trash holds: $(ls "$sandbox/data/Trash/files")"
[ -f "$sandbox/c/c.txt" ] || fail "c.txt was removed"
# Started as vidor, the program keeps its own name for its settings and its run counter.
grep -qx 'Vidor="1"' "$sandbox/config/Brenlo/Brenlo.conf" ||
  fail "no run counter Vidor: $(cat "$sandbox/config/Brenlo/Brenlo.conf")"

# Removed, the package leaves its conffile; purged, nothing.
run_dpkg -r vidor || fail "dpkg -r"
run_dpkg --purge vidor || fail "dpkg --purge"
state=$(package_state)
[ -z "$state" ] || [ "$state" = not-installed ] || fail "after dpkg --purge the package is $state"
left=()
while read -r entry; do
  path=${entry#.}
  if [ -e "$path" ] || [ -L "$path" ]; then left+=("$path"); fi
done < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$')
for folder in /opt/brenlo /etc/xdg/Brenlo; do
  if [ -e "$folder" ]; then left+=("$folder"); fi
done
[ ${#left[@]} -eq 0 ] || fail "left after dpkg --purge: ${left[*]}"
echo "vidor $version: built, checked, installed, run, removed and purged."
