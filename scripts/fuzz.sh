#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time, starting
# from the checked-in seeds. usage: scripts/fuzz.sh [SECONDS_PER_TARGET]
# (default 5; the test command uses that, a longer run is e.g. 600).
# A crash leaves its input in build/fuzz/findings/ and fails the run; turn
# it into a unit test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-5}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
failed=0 ran=0
for seeds in tests/fuzz/corpus/*/; do
  name=$(basename "$seeds")
  target=build/fuzz/tests/fuzz/fuzz_$name
  [ -x "$target" ] || { echo "fuzz: no target for corpus $name"; failed=1; continue; }
  work=build/fuzz/corpus/$name findings=build/fuzz/findings/$name
  mkdir -p "$work" "$findings"
  if "$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$findings/" "$work" "$seeds" >"build/fuzz/$name.log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "build/fuzz/$name.log")
    echo "fuzz: $name: ${runs:-?} inputs in ${seconds}s, no failure"
  else
    echo "fuzz: $name FAILED; input and log in $findings/ and build/fuzz/$name.log"
    tail -n 30 "build/fuzz/$name.log"
    failed=1
  fi
  ran=$((ran + 1))
done
[ "$ran" -gt 0 ] || { echo "fuzz: no targets ran"; exit 1; }
exit $failed
