#!/usr/bin/env bash
# Static analysis of the whole tree with the checked-in configurations
# (.clang-tidy, .cppcheck-suppressions): clang-tidy over every source with
# its build's flags (host for the cores and tests, win32 for the shells and
# the end-to-end tests), and cppcheck. Any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset host >/dev/null
cmake --preset bench >/dev/null
cmake --preset win32 >/dev/null
# The x64 test programs' own build, configured for its compile commands.
cmake --build --preset win32 --target velmora_e2e_x64-configure >/dev/null
failed=0

host_sources=$(git ls-files '*.cpp' | grep -vE '_win\.cpp$|^tests/e2e/|^tests/fuzz/|^tests/bench/|^scripts/' || true)
bench_sources=$(git ls-files 'tests/bench/*.cpp' || true)
# Windows sources with the flags of the build that compiles them: the 32-bit
# one, or else the x64 one of the test programs.
win_sources= x64_sources=
for f in $(git ls-files '*_win.cpp' 'tests/e2e/*.cpp'); do
  if grep -qF "\"file\": \"$PWD/$f\"" build/win32/compile_commands.json; then
    win_sources+=" $f"
  else
    x64_sources+=" $f"
  fi
done
gxx=/usr/lib/gcc/i686-w64-mingw32/$(i686-w64-mingw32-gcc-posix -dumpversion)/include/c++
gxx64=/usr/lib/gcc/x86_64-w64-mingw32/$(x86_64-w64-mingw32-gcc-posix -dumpversion)/include/c++

echo "clang-tidy: $(echo $host_sources | wc -w) host sources, $(echo $win_sources $x64_sources | wc -w) Windows sources"
jobs=$(nproc 2>/dev/null || echo 2)
report=build/clang-tidy.txt
{
  printf '%s\n' $host_sources | xargs -P "$jobs" -n 2 clang-tidy -p build/host --quiet 2>/dev/null || true
  printf '%s\n' $bench_sources | xargs -P "$jobs" -n 2 clang-tidy -p build/bench --quiet 2>/dev/null || true
  # The picture tool is built by a custom command: its flags are given here.
  clang-tidy --quiet scripts/make_art.cpp -- -std=c++17 -Imonitor/tray -Imonitor/engine -Icommon 2>/dev/null || true
  printf '%s\n' $win_sources | xargs -P "$jobs" -n 2 clang-tidy -p build/win32 --quiet \
    --extra-arg=--target=i686-w64-mingw32 --extra-arg=-isystem"$gxx" --extra-arg=-isystem"$gxx/i686-w64-mingw32" \
    2>/dev/null || true
  printf '%s\n' $x64_sources | xargs -P "$jobs" -n 2 clang-tidy -p build/win32/e2e-x64 --quiet \
    --extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-isystem"$gxx64" \
    --extra-arg=-isystem"$gxx64/x86_64-w64-mingw32" 2>/dev/null || true
} > "$report"
if grep -qE 'warning:|error:' "$report"; then
  grep -E 'warning:|error:' -A3 "$report"
  failed=1
fi

echo "cppcheck: the whole tree"
includes=$(git ls-files '*.h' | xargs -n1 dirname | sort -u | sed 's/^/-I /')
cppcheck --quiet --enable=warning,performance,portability,style --inline-suppr --error-exitcode=1 \
  --std=c++17 --library=windows --library=googletest --suppressions-list=.cppcheck-suppressions $includes \
  $(git ls-files '*.cpp') || failed=1

[ $failed -eq 0 ] && echo "analysis: no findings"
exit $failed
