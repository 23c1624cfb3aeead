#!/bin/bash
# The page when something goes wrong, in headless Chromium driven by
# page_driver.py:
#  - storage that refuses writes (as a full quota does: the browser aborts
#    the write's transaction): a profile is saved first; then, with every
#    write refused, the menu's quit saves the settings. The refusal is told
#    once on the page, the game ends well, and after a reload the profile is
#    as it was and the refused file is not there;
#  - a damaged saved file: the page tells the player which file, as the
#    desktop's message box does, and the game runs on its defaults;
#  - a browser without WebAssembly, and a data file the server does not have:
#    the page says so in words, naming the file.
#   page_trouble_test.sh SITE_DIR WHOLE_GAME_REPLAY
set -euo pipefail
site=$1 replay=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kavrix-storage-XXXXXX")
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT

mkdir "$work/site"
for f in "$site"/*; do ln -s "$(cd "$(dirname "$f")" && pwd)/$(basename "$f")" "$work/site/"; done
# In Czech whatever the browser's languages.
{ echo "language cs"; grep -v '^hash\|^end' "$replay"; } > "$work/site/profile.input"   # to a new profile, saved
# From the menu the quit button and its "Ano": the settings are saved on the way out.
printf 'language cs\nseed 5\n399 type 32\n420 move 697 298\n421 click\n440 move 300 480\n441 click\n' \
  > "$work/site/quit.input"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$work/site" "$port" >/dev/null 2>&1 &
server=$!
sleep 1
page="http://127.0.0.1:$port/index.html"
# Every IndexedDB write's transaction is aborted, as the browser does when the quota is full.
refuse='(function () { var put = IDBObjectStore.prototype.put; IDBObjectStore.prototype.put = function () {
  var request = put.apply(this, arguments); this.transaction.abort(); return request; }; })();'

status=0
python3 "$here/page_driver.py" "$page?test=profile.input&frames=700" "wait:kavrix-test: done" \
  "inject:$refuse" "goto:$page?test=quit.input&frames=600" "wait:kavrix-test: done" > "$work/refused.log" 2>&1 || { cat "$work/refused.log"; exit 1; }
saved=$(grep -m1 'after-reload save profily.lev' "$work/refused.log" | sed 's/.*profily.lev //')
before=$(grep 'before-reload save profily.lev' "$work/refused.log" | tail -1 | sed 's/.*profily.lev //')
after=$(grep 'after-reload save' "$work/refused.log" | tail -n +2)
reports=$(grep -c '^console: .*could not be written' "$work/refused.log" || true)
notice=$(sed -n 's/^console: kavrix-test: notice //p' "$work/refused.log")
if ! grep -q 'kavrix-test: exit 0' "$work/refused.log" || [ "$(grep -c 'kavrix-test: exit 0' "$work/refused.log")" -ne 2 ]; then
  echo "a game on the page did not end well:"; grep 'console:' "$work/refused.log"; status=1
elif [ -z "$saved" ] || [ "$after" != "console: kavrix-test: after-reload save profily.lev $saved" ]; then
  echo "with writes refused, the earlier saves changed (first $saved):"; echo "$after"; status=1
elif [ "$reports" -ne 1 ] || [ -z "$notice" ]; then
  echo "the refused write was told $reports times on the console, on the page: $notice"; status=1
else
  echo "writes refused: told once ($notice), the profile kept ($saved, in memory $before), nothing else written"
fi

# A damaged score table planted in IndexedDB, then the game started.
python3 "$here/page_driver.py" "$page" "sleep:6" \
  "eval:Module.FS.writeFile('/saves/skore.lev', new Uint8Array([1, 2, 3])); Module.FS.syncfs(false, function (e) { console.log('kavrix-test: planted ' + e); }); 0" \
  "wait:kavrix-test: planted" "goto:$page?autostart" "wait:first frame drawn" "sleep:2" \
  "eval:document.getElementById('message').hidden ? '' : document.getElementById('message-text').textContent" \
  > "$work/damaged.log" 2>&1 || { cat "$work/damaged.log"; exit 1; }
message=$(sed -n 's/^eval: //p' "$work/damaged.log" | tail -1)
if echo "$message" | grep -q 'skore.lev'; then
  echo "a damaged save is told on the page: $message"
else
  echo "no message names the damaged skore.lev:"; grep -v '^eval: 0' "$work/damaged.log"; status=1
fi

# No WebAssembly; then a site without its data file.
python3 "$here/page_driver.py" "$page" "inject:delete window.WebAssembly;" "goto:$page" "sleep:2" \
  "eval:document.getElementById('problem').textContent" > "$work/nowasm.log" 2>&1 || true
rm "$work/site/kavrix.data"
python3 "$here/page_driver.py" "$page" "sleep:4" "eval:document.getElementById('problem').textContent" \
  > "$work/nodata.log" 2>&1 || true
if ! grep -q '^eval: .*WebAssembly' "$work/nowasm.log"; then
  echo "without WebAssembly the page does not say so:"; cat "$work/nowasm.log"; status=1
elif ! grep -q '^eval: .*kavrix.data: HTTP 404' "$work/nodata.log"; then
  echo "a missing kavrix.data is not named:"; cat "$work/nodata.log"; status=1
else
  echo "without WebAssembly and without kavrix.data the page says so: $(sed -n 's/^eval: //p' "$work/nodata.log")"
fi
exit $status
