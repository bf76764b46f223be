#!/usr/bin/env bash
# Installs what building, running and testing the suite needs on Debian or
# Ubuntu: only what is missing, so a second run changes nothing.
set -euo pipefail

say() { printf 'setup: %s\n' "$*"; }
die() { printf 'setup: error: %s\n' "$*" >&2; exit 1; }


command -v apt-get >/dev/null && command -v dpkg >/dev/null ||
  die "this script needs a Debian or Ubuntu system (apt-get and dpkg)"

# Host tools and libraries, then the 32-bit Windows side.
host_pkgs=(cmake make g++ libgtest-dev libgmock-dev libbenchmark-dev
           clang libclang-rt-dev clang-tidy cppcheck gcovr
           g++-mingw-w64-i686 binutils-mingw-w64-i686 nsis
           xvfb openbox x11-utils imagemagick fonts-wqy-microhei)
wine_pkgs=(wine wine64 wine32:i386)

missing=()
for p in "${host_pkgs[@]}" "${wine_pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  say "all packages already installed"
  exit 0
fi
[ "$(id -u)" -eq 0 ] || die "missing packages (${missing[*]}): run this as root, it installs them with apt-get"

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  say "adding the i386 architecture (Wine runs 32-bit programs with wine32:i386)"
  dpkg --add-architecture i386
fi
say "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq || die "apt-get update failed"
apt-get install -y -qq --no-install-recommends "${missing[@]}" ||
  die "apt-get install failed for: ${missing[*]}"
say "done"
