#!/bin/bash
# Makes the README's picture again: frame 1500 of the level-3 golden replay,
# played headless in an empty save folder, written to docs/screenshot.png.
# scripts/screenshot.sh BUILD_DIR (the folder holding kavrix and data/).
set -euo pipefail
build=${1:?usage: scripts/screenshot.sh BUILD_DIR}
cd "$(dirname "$0")/.."
saves=$(mktemp -d "${TMPDIR:-/tmp}/kavrix-shot-XXXXXX")
trap 'rm -rf "$saves"' EXIT
"$build/kavrix" --headless --data "$build/data" --save-dir "$saves" \
  --replay tests/replays/level3.replay --frames 1501 --screenshot 1500:docs/screenshot.png
