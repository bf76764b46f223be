#!/usr/bin/env bash
# Maps the dialogs' font SimSun ("宋体") to WenQuanYi Micro Hei in the Wine
# prefix of $WINEPREFIX, so that their Chinese texts show. Safe to repeat.
set -euo pipefail
# shellcheck source=wine-env.sh
. "$(dirname "$0")/wine-env.sh"
reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"SimSun"="WenQuanYi Micro Hei"\r\n"\xe5\xae\x8b\xe4\xbd\x93"="WenQuanYi Micro Hei"\r\n' |
  iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
"$wine64" regedit /S "$("$wine64" winepath -w "$reg" 2>/dev/null)" < /dev/null
