#!/usr/bin/env bash
# Line and branch coverage of the host cores by the unit tests (gcovr):
# a summary here and an HTML report in build/coverage/html/index.html.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset coverage >/dev/null
cmake --build --preset coverage -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
find build/coverage -name '*.gcda' -delete
ctest --preset coverage >/dev/null
mkdir -p build/coverage/html
gcovr --root . --object-directory build/coverage \
  --filter 'monitor/' --filter 'config/' --filter 'uninstall/' --filter 'common/' --exclude '.*_win\.cpp' \
 --exclude-directories 'build/coverage/CMakeFiles/[0-9].*' \
  --exclude-unreachable-branches --exclude-throw-branches \
  --html-details build/coverage/html/index.html --branches --print-summary
