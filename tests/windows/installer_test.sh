#!/bin/bash
# The installer's round trip in a fresh Wine prefix: the setup installs
# silently (/S) into Program Files with its Start-menu shortcut and its
# uninstall entry; the installed game, started from another folder without
# --data, replays a golden replay hash for hash; the uninstaller (/S) leaves
# Program Files as it was before the install, takes the shortcut and the
# entry away and leaves the player's saves in %APPDATA%\Kavrix.
#   installer_test.sh SETUP.exe REPLAY
set -euo pipefail
setup=$1 replay=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/kavrix-installer-XXXXXX")
export WINEPREFIX=$work/prefix WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "installer_test: $*" >&2; exit 1; }

wineboot -i && wineserver -w
drive=$WINEPREFIX/drive_c
programs="$drive/Program Files"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Kavrix.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kavrix'
listing() { (cd "$programs" && find . | LC_ALL=C sort); }
before=$(listing)

wine "$setup" /S
wineserver -w
[ -f "$programs/Kavrix/kavrix.exe" ] || fail "kavrix.exe is not in Program Files\\Kavrix after the install"
[ -f "$programs/Kavrix/data/video/rakety.lev" ] || fail "the data is not installed"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
wine reg query "$uninstall_key" /v UninstallString | grep -q 'uninstall.exe' || fail "no uninstall entry"
echo "installed: $(cd "$programs/Kavrix" && find . -type f | wc -l) files"

mkdir -p "$work/elsewhere" "$work/saves"
(cd "$work/elsewhere" && wine 'C:\Program Files\Kavrix\kavrix.exe' --headless --save-dir "$work/saves" \
  --replay "$replay") || fail "the installed game did not replay $(basename "$replay") (status $?)"
echo "the installed game replayed $(basename "$replay")"

# A player's saves, where the game keeps them.
appdata=$(find "$drive/users" -maxdepth 3 -path '*/AppData/Roaming' ! -path '*/Public/*' | head -1)
[ -n "$appdata" ] || fail "no AppData\\Roaming in the prefix"
mkdir -p "$appdata/Kavrix" && printf 'profile' > "$appdata/Kavrix/profily.lev"

wine 'C:\Program Files\Kavrix\uninstall.exe' /S
# The uninstaller runs again from a temporary copy and returns at once:
# waiting for the prefix's last process waits for it.
wineserver -w
after=$(listing)
if [ "$before" != "$after" ]; then
  diff <(echo "$before") <(echo "$after") >&2 || true
  fail "Program Files differs from before the install"
fi
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
! wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "the uninstall entry is still there"
[ "$(cat "$appdata/Kavrix/profily.lev")" = profile ] || fail "the player's saves went with the game"
echo "uninstalled: Program Files as before, the saves kept"
