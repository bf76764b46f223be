#!/usr/bin/env bash
# Builds the release a second time, from a copy of the sources in another
# folder with a fresh configure, and fails when any shipped file differs by
# a byte from the win32 build's (build/win32), naming the files that differ.
# Only what ships is built: the four programs, the help pages, the zip, the
# installer and SHA256SUMS. It also checks that SHA256SUMS matches the files
# it names, and that no build path, user name or host name is in any of
# them, inside the zip and the installer's decompressed data included.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd -P)
started=$SECONDS
jobs=$(nproc 2>/dev/null || echo 2)
fail() { printf 'reproducible: FAIL %s\n' "$*" >&2; exit 1; }

# The first build: the win32 build, up to date.
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs" --target package_release >/dev/null
first=$root/build/win32

# Both builds store the same time: the first takes SOURCE_DATE_EPOCH, else
# the last commit's time when the sources are a checkout of their own (as
# installer/source_date_epoch.cmake does); the copy, no checkout, is given it.
top=$(git -C "$root" rev-parse --show-toplevel 2>/dev/null || true)
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && [ -n "$top" ] && [ "$(cd "$top" && pwd -P)" = "$root" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
  export SOURCE_DATE_EPOCH
fi

# The second build: the sources copied (no build, no .git), configured afresh.
copy=$root/build/rebuild/velmora-src
rm -rf "$root/build/rebuild"
mkdir -p "$copy"
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$copy" -xf -
(cd "$copy" && cmake --preset win32 >/dev/null &&
  cmake --build --preset win32 -j "$jobs" --target package_release >/dev/null) ||
  fail "the second build in $copy failed"
second=$copy/build/win32

# What ships: SHA256SUMS and every file it names in package/, and the same
# programs and pages as the build leaves them in bin/.
sums=$first/package/SHA256SUMS
[ -s "$sums" ] || fail "$sums is missing"
(cd "$first/package" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files it names"
files=(package/SHA256SUMS)
while read -r _ name; do
  files+=("package/$name")
  case "$name" in */*) files+=("bin/${name##*/}") ;; esac
done < "$sums"
for want in 'package/VelmoraSetup-*.exe' 'package/Velmora-*.zip' bin/Velmora.exe bin/VelmoraH.exe \
            bin/VelmoraConfig.exe bin/VelmoraUninstall.exe bin/index.html bin/Velmora_FAQS.html; do
  found=0
  for f in "${files[@]}"; do
    # shellcheck disable=SC2053
    [[ $f == $want ]] && found=1
  done
  [ $found -eq 1 ] || fail "SHA256SUMS names nothing for $want"
done

differ=0
for f in "${files[@]}"; do
  cmp -s "$first/$f" "$second/$f" && continue
  where=$(cmp "$first/$f" "$second/$f" 2>&1 |
    sed -n 's/.* differ: \(byte [0-9]*\).*/first at \1/p;s/.*No such file.*/missing in one build/p' || true)
  printf 'reproducible: differs: %s (%s)\n' "$f" "$where" >&2
  differ=$((differ + 1))
done

# Nothing of the machine in the artefacts: the build paths (the copy's is
# below the first's), the home folder, the user and host names. Names
# shorter than 4 characters are not looked for: they match stray bytes of
# compressed data.
look=$(mktemp -d)
trap 'rm -rf "$look"' EXIT
paths=("$root")
[ "$(pwd -L)" = "$root" ] || paths+=("$(pwd -L)")
[ ${#HOME} -ge 4 ] && paths+=("$HOME")
names=()
for n in "$(id -un)" "$(uname -n)"; do
  [ ${#n} -ge 4 ] && names+=("$n")
done

zip=$(ls "$first"/package/Velmora-*.zip)
setup=$(ls "$first"/package/VelmoraSetup-*.exe)
{ unzip -p "$zip" > "$look/inside the zip" && [ -s "$look/inside the zip" ]; } || fail "unzip could not read $zip"
# The installer's data is one LZMA stream after NSIS's first header (28
# bytes, found by its signature); its 5 property bytes give the decoder's
# settings. The stream has no end marker, so xz reads on into the trailing
# CRC and calls the data corrupt: what it decoded is checked instead.
offset=$(LC_ALL=C grep -obUa 'NullsoftInst' "$setup" | head -n 1 | cut -d: -f1)
[ -n "$offset" ] || fail "no NSIS header in $setup"
start=$((offset - 8 + 28))
read -r props d0 d1 d2 d3 < <(od -An -tu1 -j "$start" -N 5 "$setup")
lc=$((props % 9)) lp=$((props / 9 % 5)) pb=$((props / 45))
dict=$((d0 + (d1 << 8) + (d2 << 16) + (d3 << 24)))
data="$look/inside the installer"
tail -c +$((start + 6)) "$setup" |
  xz -dc --format=raw --lzma1=lc=$lc,lp=$lp,pb=$pb,dict=$dict > "$data" 2>/dev/null || true
grep -qF 'Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora' <<<"$(strings -a -e l "$data")" ||
  fail "the installer's data could not be decompressed for the check"

leaks=0
for f in "${files[@]/#/$first/}" "$look/inside the zip" "$data"; do
  text=$(strings -a -n 4 "$f"; strings -a -n 4 -e l "$f")
  label=${f#"$first"/} label=${label#"$look"/}
  for p in "${paths[@]}"; do
    grep -qF -- "$p" <<<"$text" || continue
    printf 'reproducible: %s holds the path %s\n' "$label" "$p" >&2
    leaks=$((leaks + 1))
  done
  for n in "${names[@]}"; do
    grep -qwF -- "$n" <<<"$text" || continue
    printf 'reproducible: %s holds the name %s\n' "$label" "$n" >&2
    leaks=$((leaks + 1))
  done
done

[ $differ -eq 0 ] ||
  fail "$differ of ${#files[@]} files differ between $first and $second (the copy is kept)"
[ $leaks -eq 0 ] || fail "the artefacts hold build paths or names of this machine"
rm -rf "$root/build/rebuild"
printf 'reproducible: %d files the same in both builds, no build path, user or host name in them (%d s)\n' \
  "${#files[@]}" $((SECONDS - started))
