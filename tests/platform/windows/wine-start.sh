#!/bin/sh
# Starts the Wine server the tests share, in the prefix named by WINEPREFIX (made if missing).
exec </dev/null >/dev/null 2>&1
set -e
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wineserver -p
/usr/lib/wine/wine64 wineboot -i
