#!/bin/bash
# Makes the Wine prefix the Windows tests run kavrix.exe in, once (about 6 s
# and 700 MB), so that tests running side by side do not race to make it:
#   wine_prefix.sh PREFIX
set -euo pipefail
export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i
wineserver -w
test -d "$WINEPREFIX/drive_c/windows"
