#!/usr/bin/env bash
# The performance report, in a fixed format so that versions compare line by
# line: the engine benchmarks (optimised build, no sanitizers; the mean of 5
# repetitions), the free pass against the bare allocate-fill-release of the
# same size, and the programs' sizes against their budgets.
# usage: scripts/bench.sh [extra Google Benchmark flags]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
out=build/bench/report.csv
build/bench/tests/bench/velmora_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_min_time=1 --benchmark_enable_random_interleaving=true --benchmark_format=csv "$@" 2>/dev/null > "$out"

echo "== engine (mean of 5 runs)"
awk -F, 'NR > 1 && $1 ~ /_mean"$/ {
  name = $1; gsub(/"|_mean/, "", name)
  printf "%-36s %14.1f %s\n", name, $3, $5
}' "$out" | sort

echo "== free pass against bare malloc + fill + free"
awk -F, 'NR > 1 && $1 ~ /_mean"$/ {
  name = $1; gsub(/"|_mean/, "", name)
  split(name, part, "/")
  if (part[1] == "BM_BareFill") bare[part[2]] = $3
  if (part[1] == "BM_FreePass") pass[part[2]] = $3
}
END {
  for (mb in pass) if (mb in bare)
    printf "%-36s %14.3f\n", "free pass / bare, " mb " MB", pass[mb] / bare[mb]
}' "$out" | sort

echo "== program sizes"
if [ -d build/win32/bin ]; then
  tests/size/check_sizes.sh tests/size/budgets.txt build/win32/bin i686-w64-mingw32-objdump || true
else
  echo "(build the win32 preset first)"
fi
