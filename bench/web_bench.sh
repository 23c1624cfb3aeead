#!/bin/bash
# The browser build beside the native game, in one run:
#  - CPU per frame replaying the same golden replay: native kavrix against
#    the WebAssembly build under node (kavrix-headless.js), each less the CPU
#    of a run of one frame (start-up: loading, and for node compiling the wasm);
#  - the download: every file of the site (the game, its data, the page, its
#    icons, licences and service worker), as sent with gzip -9 and with
#    brotli (when the brotli tool is installed);
#  - the time from page load to the first drawn frame in headless Chromium
#    (the page's own report; median of RUNS).
#   bench/web_bench.sh NATIVE_BUILD WEB_BUILD [REPLAY] [RUNS]
# (KAVRIX_WEB_NOSIMD_BUILD=DIR adds a browser build without SIMD to the first.)
set -euo pipefail
native=$(cd "$1" && pwd) web=$(cd "$2" && pwd)
replay=${3:-$(dirname "$0")/../tests/replays/level9.replay}
runs=${4:-5}
site=$web/site
work=$(mktemp -d "${TMPDIR:-/tmp}/kavrix-webbench-XXXXXX")
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT

# CPU seconds (user + system) of a command, from bash's times of a subshell.
cpu() {
  local saves; saves=$(mktemp -d "$work/saves-XXXXXX")
  /usr/bin/time -f '%U %S' -o "$work/time" "$@" --save-dir "$saves" >/dev/null 2>&1 || true
  awk '{ printf "%.3f", $1 + $2 }' "$work/time"
}
frames=$(awk '$1 == "hash" { f = $2 } END { print f }' "$replay")
echo "CPU per frame, $(basename "$replay") ($frames frames), load $(cut -d' ' -f1 /proc/loadavg):"
builds=(native web)
# A second browser build made with -DKAVRIX_WEB_SIMD=OFF, when named, shows what SIMD brings.
[ -n "${KAVRIX_WEB_NOSIMD_BUILD:-}" ] && builds+=(web_nosimd)
for which in "${builds[@]}"; do
  case $which in
    native) run=("$native/kavrix") ;;
    web) run=("$web/kavrix-headless") ;;
    web_nosimd) run=("$KAVRIX_WEB_NOSIMD_BUILD/kavrix-headless") ;;
  esac
  best_full="" best_start=""
  for _ in 1 2 3; do
    full=$(cpu "${run[@]}" --headless --data "$native/data" --replay "$replay")
    start=$(cpu "${run[@]}" --headless --data "$native/data" --frames 1)
    best_full=$(echo "$full $best_full" | awk '{ print ($2 == "" || $1 < $2) ? $1 : $2 }')
    best_start=$(echo "$start $best_start" | awk '{ print ($2 == "" || $1 < $2) ? $1 : $2 }')
  done
  per=$(echo "$best_full $best_start $frames" | awk '{ printf "%.4f", ($1 - $2) * 1000 / $3 }')
  eval "${which}_per=$per"
  printf '  %-10s %s ms a frame (whole run %s s CPU, start-up %s s)\n' "$which" "$per" "$best_full" "$best_start"
done
echo "  ratio      $(echo "$web_per $native_per" | awk '{ printf "%.2f", $1 / $2 }') (web / native)"
[ -n "${KAVRIX_WEB_NOSIMD_BUILD:-}" ] &&
  echo "  ratio      $(echo "$web_nosimd_per $native_per" | awk '{ printf "%.2f", $1 / $2 }') (web without SIMD / native)"

echo "Download (every file of the site: what the page and its service worker fetch on a first visit):"
mapfile -t files < <(cd "$site" && find . -type f | sed 's|^\./||' | sort)
total_raw=0 total_gz=0 total_br=0
for f in "${files[@]}"; do
  raw=$(stat -c %s "$site/$f")
  gz=$(gzip -9 -c "$site/$f" | wc -c)
  br=$(command -v brotli >/dev/null && brotli -q 11 -c "$site/$f" | wc -c || echo 0)
  printf '  %-32s %9d bytes, gzip %9d, brotli %9d\n' "$f" "$raw" "$gz" "$br"
  total_raw=$((total_raw + raw)) total_gz=$((total_gz + gz)) total_br=$((total_br + br))
done
printf '  %-32s %9d bytes, gzip %9d, brotli %9d (%.2f / %.2f / %.2f MB of 10^6 bytes)\n' all "$total_raw" \
  "$total_gz" "$total_br" "$(echo "$total_raw / 1000000" | bc -l)" "$(echo "$total_gz / 1000000" | bc -l)" \
  "$(echo "$total_br / 1000000" | bc -l)"

echo "Page load to the first drawn frame, headless Chromium, $runs runs:"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port" >/dev/null 2>&1 &
server=$!
sleep 1
times=()
for i in $(seq "$runs"); do
  log=$work/chromium-$i.log
  chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --autoplay-policy=no-user-gesture-required \
    --user-data-dir="$work/profile-$i" --window-size=1024,768 --enable-logging=stderr --v=0 \
    --remote-debugging-port=0 "http://127.0.0.1:$port/index.html?autostart" 2>"$log" &
  browser=$!
  for _ in $(seq 120); do grep -q 'first frame drawn' "$log" && break; sleep 0.5; done
  kill "$browser" 2>/dev/null; wait "$browser" 2>/dev/null || true
  ms=$(sed -n 's/.*first frame drawn \([0-9]*\) ms.*/\1/p' "$log" | head -1)
  [ -n "$ms" ] && times+=("$ms") && sed -n 's/.*"Kavrix: \(first frame drawn[^"]*\)".*/    \1/p' "$log" | head -1
done
if [ ${#times[@]} -gt 0 ]; then
  sorted=$(printf '%s\n' "${times[@]}" | sort -n | tr '\n' ' ')
  median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
  echo "  median $median ms (runs: $sorted)"
else
  echo "  no run drew a frame"
fi
