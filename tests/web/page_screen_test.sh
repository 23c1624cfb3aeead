#!/bin/bash
# The page on screens of every shape, in headless Chromium driven by
# page_driver.py:
#  - the picture fills the largest 4:3 area in device pixels: 1440 x 1080 of
#    a 1920 x 1080 window and of the same screen in full screen, 1024 x 768
#    CSS pixels (1536 x 1152 device pixels) of a 1280 x 768 window at a
#    device pixel ratio of 1.5; the canvas under it holds a whole multiple of
#    the game's pixels, each game pixel a block of equal canvas pixels;
#  - the console: the page's icon is served (no request answered 404), and
#    a game quit from its menu leaves no error on the console.
#   page_screen_test.sh SITE_DIR
set -euo pipefail
site=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kavrix-screen-XXXXXX")
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT

mkdir "$work/site"
for f in "$site"/*; do ln -s "$(cd "$(dirname "$f")" && pwd)/$(basename "$f")" "$work/site/"; done
# From the menu the quit button and its "Ano".
printf 'language cs\nseed 5\n399 type 32\n420 move 697 298\n421 click\n440 move 300 480\n441 click\n' \
  > "$work/site/quit.input"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$work/site" "$port" >"$work/server.log" 2>&1 &
server=$!
sleep 1
page="http://127.0.0.1:$port/index.html"

# Where the picture is (device pixels), its box on the page (CSS pixels) and
# whether the canvas holds whole blocks of equal pixels.
area='(function () {
  var a = Kavrix.view.area(), box = document.getElementById("canvas").getBoundingClientRect();
  var c = document.getElementById("canvas"), f = c.width / 800, d = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
  var blocks = true;
  for (var y = 0; y < c.height; y += 37) for (var x = 0; x < c.width; x += 41) {
    var bx = x - x % f, by = y - y % f, i = 4 * (y * c.width + x), j = 4 * (by * c.width + bx);
    if (d[i] !== d[j] || d[i + 1] !== d[j + 1] || d[i + 2] !== d[j + 2]) blocks = false;
  }
  return a.width + "x" + a.height + " at " + a.x + "," + a.y + " device px, box " + box.width + "x" + box.height +
    " css px, canvas " + c.width + "x" + c.height + (blocks ? " in whole blocks" : " NOT in whole blocks") +
    (document.fullscreenElement ? ", full screen" : "");
})()'
status=0
python3 "$here/page_driver.py" "$page?autostart" "size:1920,1080" "wait:first frame drawn" "sleep:1" "eval:$area" \
  "size:1280,768,1.5" "sleep:1" "eval:$area" \
  "size:1920,1080" "clickon:#fullscreen" "sleep:1" "eval:$area" \
  "goto:$page?test=quit.input&frames=700&reload=no" "wait:kavrix-test: done" "sleep:1" > "$work/screen.log" 2>&1 ||
  { cat "$work/screen.log"; exit 1; }
sed -n 's/^eval: //p' "$work/screen.log" > "$work/areas"
expected='"1440x1080 at 240,0 device px, box 1440x1080 css px, canvas 1600x1200 in whole blocks"
"1536x1152 at 192,0 device px, box 1024x768 css px, canvas 1600x1200 in whole blocks"
"1440x1080 at 240,0 device px, box 1440x1080 css px, canvas 1600x1200 in whole blocks, full screen"'
if [ "$(cat "$work/areas")" != "$expected" ]; then
  echo "the picture does not fill the screen as it should; expected:"; echo "$expected"; echo "got:"
  cat "$work/areas"; status=1
else
  echo "the picture fills the screen:"; cat "$work/areas"
fi

if grep -q '" 404 ' "$work/server.log"; then
  echo "requests answered 404:"; grep '" 404 ' "$work/server.log"; status=1
else
  echo "no request answered 404 ($(grep -c '" 200 \|" 304 ' "$work/server.log") requests)"
fi
if ! grep -q '^console: kavrix-test: exit 0' "$work/screen.log"; then
  echo "the game did not quit from its menu:"; grep '^console' "$work/screen.log" | tail; status=1
elif grep -q '^console-error: ' "$work/screen.log"; then
  echo "errors on the console:"; grep '^console-error: ' "$work/screen.log"; status=1
else
  echo "the game quit from its menu, no error on the console"
fi
exit $status
