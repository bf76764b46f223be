#!/usr/bin/env bash
# A throw-away Wine session for the end-to-end tests: a virtual X display
# with a window manager, a fresh Wine prefix and one long-lived wineserver.
#   wine_env.sh start STATE BIN   set it up; STATE is a folder it owns, BIN
#                                 the folder of the programs and the stand-in
#   wine_env.sh run STATE EXE [ARGS...]   run a GoogleTest program in it
#   wine_env.sh stop STATE    end every process of it and remove the prefix
# Programs started under Wine inherit the Unix descriptors of the wine
# command, so everything started here writes to files, never to our pipes.
set -u
cmd=${1:?usage: wine_env.sh start|run|stop STATE ...}
state=${2:?state folder}
shift 2
# shellcheck source=../../scripts/wine-env.sh
. "$(dirname "$0")/../../scripts/wine-env.sh"

load_env() {
  [ -f "$state/env" ] || { echo "wine_env: no session in $state (start it first)" >&2; exit 1; }
  # shellcheck disable=SC1091
  . "$state/env"
  export DISPLAY WINEPREFIX
}

wait_for() {  # wait_for SECONDS COMMAND...: polls until COMMAND succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

start() {
  i386_runs || { echo "wine_env: this host cannot start 32-bit x86 programs: run scripts/setup.sh (as root)" >&2; exit 1; }
  rm -rf "$state" && mkdir -p "$state"
  local n=90
  while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
  DISPLAY=:$n
  WINEPREFIX=$state/prefix
  export DISPLAY WINEPREFIX
  setsid Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp >"$state/xvfb.log" 2>&1 < /dev/null &
  echo $! > "$state/xvfb.pid"
  wait_for 20 xdpyinfo -display "$DISPLAY" || { echo "wine_env: Xvfb did not start" >&2; exit 1; }
  setsid openbox >"$state/openbox.log" 2>&1 < /dev/null &
  echo $! > "$state/openbox.pid"
  printf 'DISPLAY=%s\nWINEPREFIX=%s\n' "$DISPLAY" "$WINEPREFIX" > "$state/env"
  "$wine64" wineboot -i >"$state/wineboot.log" 2>&1 < /dev/null
  wineserver -w
  # One server for the whole session, so that each program does not start
  # the prefix's services anew.
  setsid wineserver -p 600 >/dev/null 2>&1 < /dev/null
  # The dialogs ask for SimSun; map it to the CJK font we install.
  bash "$(dirname "$0")/../../scripts/wine-fonts.sh" >"$state/regedit.log" 2>&1 < /dev/null
  # A program that crashes ends at once, as a failed test, instead of
  # starting Wine's debugger (which the emulator cannot run).
  local aedebug='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' view
  for view in 32 64; do
    "$wine64" reg delete "$aedebug" /v Debugger /f /reg:$view >>"$state/regedit.log" 2>&1 < /dev/null
  done
  # Web pages and mail links open in the stand-in, which records how.
  local opener key
  opener="\"Z:$(printf '%s' "$bin/velmora_standin.exe" | tr / '\\')\" \"%1\""
  "$wine64" reg add 'HKLM\Software\Classes\.html' /ve /d htmlfile /f >>"$state/regedit.log" 2>&1 < /dev/null
  for key in htmlfile mailto; do
    "$wine64" reg add "HKLM\\Software\\Classes\\$key\\shell\\open\\command" /ve /d "$opener" /f \
      >>"$state/regedit.log" 2>&1 < /dev/null
  done
  echo "wine_env: Wine session on display $DISPLAY, prefix $WINEPREFIX"
}

run() {
  load_env
  local out
  out=$(cd "$state" && pwd)/run.$$.out
  # Wine writes a program's trace to the standard error it shares with the
  # test program that started it: the test program reads it here.
  VELMORA_E2E_OUTPUT="Z:$(printf '%s' "$out" | tr / '\\')" "$wine64" "$@" >"$out" 2>&1 < /dev/null
  local rc=$?
  cat "$out"
  # A test program that crashes under the emulator may still end with code 0,
  # its buffered output lost: it passes only with GoogleTest's own summary.
  if [ $rc -eq 0 ] && ! grep -q '^\[  PASSED  \]' "$out"; then
    echo "wine_env: no GoogleTest summary: the test program ended early"
    rc=1
  fi
  rm -f "$out"
  return $rc
}

stop() {
  if [ -f "$state/env" ]; then
    load_env
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
  fi
  for p in openbox xvfb; do
    [ -f "$state/$p.pid" ] && kill "$(cat "$state/$p.pid")" 2>/dev/null
  done
  rm -rf "$state/prefix"
  echo "wine_env: session ended"
}

case $cmd in
  start) bin=${1:?folder of the programs}; start ;;
  run) run "$@" ;;
  stop) stop ;;
  *) echo "wine_env: unknown command $cmd" >&2; exit 2 ;;
esac
