#!/usr/bin/env bash
# Fails when a program imports any function matching the pattern.
# usage: check_no_imports.sh OBJDUMP EXE PATTERN
set -u
objdump=$1 exe=$2 pattern=$3
[ -f "$exe" ] || { echo "FAIL $exe: not built"; exit 1; }
found=$("$objdump" -p "$exe" | awk '/DLL Name:/ {dll=$3} /^\t[ 0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ {print dll ": " $3}' | grep -E "$pattern")
if [ -n "$found" ]; then
  echo "FAIL $(basename "$exe") imports what it must not:"
  echo "$found"
  exit 1
fi
count=$("$objdump" -p "$exe" | awk '/^\t[ 0-9a-f]+\t +[0-9]+ +[A-Za-z_]/' | wc -l)
[ "$count" -gt 0 ] || { echo "FAIL $(basename "$exe"): no imports read"; exit 1; }
echo "ok   $(basename "$exe"): $count imports, none matching $pattern"
