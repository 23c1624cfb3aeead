#!/bin/bash
# Start-up to the first presented frame, windowed (under Xvfb) and headless,
# with a warm file cache: kavrix-stage's "start" scene is started RUNS times
# (11 by default) from a shell that notes the time just before exec, and
# prints when main began and when the first frame was presented. Medians are
# printed, then the loading steps one by one (kavrix-stage pieces).
#
#   bench/startup.sh [BUILD_DIR]   RUNS=11 XVFB_DISPLAY=:95
set -euo pipefail
build=${1:-build}
runs=${RUNS:-11}
display=${XVFB_DISPLAY:-:95}
stage=$build/kavrix-stage
[ -x "$stage" ] || { echo "startup: $stage not found (build the kavrix_stage target)" >&2; exit 2; }
work=$(mktemp -d)
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; wait $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
export DISPLAY=$display SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

# One run: "exec-to-main main-to-frame total process-cpu main-thread-cpu" in
# milliseconds. CPU times hold up on a shared machine; wall times do not.
once() {
    bash -c 'echo "exec $EPOCHREALTIME"; exec "$@"' _ "$stage" start --data "$build/data" --save-dir "$work" "$@" \
        2>/dev/null | awk '
            /^exec / { split($2, t, /[.,]/); exec_us = t[1] * 1000000 + t[2] }
            /^start-up:/ { printf "%.1f %.1f %.1f %.1f %.1f\n", ($3 - exec_us) / 1000, ($7 - $3) / 1000, ($7 - exec_us) / 1000,
                                              $9 / 1000, $11 / 1000 }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for mode in window headless; do
    args=(--window)
    [ $mode = headless ] && args=(--headless --frames 1)
    once "${args[@]}" >/dev/null  # the file cache warmed
    : >"$work/$mode"
    for _ in $(seq "$runs"); do once "${args[@]}" >>"$work/$mode"; done
    printf '%-8s to first presented frame: median %s ms (program loading %s ms, main to frame %s ms) over %s runs\n' \
        "$mode" "$(cut -d' ' -f3 "$work/$mode" | median)" "$(cut -d' ' -f1 "$work/$mode" | median)" \
        "$(cut -d' ' -f2 "$work/$mode" | median)" "$runs"
    printf '%-8s CPU used by then: process %s ms, main thread %s ms (medians)\n' "$mode" \
        "$(cut -d' ' -f4 "$work/$mode" | median)" "$(cut -d' ' -f5 "$work/$mode" | median)"
done
echo "steps, windowed:"
"$stage" pieces "$build/data" window
