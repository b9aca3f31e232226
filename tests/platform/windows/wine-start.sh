#!/bin/sh
# Starts the Wine server the tests share, in the prefix named by WINEPREFIX (made if missing),
# and makes the trash of XDG_DATA_HOME.
exec </dev/null >/dev/null 2>&1
set -e
mkdir -p "$WINEPREFIX" "$XDG_DATA_HOME/Trash/files" "$XDG_DATA_HOME/Trash/info"
/usr/lib/wine/wineserver -p
/usr/lib/wine/wine64 wineboot -i
