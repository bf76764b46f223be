#!/usr/bin/env bash
# Starts the built suite under Wine the way a user does: by opening the
# configuration dialog. usage: start-suite.sh BIN_DIR
# On the user's X display when there is one; otherwise on a virtual display,
# with a picture of the dialog saved for the user to open. The dialog speaks
# the language of LANG: Chinese with LANG=zh_CN.UTF-8, English otherwise.
set -uo pipefail
bin=$(cd "${1:?usage: start-suite.sh BIN_DIR}" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
state=$top/build/run
mkdir -p "$state"
export WINEPREFIX=${WINEPREFIX:-$state/prefix}
# shellcheck source=wine-env.sh
. "$top/scripts/wine-env.sh"

virtual=
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  n=90
  while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
  export DISPLAY=:$n
  echo "No X display found: starting a virtual one ($DISPLAY) with Xvfb."
  Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp >"$state/xvfb.log" 2>&1 < /dev/null &
  virtual=$!
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  openbox >"$state/openbox.log" 2>&1 < /dev/null &
fi

cleanup() {
  wineserver -k 2>/dev/null
  [ -n "$virtual" ] && kill "$virtual" 2>/dev/null
}
trap cleanup EXIT INT TERM

[ -d "$WINEPREFIX" ] || { echo "Creating the Wine prefix $WINEPREFIX (once)."; "$wine64" wineboot -i >/dev/null 2>&1; wineserver -w; }
# The dialogs ask for SimSun: show it with the CJK font that setup installs.
bash "$top/scripts/wine-fonts.sh" >"$state/fonts.log" 2>&1

echo "Opening the configuration dialog (VelmoraConfig.exe): OK stores the settings, Cancel changes nothing."
"$wine64" "$bin/VelmoraConfig.exe" >"$state/config.log" 2>&1 < /dev/null &

if [ -n "$virtual" ]; then
  # Wait for the dialog (where 32-bit code is emulated its start alone takes
  # seconds), then for it to be painted: two pictures of it in a row alike.
  # Wine names each X window's class after its program; the dialog is the
  # one that is not Wine's 1 x 1 input window.
  deadline=$((SECONDS + 180))
  dialog=
  until [ -n "$dialog" ]; do
    [ $SECONDS -lt $deadline ] || { echo "The configuration dialog did not appear (see $state/config.log)." >&2; exit 1; }
    sleep 0.1
    dialog=$(xwininfo -root -tree 2>/dev/null | awk '/\("velmoraconfig.exe" / && !/ 1x1\+/ {print $1; exit}')
  done
  shot=$state/screenshot.png
  previous= current=
  while [ $SECONDS -lt $deadline ]; do
    if import -display "$DISPLAY" -window "$dialog" "$state/dialog.ppm" 2>/dev/null; then
      current=$(md5sum < "$state/dialog.ppm")
      [ "$current" = "$previous" ] && break
      previous=$current
    fi
    sleep 0.5
  done
  convert "$state/dialog.ppm" "$shot" 2>/dev/null && echo "Picture of the dialog: $shot"
  rm -f "$state/dialog.ppm"
  if [ -t 0 ]; then
    read -r -p "The suite runs on the virtual display; press Enter to end it. " _
  fi
else
  echo "The suite runs until every program of it has ended (or press Ctrl+C here)."
  wineserver -w
fi
