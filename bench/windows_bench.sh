#!/bin/bash
# The Windows build beside the native game, under Wine (a stand-in for
# Windows: its figures say how the build behaves here, not on a Windows PC):
#  - the zip's and the installer's size;
#  - CPU a frame replaying the same golden replay: native kavrix against
#    kavrix.exe under Wine, each less the CPU of a run of one frame;
#  - start-up to the first presented frame under Wine, windowed (Xvfb) and
#    headless: the stage program's "start" scene (as bench/startup.sh runs
#    it natively), timed from just before `wine` is started, so Wine's own
#    start is in it. Medians of RUNS.
#   bench/windows_bench.sh NATIVE_BUILD WINDOWS_BUILD [REPLAY] [RUNS]
# The Windows build is optimised as a Release build is (-O3): compare it with
# a native Release build (the "release" preset, build-release), with DATA
# naming a folder of generated data when that build has none (build/data).
# Needs Xvfb (Debian: xvfb) for the windowed figure. XVFB_DISPLAY=:96.
set -euo pipefail
native=$(cd "$1" && pwd) windows=$(cd "$2" && pwd)
replay=${3:-$(dirname "$0")/../tests/replays/level9.replay}
runs=${4:-7}
display=${XVFB_DISPLAY:-:96}
data=$(cd "${DATA:-$native/data}" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kavrix-winbench-XXXXXX")
xvfb=""
export WINEPREFIX=$windows/wine-prefix-bench WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "Sizes:"
for f in "$windows"/kavrix-*-windows-x64.zip "$windows"/kavrix-*-setup.exe "$windows"/Kavrix/kavrix.exe; do
  printf '  %-34s %9d bytes (%.2f MB)\n' "$(basename "$f")" "$(stat -c %s "$f")" "$(echo "$(stat -c %s "$f") / 1000000" | bc -l)"
done

# CPU seconds (user + system) of a command and its children.
cpu() {
  local saves; saves=$(mktemp -d "$work/saves-XXXXXX")
  /usr/bin/time -f '%U %S' -o "$work/time" "$@" --save-dir "$saves" >/dev/null 2>&1 || true
  awk '{ printf "%.3f", $1 + $2 }' "$work/time"
}
(unset DISPLAY; wineboot -i >/dev/null 2>&1; wineserver -w)
frames=$(awk '$1 == "hash" { f = $2 } END { print f }' "$replay")
echo "CPU per frame, $(basename "$replay") ($frames frames), load $(cut -d' ' -f1 /proc/loadavg):"
for which in native wine; do
  case $which in
    native) run=("$native/kavrix") ;;
    wine) run=(env -u DISPLAY wine "$windows/Kavrix/kavrix.exe") ;;
  esac
  best_full="" best_start=""
  for _ in 1 2 3; do
    full=$(cpu "${run[@]}" --headless --data "$data" --replay "$replay")
    start=$(cpu "${run[@]}" --headless --data "$data" --frames 1)
    best_full=$(echo "$full $best_full" | awk '{ print ($2 == "" || $1 < $2) ? $1 : $2 }')
    best_start=$(echo "$start $best_start" | awk '{ print ($2 == "" || $1 < $2) ? $1 : $2 }')
  done
  per=$(echo "$best_full $best_start $frames" | awk '{ printf "%.4f", ($1 - $2) * 1000 / $3 }')
  eval "${which}_per=$per"
  printf '  %-7s %s ms a frame (whole run %s s CPU, start-up %s s)\n' "$which" "$per" "$best_full" "$best_start"
done
echo "  ratio   $(echo "$wine_per $native_per" | awk '{ printf "%.2f", $1 / $2 }') (Wine / native)"

# One start: "exec-to-main main-to-frame total" in milliseconds.
once() {
  bash -c 'echo "exec $EPOCHREALTIME"; exec wine "$@"' _ "$windows/bench/kavrix-stage.exe" start \
      --data "$data" --save-dir "$work" "$@" 2>/dev/null | tr -d '\r' | awk '
        /^exec / { split($2, t, /[.,]/); exec_us = t[1] * 1000000 + t[2] }
        /^start-up:/ { printf "%.1f %.1f %.1f\n", ($3 - exec_us) / 1000, ($7 - $3) / 1000, ($7 - exec_us) / 1000 }'
}
[ -x "$windows/bench/kavrix-stage.exe" ] || [ -f "$windows/bench/kavrix-stage.exe" ] ||
  { echo "windows_bench: $windows/bench/kavrix-stage.exe not built (KAVRIX_BENCH)" >&2; exit 2; }
echo "Start-up to the first presented frame under Wine, $runs runs (Wine already running, files cached):"
for mode in headless window; do
  if [ $mode = window ]; then
    command -v Xvfb >/dev/null || { echo "  window: Xvfb is not installed (Debian: xvfb)"; continue; }
    # A display run must not share a running wineserver started without one.
    wineserver -w
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    sleep 1
    export DISPLAY=$display
    args=(--window)
  else
    unset DISPLAY
    args=(--headless --frames 1)
  fi
  once "${args[@]}" >/dev/null  # Wine's server up, the files cached
  : >"$work/$mode"
  for _ in $(seq "$runs"); do once "${args[@]}" >>"$work/$mode"; done
  [ -s "$work/$mode" ] || { echo "  $mode: no run reported its first frame"; continue; }
  printf '  %-8s median %s ms (exec to main %s ms, main to frame %s ms)\n' "$mode" \
    "$(cut -d' ' -f3 "$work/$mode" | median)" "$(cut -d' ' -f1 "$work/$mode" | median)" \
    "$(cut -d' ' -f2 "$work/$mode" | median)"
done
