#!/bin/bash
# The score board's two measures, on 127.0.0.1 only:
# 1. Verification throughput by game length: the game's replay check as the
#    board runs it (one child process, --verify-new-game and --dump-state),
#    its CPU seconds (user + system) taken from the kernel, for a lost game,
#    a level and the whole game; games a minute a core = 60 / CPU seconds.
# 2. GET /api/scores under 200 concurrent keep-alive clients (wrk, 2 threads,
#    15 s) against a board holding 30 000 verified entries: requests a
#    second, p50 and p99, on SQLite, and on PostgreSQL when --postgres.
#   bench/board_bench.sh BUILD_DIR [--postgres]
# Needs wrk and python3 (and PostgreSQL's server for --postgres); prints one
# line per figure. The machine's load average is printed first: the figures
# are only as quiet as the machine.
set -euo pipefail
build=$(cd "${1:?usage: board_bench.sh BUILD_DIR [--postgres]}" && pwd)
postgres=${2:-}
here=$(cd "$(dirname "$0")/.." && pwd)
kavrix=$build/kavrix board=$build/kavrix-board data=$build/data
work=$(mktemp -d "${TMPDIR:-/tmp}/kavrix-board-bench-XXXXXX")
board_pid=""
cleanup() {
  [ -n "$board_pid" ] && kill "$board_pid" 2>/dev/null && wait "$board_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"

# A kept replay of a game: the input of a recording played headless with the
# game keeping its replay (FRAMES frames).
keep() { # NAME RECORDING FRAMES
  mkdir -p "$work/$1"
  grep -v -e '^hash ' -e '^end ' "$2" >"$work/$1/input.txt"
  (cd "$work/$1" && "$kavrix" --headless --data "$data" --save-dir . --keep-replays --input input.txt \
    --frames "$3" >/dev/null)
  # The longest game the run kept (the whole game's front end begins more
  # than one).
  for replay in "$work/$1"/replays/*.replay; do
    echo "$(grep -m1 '^game ' "$replay" | cut -d' ' -f3) $replay"
  done | sort -n | tail -1 | cut -d' ' -f2
}
"$build/kavrix-autopilot" --data "$data" --save-dir "$work" --record "$work/lost.rec" --lose --level 1 \
  --difficulty 2 --seed 3 --stop-after-level >/dev/null
declare -A replays=(
  [lost]=$(keep lost "$work/lost.rec" 1900)
  [level1]=$(keep level1 "$here/tests/replays/level1.replay" 9900)
  [whole]=$(keep whole "$here/tests/replays/whole_game.replay" 108800)
)

# 1. CPU seconds of the verification, the least of a few runs.
for game in lost level1 whole; do
  replay=${replays[$game]}
  frames=$(grep -m1 '^game ' "$replay" | cut -d' ' -f3)
  runs=3 check=(--verify-new-game "$work/v/verdict.json") note=""
  if [ "$game" = whole ]; then
    # The golden whole game reloads its profile after level 1, so its long
    # game is not a new one and the check would refuse it at once: this one
    # is timed as a replay alone (the check itself costs milliseconds).
    runs=2 check=() note=" (replay only)"
  fi
  best=""
  for _ in $(seq "$runs"); do
    rm -rf "$work/v" && mkdir -p "$work/v/saves"
    /usr/bin/time -o "$work/v/time" -f "%U %S" "$kavrix" --headless --data "$data" --save-dir "$work/v/saves" \
      --replay "$replay" "${check[@]}" --dump-state "$work/v/state.json" >/dev/null 2>&1 ||
      { echo "verify $game: the game did not verify it: $(head -1 "$work/v/time")"; exit 1; }
    seconds=$(awk '{print $1 + $2}' "$work/v/time")
    if [ -z "$best" ] || awk "BEGIN{exit !($seconds < $best)}"; then best=$seconds; fi
  done
  awk -v g="$game" -v f="$frames" -v s="$best" -v n="$note" 'BEGIN {
    printf "verify %-7s %7d frames (%5.1f min of play): %6.2f CPU s, %7.1f games a minute a core%s\n",
      g, f, f * 0.016 / 60, s, 60 / s, n }'
done

# 2. The score list under load.
start_board() { # DATABASE
  "$board" --listen 127.0.0.1:0 --database "$1" --game "$kavrix" --data "$data" --workers 0 >"$work/board.txt" 2>&1 &
  board_pid=$!
  for _ in $(seq 100); do grep -q "listening on" "$work/board.txt" && break; sleep 0.1; done
  port=$(grep -o '127.0.0.1:[0-9]*' "$work/board.txt" | cut -d: -f2)
}
stop_board() { kill "$board_pid"; wait "$board_pid" || true; board_pid=""; }
measure() { # LABEL
  out=$(wrk -t2 -c200 -d15s --latency "http://127.0.0.1:$port/api/scores?difficulty=2&limit=10")
  echo "$out" | awk -v l="$1" '
    /Requests\/sec/ { rps = $2 }
    /^ +50%/ { p50 = $2 } /^ +99%/ { p99 = $2 }
    /Non-2xx/ { bad = $NF }
    END { printf "GET /api/scores %-10s 200 clients: %8.0f requests/s, p50 %s, p99 %s%s\n", l, rps, p50, p99,
          bad ? ", " bad " not 200" : "" }'
}
# 30 000 verified entries, 10 000 a difficulty, written straight into the
# board's own schema (the board made it when it started).
entries_sql="INSERT INTO replays (fingerprint, submitted_at, submitter, claimed_frames, game_version, status,
  name, score, difficulty, level, frames, version) SELECT 'bench-' || n, 1760000000 + n, '127.0.0.1', 1000, 1,
  'verified', 'Pilot ' || n, (n * 7919) % 100000, n % 3 + 1, n % 9 + 1, 1000, '1.0.0'"

start_board "sqlite:$work/board.sqlite"
stop_board
python3 - "$work/board.sqlite" "$entries_sql" <<'EOF'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.execute("WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 30000) " + sys.argv[2] + " FROM s")
db.commit()
EOF
start_board "sqlite:$work/board.sqlite"
measure sqlite
stop_board

if [ "$postgres" = --postgres ]; then
  # shellcheck disable=SC2016
  bash "$here/tests/board/with_postgres.sh" bash -c '
    source "$1"
    start_board "$KAVRIX_BOARD_DATABASE"
    psql -q "$KAVRIX_BOARD_DATABASE" -c "$entries_sql FROM generate_series(1, 30000) AS n"
    measure postgresql
    stop_board' _ <(declare -f start_board stop_board measure; declare -p work board kavrix data entries_sql)
fi
