#!/bin/bash
# The browser build in a real browser: headless Chromium opens the page
# served on 127.0.0.1, which plays an input script (from the intro to the
# menu, a new game started by clicks and typing, into level 1) and prints the
# game's hash lines (frame, state hash, screen hash) on its console; they must
# equal the native headless game's for the same script. The page then reloads
# and must still hold the saved files written before the reload.
#   browser_test.sh SITE_DIR NATIVE_KAVRIX DATA_DIR SCRIPT FRAMES
set -euo pipefail
site=$1 kavrix=$2 data=$3 script=$4 frames=$5
work=$(mktemp -d "${TMPDIR:-/tmp}/kavrix-browser-XXXXXX")
server="" browser=""
cleanup() {
  [ -n "$browser" ] && kill "$browser" 2>/dev/null || true
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The native game's hash lines for the same script, and its state at the end.
mkdir "$work/native-saves"
"$kavrix" --headless --data "$data" --save-dir "$work/native-saves" --input "$script" --frames "$frames" \
  --record "$work/native.rec" --dump-state "$work/native.json" >/dev/null
grep '^hash ' "$work/native.rec" > "$work/native.hashes"
grep -q '"CurrentScene": *"HlavniHra"' "$work/native.json" ||
  { echo "the script does not reach a game in $frames frames natively"; exit 1; }

# The site with the script beside it, served on a free loopback port.
mkdir "$work/site"
for f in "$site"/*; do ln -s "$(cd "$(dirname "$f")" && pwd)/$(basename "$f")" "$work/site/"; done
# Czech whatever the browser's languages, as the native game plays it.
{ echo "language cs"; cat "$script"; } > "$work/site/test.input"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$work/site" "$port" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/index.html')" 2>/dev/null && break
  sleep 0.2
done

chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
  --disable-component-update --disable-sync --autoplay-policy=no-user-gesture-required \
  --user-data-dir="$work/profile" --window-size=1024,768 --enable-logging=stderr --v=0 --remote-debugging-port=0 \
  "http://127.0.0.1:$port/index.html?test=test.input&frames=$frames" 2>"$work/chromium.log" &
browser=$!
# Real time: the page plays at 62.5 frames a second, then reloads.
deadline=$(( $(date +%s) + 60 + frames / 20 ))
until grep -q 'kavrix-test: done' "$work/chromium.log"; do
  if [ "$(date +%s)" -gt "$deadline" ] || ! kill -0 "$browser" 2>/dev/null; then
    echo "the page did not finish; its console:"
    grep -a 'CONSOLE' "$work/chromium.log" | tail -30
    exit 1
  fi
  sleep 1
done
console() { grep -a 'CONSOLE' "$work/chromium.log" | sed -n 's/.*"\(kavrix-test: [^"]*\)".*/\1/p'; }
console | sed -n 's/^kavrix-test: \(hash .*\)/\1/p' > "$work/browser.hashes"
grep -a 'first frame drawn' "$work/chromium.log" | sed 's/.*"\(Kavrix[^"]*\)".*/\1/' | head -1

status=0
if ! console | grep -qx 'kavrix-test: exit 0'; then
  echo "the game in the page did not end well:"; console; status=1
fi
if ! diff "$work/native.hashes" "$work/browser.hashes" >/dev/null; then
  echo "the browser's hashes differ from the native game's (native <, browser >):"
  diff "$work/native.hashes" "$work/browser.hashes" || true
  status=1
else
  echo "$(wc -l < "$work/browser.hashes") hash lines equal to the native game's, the last: $(tail -1 "$work/browser.hashes")"
fi
before=$(console | sed -n 's/^kavrix-test: before-reload save //p')
after=$(console | sed -n 's/^kavrix-test: after-reload save //p')
if [ -z "$before" ] || ! echo "$before" | grep -q '^profily.lev '; then
  echo "no profile was saved before the reload:"; console; status=1
elif [ "$before" != "$after" ]; then
  echo "the saves changed across the reload: before"; echo "$before"; echo "after"; echo "$after"; status=1
else
  echo "saves kept across the reload:"; echo "$after"
fi
exit $status
