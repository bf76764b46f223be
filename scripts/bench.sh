#!/usr/bin/env bash
# The performance report: engine benchmarks (optimised, no sanitizers) and
# the programs' sizes against their budgets.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
build/bench/tests/bench/velmora_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_min_time=1 "$@"
if [ -d build/win32/bin ]; then
  echo
  tests/size/check_sizes.sh tests/size/budgets.txt build/win32/bin i686-w64-mingw32-objdump || true
fi
