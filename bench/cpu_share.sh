#!/bin/bash
# The game's CPU share in a window, beside Project: Starfighter's in the same
# display: Xvfb, then kavrix-stage holding each scene (the menu with static
# noise, level 1, level 3 around its busiest moment, the mother ship battle)
# while Starfighter runs its title attraction. After a warm-up, every thread's
# CPU time of both processes is read from /proc (schedstat, nanoseconds) for
# the same interval; printed as % of one core, per process and per thread.
#
#   bench/cpu_share.sh [BUILD_DIR] [-- extra kavrix options, e.g. --renderer gpu]
#   WARMUP=3 MEASURE=8 SCENES="menu level1 level3 mothership" XVFB_DISPLAY=:97
#   SCREEN=1280x1024 VIEW=--window (VIEW=--fullscreen SCREEN=1920x1080: the
#   game full screen, its picture scaled to the screen)
#
# Needs xvfb; starfighter (Debian package) is optional. Install both only to
# run this bench: the game does not need them.
set -euo pipefail

build=${1:-build}
[ $# -gt 0 ] && shift
[ "${1:-}" = "--" ] && shift
extra=("$@")
warmup=${WARMUP:-3}
measure=${MEASURE:-8}
scenes=${SCENES:-menu level1 level3 mothership}
display=${XVFB_DISPLAY:-:97}
screen=${SCREEN:-1280x1024}
view=${VIEW:---window}
stage=$build/kavrix-stage
starfighter=$(command -v starfighter || echo /usr/games/starfighter)

[ -x "$stage" ] || { echo "cpu_share: $stage not found (build the kavrix_stage target)" >&2; exit 2; }
command -v Xvfb >/dev/null || { echo "cpu_share: Xvfb not found (apt-get install xvfb)" >&2; exit 2; }

work=$(mktemp -d)
pids=()
# Starfighter does not always end on SIGTERM: it gets SIGKILL after a second.
stop() {
    kill "$1" 2>/dev/null || return 0
    for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
cleanup() {
    local p
    for p in "${pids[@]}"; do stop "$p"; done
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 "${screen}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
sleep 1
export DISPLAY=$display
# Both games mix sound into SDL's dummy device, so mixing is counted as on a
# machine with a sound card.
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# The game's own settings file and saves stay out of the player's folders.
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

# One line per thread: "tid name nanoseconds".
sample() {
    local pid=$1 t
    for t in /proc/"$pid"/task/*; do
        [ -r "$t/schedstat" ] || continue
        printf '%s %s %s\n' "${t##*/}" "$(tr ' ' '_' <"$t/comm")" "$(cut -d' ' -f1 "$t/schedstat")"
    done
}

# Per-thread shares over the interval (threads of one name added up), then
# the whole process. Prints "total" last.
shares() {
    local before=$1 after=$2 seconds=$3
    awk -v s="$seconds" '
        NR == FNR { start[$1] = $3; next }
        { used = $3 - (($1 in start) ? start[$1] : 0); byName[$2] += used; count[$2]++; total += used }
        END {
            for (n in byName) printf "    %-18s %6.1f %%%s\n", n, byName[n] / s / 1e7, (count[n] > 1 ? "  (" count[n] " threads)" : "")
            printf "total %.1f\n", total / s / 1e7
        }' "$before" "$after" | sort -k2,2nr
}

sf=""
if [ -x "$starfighter" ]; then
    (cd "$work" && exec "$starfighter") >"$work/starfighter.log" 2>&1 &
    sf=$!
    pids+=("$sf")
    # Without a window manager the window under the pointer has the focus: the
    # game's window, opened later at the same place, comes on top and gets it
    # (the game's frames stop while it is out of focus).
    sleep 2
else
    echo "cpu_share: starfighter is not installed; only the game is measured" >&2
fi

printf '%-11s %10s %14s %7s\n' scene "kavrix %" "starfighter %" ratio
report=""
for scene in $scenes; do
    mkdir -p "$work/$scene"
    "$stage" "$scene" --data "$build/data" "$view" --save-dir "$work/$scene" "${extra[@]}" \
        >"$work/$scene/out.txt" 2>&1 &
    game=$!
    pids+=("$game")
    sleep "$warmup"
    sample "$game" >"$work/g0"
    [ -n "$sf" ] && sample "$sf" >"$work/s0"
    sleep "$measure"
    sample "$game" >"$work/g1"
    [ -n "$sf" ] && sample "$sf" >"$work/s1"
    stop "$game"

    gameShares=$(shares "$work/g0" "$work/g1" "$measure")
    gameTotal=$(sed -n 's/^total //p' <<<"$gameShares")
    sfTotal="-" ratio="-" sfShares=""
    if [ -n "$sf" ]; then
        sfShares=$(shares "$work/s0" "$work/s1" "$measure")
        sfTotal=$(sed -n 's/^total //p' <<<"$sfShares")
        ratio=$(awk -v a="$gameTotal" -v b="$sfTotal" 'BEGIN { printf (b > 0 ? "%.2f" : "-"), a / b }')
    fi
    printf '%-11s %10s %14s %7s\n' "$scene" "$gameTotal" "$sfTotal" "$ratio"
    report+="$scene, kavrix threads:"$'\n'"$(grep -v '^total' <<<"$gameShares" || true)"$'\n'
    [ -n "$sf" ] && report+="$scene, starfighter threads:"$'\n'"$(grep -v '^total' <<<"$sfShares" || true)"$'\n'
done
printf '\n%s' "$report"
