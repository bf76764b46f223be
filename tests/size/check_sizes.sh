#!/usr/bin/env bash
# Checks every built program against its size budget, that it imports
# nothing but system DLLs (so no MinGW runtime DLL is needed to run it), and
# that it is marked as aware of terminal services.
# usage: check_sizes.sh BUDGETS BIN_DIR OBJDUMP
set -u
budgets=$1 bin=$2 objdump=$3
system_dlls='^(kernel32|user32|gdi32|shell32|advapi32|comctl32|comdlg32|msvcrt)\.dll$'
failed=0 checked=0
while read -r program budget; do
  case "$program" in ''|'#'*) continue ;; esac
  file=$bin/$program
  if [ ! -f "$file" ]; then
    echo "FAIL $program: not built"; failed=1; continue
  fi
  size=$(stat -c %s "$file")
  if [ "$size" -gt "$budget" ]; then
    echo "FAIL $program: $size bytes, budget $budget"; failed=1
  else
    echo "ok   $program: $size bytes of $budget"
  fi
  if ! "$objdump" -p "$file" | grep -qw TERMINAL_SERVICE_AWARE; then
    echo "FAIL $program is not marked as aware of terminal services"; failed=1
  fi
  while read -r dll; do
    if ! printf '%s\n' "$dll" | tr 'A-Z' 'a-z' | grep -qE "$system_dlls"; then
      echo "FAIL $program imports $dll"; failed=1
    fi
  done < <("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
  checked=$((checked + 1))
done < "$budgets"
[ "$checked" -gt 0 ] || { echo "FAIL no program checked"; exit 1; }
exit $failed
