#!/bin/bash
# Frame pacing in a window: kavrix-stage plays level 1 under Xvfb for FRAMES
# frames (10000 by default, 160 s) and prints the median and 99th percentile
# interval between frame starts, the count over 17.5 ms and the drift from
# the 16 ms grid over the whole run.
#
#   bench/frame_pacing.sh [BUILD_DIR] [-- extra kavrix options]   FRAMES=10000 SCENE=level1
set -euo pipefail
build=${1:-build}
[ $# -gt 0 ] && shift
[ "${1:-}" = "--" ] && shift
display=${XVFB_DISPLAY:-:96}
work=$(mktemp -d)
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; wait $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
DISPLAY=$display SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} XDG_CONFIG_HOME=$work/config \
    KAVRIX_STAGE_PACING=${FRAMES:-10000} \
    "$build/kavrix-stage" "${SCENE:-level1}" --data "$build/data" --window --save-dir "$work" "$@" 2>"$work/err.txt" ||
    { cat "$work/err.txt" >&2; exit 1; }
