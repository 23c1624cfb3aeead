#!/bin/bash
# The installable page, in headless Chromium driven by page_driver.py:
#  - the manifest names the game, its icons (served), landscape and full screen;
#  - after a first visit the service worker holds the site's files in a cache
#    named with the site's version; with the network cut in Chromium and the
#    server stopped, the page starts from that cache and the game draws;
#  - a new version (another sw.js) replaces the cache whole;
#  - where service workers are not allowed (their registration refused) the
#    page loads and plays from the network all the same.
#   page_offline_test.sh SITE_DIR
set -euo pipefail
site=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kavrix-offline-XXXXXX")
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT

# A copy of the site (its sw.js is changed below, as a new version would).
cp -rL "$site" "$work/site"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
serve() {
  python3 -m http.server --bind 127.0.0.1 --directory "$work/site" "$port" >>"$work/server.log" 2>&1 &
  server=$!
  echo "$server" > "$work/server.pid"
  sleep 1
}
serve
page="http://127.0.0.1:$port/index.html"
status=0

manifest=$(python3 - "$work/site" <<'EOF'
import json, os, sys
m = json.load(open(os.path.join(sys.argv[1], 'manifest.webmanifest')))
sizes = sorted(i['sizes'] for i in m['icons'] if os.path.isfile(os.path.join(sys.argv[1], i['src'])))
print(m['name'], m['display'], m['orientation'], ' '.join(sizes))
EOF
)
if [ "$manifest" != "Kavrix fullscreen landscape 192x192 any" ]; then
  echo "the manifest is not what an installed game needs: $manifest"; status=1
fi

caches='caches.keys().then(function (k) { console.log("kavrix-test: caches " + JSON.stringify(k)); })'
# The new version's worker removes the older caches after it takes over: the
# list is looked at until the new version's cache is the only one (20 s at
# most). The new worker may take over while the page loaded offline is still
# open (the server is back before the next load), so its message is not
# waited for: that page may say it before the next load clears the console.
settled='(function look(tries) { caches.keys().then(function (k) {
  if ((k.length !== 1 || k[0].indexOf("kavrix next ") !== 0) && tries > 0)
    return setTimeout(function () { look(tries - 1); }, 200);
  console.log("kavrix-test: caches " + JSON.stringify(k)); }); })(100)'
python3 "$here/page_driver.py" "$page?autostart" "wait:first frame drawn" "wait:Kavrix: ready to start offline" \
  "sleep:1" "eval:$caches" "wait:kavrix-test: caches" \
  "offline:on" "run:kill \$(cat $work/server.pid)" "goto:$page?autostart" "wait:first frame drawn" "sleep:2" \
  "eval:navigator.serviceWorker.controller !== null" \
  "run:sed -i 's/^var kVersion = .*/var kVersion = \"next\";/' $work/site/sw.js" \
  "run:cd $work && python3 -m http.server --bind 127.0.0.1 --directory site $port >>server.log 2>&1 & echo \$! > $work/server.pid; sleep 1" \
  "offline:off" "goto:$page?autostart" "wait:first frame drawn" "eval:$settled" \
  "wait:kavrix-test: caches" \
  > "$work/offline.log" 2>&1 || { cat "$work/offline.log"; kill "$(cat "$work/server.pid")" 2>/dev/null; exit 1; }
server=$(cat "$work/server.pid")
version=$(sed -n "s/^var kVersion = '\(.*\)';/\1/p" "$site/sw.js")
listed=$(grep '^console: kavrix-test: caches' "$work/offline.log" | sed 's/.*caches //')
first=$(echo "$listed" | head -1) second=$(echo "$listed" | tail -1)
drawn=$(grep -c 'first frame drawn' "$work/offline.log")
if ! echo "$first" | grep -q "\"kavrix $version http://127.0.0.1:$port/\"" || [ "$drawn" -ne 3 ] ||
   ! grep -q '^eval: true' "$work/offline.log"; then
  echo "the page did not start offline from its cache (caches $first, frames drawn on $drawn loads):"
  grep -v '^console: kavrix-test: rec' "$work/offline.log" | tail -20; status=1
elif [ "$second" != "[\"kavrix next http://127.0.0.1:$port/\"]" ]; then
  echo "a new version did not replace the cache: $second"; status=1
else
  echo "started offline from the cache $first; the next version replaced it: $second"
fi

# Service workers refused (as a private window or an insecure address does).
refuse="navigator.serviceWorker.register = function () {
  return Promise.reject(new DOMException('not allowed here', 'SecurityError')); };"
python3 "$here/page_driver.py" "$page" "inject:$refuse" "goto:$page?autostart" "wait:first frame drawn" \
  "wait:Kavrix: no offline copy" > "$work/refused.log" 2>&1 || { cat "$work/refused.log"; status=1; }
[ $status -eq 0 ] && echo "without service workers the page plays: $(grep -m1 'no offline copy' "$work/refused.log")"
exit $status
