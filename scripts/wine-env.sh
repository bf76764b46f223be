# The environment of every Wine command of the project; source it before
# starting Wine.
# Quiet, and no prompts to install Mono or Gecko.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Where QEMU's user-mode emulator runs 32-bit x86 code (see scripts/setup.sh),
# Wine's start-up probes the whole 4 GB address space of an emulated process
# one mapping at a time: about a minute per process. Reserving just over the
# 2 GB a 32-bit Windows program can use cuts that to seconds; less and Wine
# cannot map its shared data. Nothing else reads this variable.
export QEMU_RESERVED_VA=0x81000000
# The 64-bit loader starts 64-bit programs (wineboot, regedit, the x64 test
# programs) itself and hands 32-bit ones to the 32-bit loader. Debian's
# "wine" always starts the 32-bit loader first, a detour of seconds where
# 32-bit code is emulated.
wine64=$(command -v /usr/lib/wine/wine64 wine64 wine 2>/dev/null | head -n 1)
# Whether this host starts 32-bit x86 programs, as Wine's 32-bit loader is
# one: the i386 dynamic loader (from libc6:i386, which wine32:i386 brings)
# prints its version where 32-bit code runs, natively or through QEMU.
i386_loader=/lib/ld-linux.so.2
i386_runs() { timeout 120 "$i386_loader" --version >/dev/null 2>&1; }
