# Sourced by the scripts that run Windows programs under Wine: a work folder, an X server of its
# own when asked, a Wine prefix kept from one run to the next, and everything stopped at the end.
# Before sourcing: prefix=<Wine prefix folder>.
export WINEPREFIX
WINEPREFIX=$(realpath -m "$prefix")
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export PATH=/usr/lib/wine:$PATH
work=$(mktemp -d /tmp/vidor-wine.XXXXXX)
# Wine's recycle bin is the freedesktop trash of the user: this one.
export XDG_DATA_HOME=$work/data
mkdir -p "$XDG_DATA_HOME"
cd "$work" # a folder Wine can reach

xvfb_pid=
wm_pid=
cleanup() {
    # The Wine server goes first: it must not outlive the X server it draws on.
    timeout 20 wineserver -k >/dev/null 2>&1 || true
    timeout 20 wineserver -w >/dev/null 2>&1 || true
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    [ -f "$work/err" ] && sed 's/^/  stderr: /' "$work/err" >&2
    exit 1
}

start_screen() {
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    export DISPLAY=:$(cat "$work/display")
}

# The prefix, made once; one Wine server for every run, its output sent away so that it holds no
# caller's pipe; no drive that leads to the Unix root, so that nothing but the test's folders can
# be listed or removed.
start_wine() {
    mkdir -p "$WINEPREFIX"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        timeout 180 wine64 wineboot -i </dev/null >/dev/null 2>&1 || fail "no Wine prefix"
        # The services that made the prefix still run, with the drives they found then: the
        # test's drives, made next, would not be seen until they end.
        timeout 20 wineserver -k >/dev/null 2>&1 || true
        timeout 20 wineserver -w >/dev/null 2>&1 || true
    fi
    wineserver -p </dev/null >/dev/null 2>&1 || true
    rm -f "$WINEPREFIX/dosdevices/z:"
    add_wine_fonts
}

# Debian's Wine does not find the fonts it ships (fonts-wine, in its data folder): a face asked
# for, such as MS Sans Serif, then comes from the Linux fonts, where a bold caption at 8 points is
# drawn with strokes as thin as normal ones. Where Windows keeps its fonts, Wine finds them.
add_wine_fonts() {
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    mkdir -p "$fonts"
    for font in /usr/share/wine/fonts/*; do
        [ -e "$fonts/${font##*/}" ] || ln -s "$font" "$fonts/"
    done
}
