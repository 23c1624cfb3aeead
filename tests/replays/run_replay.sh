#!/bin/bash
# Replays one golden recording headless in a fresh, empty save directory:
# run_replay.sh KAVRIX DATA_DIR REPLAY_FILE. Fails (with the game's message
# naming the frame and which hash differed) when the game has gone its own way.
set -euo pipefail
kavrix=$1 data=$2 replay=$3
saves=$(mktemp -d "${TMPDIR:-/tmp}/kavrix-replay-XXXXXX")
trap 'rm -rf "$saves"' EXIT
"$kavrix" --headless --data "$data" --save-dir "$saves" --replay "$replay"
