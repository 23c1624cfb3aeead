#!/bin/bash
# What the page remembers, in headless Chromium driven by page_driver.py:
#  - the first language follows the browser's languages: Czech for cs, English
#    for en (the game's recording says "language en");
#  - kavrix.conf lives in IndexedDB beside the saved files: with a key of the
#    player's choosing in it (fire on F), ENGLISH chosen on the help page is
#    written there, and after a reload the game is English and fires on F
#    (its recording holds the game's own key, Space);
#  - hiding the tab and closing it save the sound and music settings (F2
#    turned the sound off) as the desktop's window close does.
#   page_settings_test.sh SITE_DIR
set -euo pipefail
site=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kavrix-settings-XXXXXX")
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT

mkdir "$work/site"
for f in "$site"/*; do ln -s "$(cd "$(dirname "$f")" && pwd)/$(basename "$f")" "$work/site/"; done
printf 'seed 5\n' > "$work/site/nothing.input"
# Escape ends the intro; the help item, then ENGLISH in the page's title bar.
printf 'seed 5\n5 type 27\n20 move 578 298\n21 click\n30 move 724 374\n31 click\n' > "$work/site/english.input"
printf 'seed 5\n5 down F\n9 up F\n' > "$work/site/fire.input"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$work/site" "$port" >/dev/null 2>&1 &
server=$!
sleep 1
page="http://127.0.0.1:$port/index.html"
languages() {
  echo "Object.defineProperty(Navigator.prototype, 'languages', {configurable: true, get: function () { return $1; }});"
}
status=0

# The first language: Czech for a Czech browser, English for an English one.
first=""
for browser in "'cs-CZ', 'en'" "'en-GB', 'cs'"; do
  python3 "$here/page_driver.py" "$page" "inject:$(languages "[$browser]")" \
    "goto:$page?test=nothing.input&frames=20&reload=no" "wait:kavrix-test: done" > "$work/first.log" 2>&1 ||
    { cat "$work/first.log"; exit 1; }
  grep -q '^console: kavrix-test: exit 0' "$work/first.log" || { cat "$work/first.log"; exit 1; }
  first="$first[$browser]: $(grep -q '^console: kavrix-test: language en' "$work/first.log" && echo en || echo cs) "
done
if [ "$first" != "['cs-CZ', 'en']: cs ['en-GB', 'cs']: en " ]; then
  echo "the first language does not follow the browser's: $first"; status=1
else
  echo "the first language follows the browser's: $first"
fi

# kavrix.conf across a reload: a key line planted, the language chosen in the game.
plant="Module.FS.mkdir('/saves/kavrix'); Module.FS.writeFile('/saves/kavrix/kavrix.conf', 'key.fire=F\\n');
Module.FS.syncfs(false, function (e) { console.log('kavrix-test: planted ' + e); }); 0"
python3 "$here/page_driver.py" "$page" "inject:$(languages "['cs']")" "goto:$page" "sleep:4" "eval:$plant" \
  "wait:kavrix-test: planted null" \
  "goto:$page?test=english.input&frames=60" "wait:kavrix-test: done" \
  "goto:$page?test=fire.input&frames=20&reload=no&record=all" "wait:kavrix-test: done" > "$work/reload.log" 2>&1 ||
  { cat "$work/reload.log"; exit 1; }
after=$(sed -n 's/^console: kavrix-test: after-reload settings //p' "$work/reload.log")
if ! echo "$after" | grep -q '^"key.fire=F\\n.*language=en\\n' ||
   ! grep -q '^console: kavrix-test: rec language en' "$work/reload.log" ||
   ! grep -q '^console: kavrix-test: rec 5 down Space' "$work/reload.log"; then
  echo "kavrix.conf did not outlive the reload (after it: $after):"; grep console "$work/reload.log" | tail -20
  status=1
else
  echo "kavrix.conf outlived the reload ($after): the game came back in English, F fires"
fi

# The sound turned off with F2, then the tab hidden: the settings file says so
# at once; then F2 again (on) and the tab closed: after it, the file says on.
sound="Module.FS.readFile('/saves/nastaveni.lev')[0]"
hide="Object.defineProperty(document, 'visibilityState', {configurable: true, get: function () { return 'hidden'; }});
document.dispatchEvent(new Event('visibilitychange')); $sound"
python3 "$here/page_driver.py" "$page?autostart" "wait:first frame drawn" "sleep:1" "key:F2,0.5" "sleep:0.5" \
  "eval:$hide" "sleep:1" "goto:$page?autostart" "wait:first frame drawn" "sleep:1" "key:F2,0.5" "sleep:0.5" "close" \
  "goto:$page" "sleep:5" "eval:$sound" > "$work/leave.log" 2>&1 || { cat "$work/leave.log"; exit 1; }
if [ "$(sed -n 's/^eval: //p' "$work/leave.log" | tr '\n' ' ')" != "0 1 " ]; then
  echo "hiding and closing the tab did not save the sound setting (off, then on):"
  grep -v '^console: Kavrix' "$work/leave.log" | tail; status=1
else
  echo "hiding the tab saved the sound off, closing it the sound on"
fi
exit $status
