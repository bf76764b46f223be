#!/usr/bin/env bash
# Sets up what is missing, builds the programs and starts the suite under
# Wine: on your X display, or on a virtual one when there is none (then a
# screenshot of it is saved for you to open).
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc 2>/dev/null || echo 2)"
exec bash scripts/start-suite.sh build/win32/bin "$@"
