# Writes SHA256SUMS in the form `sha256sum -c` reads: one line for each of
# FILES, named by its path under PACKAGE_DIR.
#   cmake -DPACKAGE_DIR=... -DOUTPUT=... -DFILES=a|b|... -P write_sums.cmake
string(REPLACE "|" ";" files "${FILES}")
set(lines "")
foreach(name IN LISTS files)
  file(SHA256 ${PACKAGE_DIR}/${name} hash)
  string(APPEND lines "${hash}  ${name}\n")
endforeach()
file(WRITE ${OUTPUT} "${lines}")
