#!/usr/bin/env bash
# Installs what building, running and testing the suite needs on Debian or
# Ubuntu: only what is missing, so a second run changes nothing. Where the
# kernel cannot run 32-bit x86 code, it also lets QEMU's user-mode emulator
# run it (see "32-bit x86 code" below).
set -euo pipefail

say() { printf 'setup: %s\n' "$*"; }
die() { printf 'setup: error: %s\n' "$*" >&2; exit 1; }
is_root() { [ "$(id -u)" -eq 0 ]; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# apt-get install PACKAGE...: quietly, with its output kept for a failure.
apt_install() {
  local log
  log=$(mktemp)
  export DEBIAN_FRONTEND=noninteractive
  if ! { apt-get update -qq && apt-get install -y -qq --no-install-recommends "$@"; } >"$log" 2>&1; then
    tail -n 20 "$log" >&2
    rm -f "$log"
    die "apt-get install failed for: $*"
  fi
  rm -f "$log"
}

command -v apt-get >/dev/null && command -v dpkg >/dev/null ||
  die "this script needs a Debian or Ubuntu system (apt-get and dpkg)"

# Host tools and libraries, then the Windows side: the 32-bit programs, the
# x64 test programs and Wine.
host_pkgs=(cmake make g++ libgtest-dev libgmock-dev libbenchmark-dev
           clang libclang-rt-dev clang-tidy cppcheck gcovr
           g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix nsis zip unzip xz-utils
           xvfb openbox x11-utils imagemagick fonts-wqy-microhei fonts-wine locales)
wine_pkgs=(wine wine64 wine32:i386)

missing=()
for p in "${host_pkgs[@]}" "${wine_pkgs[@]}"; do
  installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  say "all packages already installed"
else
  is_root || die "missing packages (${missing[*]}): run this as root, it installs them with apt-get"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    say "adding the i386 architecture (Wine runs 32-bit programs with wine32:i386)"
    dpkg --add-architecture i386
  fi
  say "installing: ${missing[*]}"
  apt_install "${missing[@]}"
  say "packages installed"
fi

# The languages the suite is tested in. Wine takes a program's interface
# language from its LANG only where the host has that locale; Chinese text on
# a Wine command line also needs it.
for locale in zh_CN en_US; do
  if ! locale -a 2>/dev/null | grep -qx "$locale.utf8"; then
    is_root || die "the locale $locale.UTF-8 is missing: run this as root, it makes it with localedef"
    say "making the locale $locale.UTF-8"
    localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
  fi
done

# 32-bit x86 code. Wine starts every 32-bit Windows program with its i386
# loader, a 32-bit Linux program. Some kernels run 64-bit user code only
# (IA-32 emulation off): there every i386 program fails with "Exec format
# error", and only QEMU's user-mode emulator, registered for i386 programs
# with the kernel's binfmt_misc, can run them. Which way this host goes is
# decided by trying (i386_runs).
# shellcheck source=wine-env.sh
. "$(dirname "$0")/wine-env.sh"
binfmt=/proc/sys/fs/binfmt_misc
rule_name=qemu-i386
emulator=/usr/bin/qemu-i386-static
# Matches the ELF header of an i386 executable or shared object; "F" opens the
# emulator now, so the rule also works inside other mount namespaces.
rule=":$rule_name:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$emulator:F"

rule_enabled() { [ "$(head -n 1 "$binfmt/$rule_name" 2>/dev/null)" = enabled ]; }

[ -e "$i386_loader" ] || die "$i386_loader is missing although wine32:i386 is installed: reinstall libc6:i386"

if i386_runs; then
  if rule_enabled; then
    say "32-bit x86: emulated by QEMU ($binfmt/$rule_name is registered and enabled)"
  else
    say "32-bit x86: runs natively (the i386 loader $i386_loader starts)"
  fi
  exit 0
fi

# The emulated path: every step below is done only when it is missing.
why="the i386 loader $i386_loader does not start (this kernel runs no 32-bit x86 code)"
need_root() {
  is_root || die "$why, and $1: run this as root to set up QEMU's user-mode emulator"
}
if ! installed qemu-user-static; then
  need_root "qemu-user-static is not installed"
  say "installing qemu-user-static: $why"
  apt_install qemu-user-static
fi
if [ ! -e "$binfmt/register" ]; then
  need_root "binfmt_misc is not mounted on $binfmt"
  mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
    die "$why, and binfmt_misc cannot be mounted on $binfmt (the kernel lacks it, or this container may not mount it)"
fi
if [ ! -e "$binfmt/$rule_name" ]; then
  need_root "the i386 rule $rule_name is not registered with binfmt_misc"
  printf '%s' "$rule" > "$binfmt/register" 2>/dev/null ||
    die "$why, and registering $rule_name in $binfmt/register was refused"
elif ! rule_enabled; then
  need_root "the i386 rule $binfmt/$rule_name is disabled"
  echo 1 > "$binfmt/$rule_name" || die "$why, and $binfmt/$rule_name cannot be enabled"
fi
i386_runs || die "$why, and it still fails with QEMU registered as $binfmt/$rule_name"
say "32-bit x86: emulated by QEMU, because $why; $binfmt/$rule_name is registered"
