#!/bin/bash
# The Windows build's edges under Wine, beside the native game:
#  - a data folder (KAVRIX_DATA), a save folder and outputs named with Czech
#    letters;
#  - the saved files and the state dump byte for byte as the native game
#    writes them from the same input, and saves written on Linux loaded
#    alike;
#  - an output at the name of a folder or a device refused, and what stood
#    there left alone;
#  - a run killed while it records leaves no temporary file and the old
#    recording whole;
#  - the exit statuses (2 a bad option, 3 a replay that differs);
#  - the player's folder, %APPDATA%\Kavrix.
#   files_test.sh KAVRIX_WINE NATIVE_KAVRIX DATA REPLAYS_DIR
set -euo pipefail
win=$1 native=$2 data=$3 replays=$4
work=$(mktemp -d "${TMPDIR:-/tmp}/kavrix-files-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "files_test: $*" >&2; exit 1; }
# A command's exit status, its output in $work/out.
status() { "$@" >"$work/out" 2>&1 && echo 0 || echo $?; }
temporaries() { find "$1" -name '*.tmp??????' | wc -l; }

# The front end in English: a new profile typed, the story, level 1, Escape
# and the profile loaded back; every saved file is written on the way.
input=$replays/front_end_en.replay
frames=$(awk '$1 == "hash" { f = $2 } END { print f }' "$input")
czech="$work/Hra – ěščřžýáíéůúďťň"
mkdir -p "$czech/Uložené hry" "$work/native"
ln -s "$(cd "$data" && pwd)" "$czech/Data Kavrixu"

# Saved files and the dump, byte for byte.
"$native" --headless --data "$data" --input "$input" --frames "$frames" --save-dir "$work/native" \
  --dump-state "$work/native.json" >/dev/null
KAVRIX_DATA="$czech/Data Kavrixu" "$win" --headless --input "$input" --frames "$frames" \
  --save-dir "$czech/Uložené hry" --dump-state "$czech/Stav hry.json" >/dev/null
[ -f "$work/native/profily.lev" ] || fail "the native game saved no profile"
[ "$(ls "$work/native")" = "$(ls "$czech/Uložené hry")" ] || fail "other files saved: $(ls "$czech/Uložené hry")"
for file in "$work/native"/*; do
  cmp "$file" "$czech/Uložené hry/$(basename "$file")" || fail "$(basename "$file") differs from the native game's"
done
cmp "$work/native.json" "$czech/Stav hry.json" || fail "the state dump differs from the native game's"
[ "$(temporaries "$czech")" -eq 0 ] || fail "a temporary file was left behind"
echo "saved files and dump: as the native game's"

# Saves written on Linux, loaded by the Windows build.
cp -r "$work/native" "$czech/Z Linuxu"
"$native" --headless --data "$data" --frames 1 --save-dir "$work/native" --dump-state "$work/loaded.json" >/dev/null
"$win" --headless --data "$czech/Data Kavrixu" --frames 1 --save-dir "$czech/Z Linuxu" \
  --dump-state "$czech/Načteno.json" >/dev/null
cmp "$work/loaded.json" "$czech/Načteno.json" || fail "the saves from Linux load differently"
grep -q '"Pilot"' "$czech/Načteno.json" || fail "the profile from Linux is not in the loaded state"
echo "saves from Linux: loaded as the native game loads them"

# Outputs at a folder's or a device's name.
mkdir "$czech/Složka.json"
native_status=$(status "$native" --headless --data "$data" --frames 1 --dump-state "$czech/Složka.json")
windows_status=$(status "$win" --headless --data "$data" --frames 1 --dump-state "$czech/Složka.json")
[ "$windows_status" -ne 0 ] && [ "$windows_status" = "$native_status" ] ||
  fail "a folder as output: status $windows_status (native $native_status)"
grep -q "is a folder, not a file" "$work/out" || fail "a folder as output: $(cat "$work/out")"
[ -d "$czech/Složka.json" ] && [ -z "$(ls -A "$czech/Složka.json")" ] || fail "the folder was touched"
for device in NUL "$czech/nul.json" 'COM1.png'; do
  windows_status=$(status "$win" --headless --data "$data" --frames 1 --dump-state "$device")
  [ "$windows_status" = "$native_status" ] || fail "$device as output: status $windows_status"
  grep -q "is a device, not a file" "$work/out" || fail "$device as output: $(cat "$work/out")"
done
echo "outputs at a folder or a device: refused"

# A run killed while it records: its temporary file goes with it.
printf 'an older recording\n' > "$czech/Záznam.replay"
"$win" --headless --data "$data" --input "$input" --frames 1000000 --record "$czech/Záznam.replay" \
  >/dev/null 2>&1 &
run=$!
for _ in $(seq 300); do [ "$(temporaries "$czech")" -gt 0 ] && break; sleep 0.1; done
[ "$(temporaries "$czech")" -gt 0 ] || fail "the recording's temporary file never appeared"
kill -KILL "$run"
wait "$run" 2>/dev/null || true
for _ in $(seq 100); do [ "$(temporaries "$czech")" -eq 0 ] && break; sleep 0.1; done
[ "$(temporaries "$czech")" -eq 0 ] || fail "the killed run left its temporary file: $(find "$czech" -name '*.tmp*')"
[ "$(cat "$czech/Záznam.replay")" = "an older recording" ] || fail "the older recording was changed"
echo "a killed recording: no temporary file left, the older one whole"

# Exit statuses come through Wine.
[ "$(status "$win" --no-such-option)" = 2 ] || fail "a bad option: not status 2"
awk '$1 == "hash" { last = NR } { line[NR] = $0 } END {
       for (i = 1; i <= NR; ++i) { if (i == last) { split(line[i], f, " "); $0 = f[1] " " f[2] " 0000000000000000 " f[4] }
                                  else $0 = line[i]; print } }' "$replays/lose_d3.replay" > "$czech/Jinak.replay"
[ "$(status "$win" --headless --data "$data" --save-dir "$work" --replay "$czech/Jinak.replay")" = 3 ] ||
  fail "a replay that differs: not status 3: $(cat "$work/out")"
grep -q "frame" "$work/out" || fail "a replay that differs: no frame named: $(cat "$work/out")"
echo "exit statuses: 2 and 3 as on Linux"

# The player's folder.
"$win" --list-replays | tr -d '\r' > "$work/out"
grep -q 'AppData\\Roaming\\Kavrix\\replays' "$work/out" || fail "kept replays not looked for in %APPDATA%\\Kavrix: $(cat "$work/out")"
echo "the player's folder: %APPDATA%\\Kavrix"
