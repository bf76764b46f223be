#!/usr/bin/env bash
# The package's CMake scripts: the time the zip stores, the zip's bytes under
# another umask, time zone and file times, and SHA256SUMS.
# usage: package_scripts_test.sh INSTALLER_DIR ZIP_PROGRAM
set -u
scripts=$1 zip_program=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0 checked=0
ok() { printf 'ok   %s\n' "$1"; checked=$((checked + 1)); }
bad() { printf 'FAIL %s: %s\n' "$1" "$2"; failed=1; checked=$((checked + 1)); }

# A checkout whose last commit is at 1600000000, and a folder inside it.
repo=$work/repo
mkdir -p "$repo/inner"
git -C "$repo" init -q
echo x > "$repo/inner/file"
git -C "$repo" add -A
GIT_COMMITTER_DATE=@1600000000 GIT_AUTHOR_DATE=@1600000000 \
  git -C "$repo" -c user.name=t -c user.email=t@t commit -qm t
plain=$work/plain
mkdir -p "$plain"

epoch_of() {  # epoch_of SOURCE_DIR [SOURCE_DATE_EPOCH]: prints the file's time, or "error"
  local out=$work/epoch
  rm -f "$out"
  if [ $# -gt 1 ]; then
    SOURCE_DATE_EPOCH=$2 cmake -DSOURCE_DIR="$1" -DOUTPUT="$out" -P "$scripts/source_date_epoch.cmake" >/dev/null 2>&1
  else
    env -u SOURCE_DATE_EPOCH cmake -DSOURCE_DIR="$1" -DOUTPUT="$out" -P "$scripts/source_date_epoch.cmake" >/dev/null 2>&1
  fi || { echo error; return; }
  cat "$out"
}

# case | sources | SOURCE_DATE_EPOCH ("-": unset) | time expected
while IFS='|' read -r name dir sde want; do
  [ -n "$name" ] || continue
  if [ "$sde" = - ]; then got=$(epoch_of "$dir"); else got=$(epoch_of "$dir" "$sde"); fi
  if [ "$got" = "$want" ]; then ok "time: $name"; else bad "time: $name" "got $got, want $want"; fi
done <<CASES
the last commit's time|$repo|-|1600000000
SOURCE_DATE_EPOCH over the commit's time|$repo|1700000000|1700000000
no checkout: the fixed time|$plain|-|315532800
a folder inside another checkout: the fixed time|$repo/inner|-|315532800
a time before 1980 is raised to 1980|$plain|5|315532800
a time that is no number is refused|$plain|yesterday|error
CASES

# The same time again leaves the file as it was, so the zip is not remade.
out=$work/epoch
SOURCE_DATE_EPOCH=1700000000 cmake -DSOURCE_DIR="$plain" -DOUTPUT="$out" -P "$scripts/source_date_epoch.cmake" >/dev/null
touch -d @1000000000 "$out"
SOURCE_DATE_EPOCH=1700000000 cmake -DSOURCE_DIR="$plain" -DOUTPUT="$out" -P "$scripts/source_date_epoch.cmake" >/dev/null
if [ "$(stat -c %Y "$out")" = 1000000000 ]; then ok "time: unchanged, the file is left alone"
else bad "time: unchanged, the file is left alone" "it was written again"; fi

# make_zip.cmake, twice: files of other modes and times, another umask and
# time zone, a stale zip and stage. Both zips must be the same bytes, hold
# only the given files, sorted, with mode 0644, the given time read as UTC,
# and no extra fields (owner, access or change times).
make_zip() {  # make_zip RUN UMASK TZ MODE FILETIME
  local pkg=$work/pkg$1
  mkdir -p "$pkg/src" "$pkg/V-1"
  printf 'second\n' > "$pkg/src/b.exe"
  printf 'first\n' > "$pkg/src/A.html"
  chmod "$4" "$pkg/src/b.exe" "$pkg/src/A.html"
  touch -d "@$5" "$pkg/src/b.exe" "$pkg/src/A.html"
  echo 1700000000 > "$pkg/epoch"
  echo stale > "$pkg/V-1/stale.txt"
  (cd "$pkg/V-1" && "$zip_program" -q ../out.zip stale.txt)
  (umask "$2"; TZ=$3 cmake -DPACKAGE_DIR="$pkg" -DNAME=V-1 -DZIP="$pkg/out.zip" -DZIP_PROGRAM="$zip_program" \
    -DEPOCH_FILE="$pkg/epoch" "-DFILES=$pkg/src/b.exe|$pkg/src/A.html" -P "$scripts/make_zip.cmake" >/dev/null)
}
make_zip 1 022 UTC0 0755 1200000000
make_zip 2 077 Asia/Tokyo 0600 1300000000
zip1=$work/pkg1/out.zip
if cmp -s "$zip1" "$work/pkg2/out.zip"; then ok "zip: the same bytes"; else bad "zip: the same bytes" "the two zips differ"; fi
listing=$(TZ=UTC0 zipinfo -T "$zip1" 2>&1 | awk '/^-/ {print $1, $7, $8}')
want_listing="-rw-r--r-- 20231114.221320 V-1/A.html
-rw-r--r-- 20231114.221320 V-1/b.exe"
if [ "$listing" = "$want_listing" ]; then ok "zip: sorted members, mode 0644, the commit's time"
else bad "zip: sorted members, mode 0644, the commit's time" "zipinfo says: $listing"; fi
extra=$(zipinfo -v "$zip1" | grep -c 'length of extra field: *[1-9]')
if [ "$extra" = 0 ]; then ok "zip: no extra fields"; else bad "zip: no extra fields" "$extra members have some"; fi

# write_sums.cmake: sha256sum -c reads it, and it catches a changed file.
pkg=$work/pkg1
cmake -DPACKAGE_DIR="$pkg" -DOUTPUT="$pkg/SHA256SUMS" "-DFILES=out.zip|V-1/A.html|V-1/b.exe" \
  -P "$scripts/write_sums.cmake" >/dev/null
if (cd "$pkg" && sha256sum --quiet -c SHA256SUMS) && [ "$(wc -l < "$pkg/SHA256SUMS")" = 3 ]; then
  ok "sums: sha256sum -c accepts all three lines"
else bad "sums: sha256sum -c accepts all three lines" "$(cat "$pkg/SHA256SUMS")"; fi
echo changed >> "$pkg/V-1/b.exe"
if (cd "$pkg" && sha256sum --quiet -c SHA256SUMS >/dev/null 2>&1); then bad "sums: a changed file fails" "it passed"
else ok "sums: a changed file fails"; fi

[ "$checked" -gt 0 ] || { echo "FAIL nothing checked"; exit 1; }
exit $failed
