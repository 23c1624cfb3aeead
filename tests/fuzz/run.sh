#!/bin/bash
# Builds the fuzz targets with clang (into build-fuzz, or $KAVRIX_FUZZ_BUILD),
# writes their seed corpora with fuzz_seeds and runs every target for SECONDS
# seconds (default 60), then prints runs per second and the total runs of
# each. A finding (a crash, a sanitizer report, a failed check, a leak, an
# input that hangs) ends the script with status 1; the input that caused it is
# kept in build-fuzz/findings/. Corpora grow in build-fuzz/fuzz-corpus/ from
# one run to the next.
set -euo pipefail
seconds="${1:-60}"
case "$seconds" in ''|*[!0-9]*) echo "usage: tests/fuzz/run.sh [SECONDS]" >&2; exit 2 ;; esac
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${KAVRIX_FUZZ_BUILD:-$root/build-fuzz}"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$root")}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DKAVRIX_FUZZ=ON -DKAVRIX_TESTS=OFF -DKAVRIX_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice cmake --build "$build" --target fuzz_targets -j"${KAVRIX_JOBS:-$(nproc)}" >/dev/null
rm -rf "$build/fuzz-seeds"
"$build/fuzz_seeds" "$build/fuzz-seeds"
mkdir -p "$build/findings"

status=0
passed=0
failed=0
printf '%-13s %10s %12s  %s\n' target runs/s runs result
for target in collection settings scores profiles input_script settings_text; do
  corpus="$build/fuzz-corpus/$target"
  log="$build/fuzz-$target.log"
  mkdir -p "$corpus"
  options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048
           -artifact_prefix="$build/findings/$target-")
  [ -f "$root/tests/fuzz/$target.dict" ] && options+=(-dict="$root/tests/fuzz/$target.dict")
  result=ok
  "$build/${target}_fuzz" "${options[@]}" "$corpus" "$build/fuzz-seeds/$target" >"$log" 2>&1 || result=FINDING
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  printf '%-13s %10s %12s  %s\n' "$target" "${rate:-?}" "${runs:-?}" "$result"
  if [ "$result" = ok ]; then
    passed=$((passed + 1))
  else
    status=1
    failed=$((failed + 1))
    tail -n 40 "$log" >&2
  fi
done
echo "fuzz: $passed passed, $failed failed"
exit "$status"
