#!/bin/bash
# Re-records the golden replays after an intended change of behaviour:
#   scripts/rerecord-replays.sh BUILD_DIR [REPLAY...]
# Each replay is made again from the options in its "# autopilot:" header
# (the autopilot plays the same seed, difficulty and level anew) and written
# over the old file; then the old and the new hash lines are compared and the
# first frame whose state or screen hash differs is printed, so a reviewer
# sees how far the change reaches. Without REPLAY arguments the whole golden
# set in tests/replays/ is re-recorded. Exit status 0, also when replays
# changed; 1 when one could not be made.
set -euo pipefail
if [ $# -lt 1 ]; then
    echo "usage: $0 BUILD_DIR [REPLAY...]" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "$0")/.." && pwd)
autopilot="$build/kavrix-autopilot"
data="$build/data"
[ -x "$autopilot" ] || { echo "$0: no $autopilot (build the kavrix_autopilot_cmd target)" >&2; exit 1; }
if [ $# -gt 0 ]; then replays=("$@"); else replays=("$here"/tests/replays/*.replay); fi

# Prints "FRAME what" for the first hash line that differs between two
# recordings, or nothing when all agree.
first_difference() {
    awk '
        FNR == NR && $1 == "hash" { old[$2] = $3 " " $4; oldFrames[++n] = $2; next }
        FNR != NR && $1 == "hash" { new[$2] = $3 " " $4; newFrames[++m] = $2 }
        END {
            i = 1; j = 1
            while (i <= n || j <= m) {
                f = (i <= n && (j > m || oldFrames[i] + 0 <= newFrames[j] + 0)) ? oldFrames[i] : newFrames[j]
                if (!(f in old)) { print f, "only in the new recording"; exit }
                if (!(f in new)) { print f, "only in the old recording"; exit }
                split(old[f], o, " "); split(new[f], w, " ")
                if (o[1] != w[1] && o[2] != w[2]) { print f, "state and screen hashes"; exit }
                if (o[1] != w[1]) { print f, "state hash"; exit }
                if (o[2] != w[2]) { print f, "screen hash"; exit }
                if (i <= n && oldFrames[i] == f) i++
                if (j <= m && newFrames[j] == f) j++
            }
        }' "$1" "$2"
}

status=0
for replay in "${replays[@]}"; do
    name=$(basename "$replay")
    options=$(sed -n 's/^# autopilot://p' "$replay" | head -n 1)
    if [ -z "$options" ]; then
        echo "$name: no '# autopilot:' header, left as it is" >&2
        status=1
        continue
    fi
    saves=$(mktemp -d)
    fresh=$(mktemp)
    eval "set -- $options"
    if ! "$autopilot" --data "$data" --save-dir "$saves" --record "$fresh" "$@" > "$fresh.log" 2>&1; then
        echo "$name: the autopilot failed:" >&2
        cat "$fresh.log" >&2
        status=1
        rm -rf "$saves" "$fresh" "$fresh.log"
        continue
    fi
    difference=$(first_difference "$replay" "$fresh")
    frames=$(awk '$1 == "hash" { f = $2 } END { print f }' "$fresh")
    if [ -z "$difference" ]; then
        echo "$name: unchanged ($frames frames)"
    else
        echo "$name: CHANGED, first difference after frame ${difference%% *} (${difference#* }); now $frames frames"
    fi
    echo "    the game: $(head -n 1 "$fresh.log")"  # how the autopilot's game went
    cp "$fresh" "$replay"
    rm -rf "$saves" "$fresh" "$fresh.log"
done
exit $status
