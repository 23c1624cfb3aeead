#!/bin/bash
# The touch controls in headless Chromium with a touch screen (DevTools'
# Input.dispatchTouchEvent), driven by page_driver.py while the page records
# the game: the Esc button skips the intro, a tap on the menu's first item
# and one on the name field (which opens the on-screen keyboard's field), a
# name typed into it and its Enter, a tap on START, ↵ through the story text,
# then in play a finger dragged to the right while a second holds the fire
# button. Then:
#  - the controls were shown on the touch screen and none on an ordinary one;
#  - the recording replays natively hash for hash;
#  - the same game with keys in place of the touch buttons and the drag (the
#    recording's pad lines as key lines) gives the same hashes;
#  - it shows what the player did: the profile has the typed name, the drag
#    held Right while fire was held (two fingers at once), and the ship is
#    elsewhere than in the same game without the touches.
#   page_touch_test.sh SITE_DIR NATIVE_KAVRIX DATA_DIR
set -euo pipefail
site=$1 kavrix=$2 data=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kavrix-touch-XXXXXX")
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT

mkdir "$work/site"
for f in "$site"/*; do ln -s "$(cd "$(dirname "$f")" && pwd)/$(basename "$f")" "$work/site/"; done
printf 'language cs\nseed 7\n' > "$work/site/touch.input"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$work/site" "$port" >/dev/null 2>&1 &
server=$!
sleep 1
page="http://127.0.0.1:$port/index.html"
frames=2800

# Real time, about 62 frames a second: each step waits for the game to get there.
status=0
python3 "$here/page_driver.py" "$page?autostart" "wait:first frame drawn" \
  "eval:document.getElementById('touch').hidden" \
  "touchscreen:on" "goto:$page?test=touch.input&frames=$frames&record=all&reload=no" "wait:first frame drawn" \
  "sleep:1" "eval:document.getElementById('touch').hidden" \
  "touch:1@#touch-menu" "sleep:0.1" "touch:" "sleep:2" \
  "touch:1@g102,298" "sleep:0.1" "touch:" "sleep:1" \
  "touch:1@g180,478" "sleep:0.1" "touch:" "sleep:0.5" \
  "eval:document.activeElement.id" "text:Pilot" "sleep:0.5" "key:Enter" "sleep:0.5" \
  "touch:1@g722,554" "sleep:0.1" "touch:" "sleep:2" \
  "touch:1@#touch-next" "sleep:0.1" "touch:" "sleep:2" \
  "touch:1@#touch-next" "sleep:0.1" "touch:" "sleep:2" \
  "eval:document.getElementById('touch').className" \
  "touch:1@g400,420" "sleep:0.2" "touch:1@g430,420" "sleep:0.2" "touch:1@g470,420" "sleep:0.3" \
  "touch:1@g470,420;2@#touch-fire" "sleep:1.5" "touch:1@g470,420" "sleep:0.3" "touch:" \
  "wait:kavrix-test: done" > "$work/page.log" 2>&1 || { cat "$work/page.log"; exit 1; }

shown=$(sed -n 's/^eval: //p' "$work/page.log" | tr '\n' ' ')
if [ "$shown" != 'true false "touch-name" "flight" ' ]; then
  echo "the touch controls were not as expected (hidden without a touch screen, shown with one, the name's"
  echo "field focused, flying in play): $shown"; grep -v '^console: kavrix-test: rec' "$work/page.log" | tail -20
  status=1
fi
sed -n 's/^console: kavrix-test: rec //p' "$work/page.log" > "$work/touch.rec"
if ! grep -q '^end ' "$work/touch.rec"; then
  echo "the page's recording is incomplete:"; tail -20 "$work/page.log"; exit 1
fi

# Natively, in an empty save folder as the page's was.
mkdir "$work/replay-saves"
if ! "$kavrix" --headless --data "$data" --save-dir "$work/replay-saves" --replay "$work/touch.rec" \
     --dump-state "$work/touch.json" > "$work/replay.out" 2>&1; then
  echo "the touch game does not replay natively:"; cat "$work/replay.out"; status=1
else
  echo "natively: $(cat "$work/replay.out")"
fi

# The pad lines (the touch controls' input states) as the keys that give them.
python3 - "$work/touch.rec" "$work/keys.input" "$work/untouched.input" <<'EOF'
import sys
keys = {0: 'Up', 1: 'Down', 2: 'Left', 3: 'Right', 4: 'Space', 5: 'Enter', 8: '1', 9: '2', 10: '3'}
held = 0
with open(sys.argv[1]) as rec, open(sys.argv[2], 'w') as out, open(sys.argv[3], 'w') as untouched:
    for line in rec:
        words = line.split()
        if not words or words[0] in ('hash', 'end') or line.startswith('#'):
            continue
        if len(words) == 3 and words[1] == 'pad':
            states = int(words[2], 16)
            for bit, name in keys.items():
                if (states ^ held) >> bit & 1:
                    out.write('%s %s %s\n' % (words[0], 'down' if states >> bit & 1 else 'up', name))
            held = states
            continue
        out.write(line)
        untouched.write(line)
EOF
mkdir "$work/key-saves" "$work/untouched-saves"
"$kavrix" --headless --data "$data" --save-dir "$work/key-saves" --input "$work/keys.input" --frames "$frames" \
  --record "$work/keys.rec" >/dev/null 2>&1 || { echo "the key-played game failed"; status=1; }
"$kavrix" --headless --data "$data" --save-dir "$work/untouched-saves" --input "$work/untouched.input" \
  --frames "$frames" --dump-state "$work/untouched.json" >/dev/null 2>&1 || { echo "the untouched game failed"; status=1; }
if ! diff <(grep '^hash ' "$work/touch.rec") <(grep '^hash ' "$work/keys.rec") >/dev/null; then
  echo "the game played with keys differs from the touch game (touch <, keys >):"
  diff <(grep '^hash ' "$work/touch.rec") <(grep '^hash ' "$work/keys.rec") | head -10
  status=1
else
  echo "played with keys: the same $(grep -c '^hash ' "$work/keys.rec") hash lines"
fi

# What the player did shows in the game.
field() { python3 -c 'import json, sys; d = json.load(open(sys.argv[1])); print(d["Progress"][sys.argv[2]])' "$@"; }
name=$(field "$work/touch.json" PlayerName)
both=$(python3 -c 'import sys
for line in open(sys.argv[1]):
    w = line.split()
    if len(w) == 3 and w[1] == "pad" and int(w[2], 16) & 24 == 24:
        print(line.strip())
        break' "$work/touch.rec")
x=$(field "$work/touch.json" PlayerX) untouched_x=$(field "$work/untouched.json" PlayerX)
scene=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["CurrentScene"])' "$work/touch.json")
if [ "$name" != "Pilot" ] || [ -z "$both" ] || [ "$x" = "$untouched_x" ] || [ "$scene" != "HlavniHra" ]; then
  echo "the touch game does not show the player's doing: name '$name', Right and fire at once: '$both'," \
       "ship at x $x (without the touches $untouched_x), scene $scene"
  status=1
else
  echo "the typed name $name, Right and fire held at once ($both), the ship at x $x (without the touches $untouched_x)"
fi
exit $status
