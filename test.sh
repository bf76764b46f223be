#!/usr/bin/env bash
# Sets up what is missing, builds everything and runs every test: the host
# unit tests (with AddressSanitizer and UBSan), static analysis, short fuzz
# runs, the benchmarks' build, the size budgets, the end-to-end tests
# under Wine on a virtual display, and a second build of the release that
# must give the same bytes.
set -euo pipefail
cd "$(dirname "$0")"

jobs=$(nproc 2>/dev/null || echo 2)
step() { printf '\n== %s\n' "$*"; }

step "set-up"
bash scripts/setup.sh

step "host: core and unit tests"
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host -j "$jobs"

step "static analysis: clang-tidy and cppcheck"
bash scripts/analyze.sh

step "fuzzing: every target for a few seconds"
bash scripts/fuzz.sh 5

step "host: benchmarks (built here, run by scripts/bench.sh)"
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$jobs"

step "win32: programs, size budgets, end-to-end tests under Wine"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
ctest --preset win32

step "win32: the release built again from a copy of the sources, byte for byte the same"
bash scripts/reproducible.sh
