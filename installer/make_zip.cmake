# Makes the portable zip from the program directory, the same bytes for the
# same files wherever and whenever it runs:
#   cmake -DPACKAGE_DIR=... -DNAME=Velmora-x.y.z -DZIP=... -DZIP_PROGRAM=...
#         -DEPOCH_FILE=... -DFILES=a|b|... -P make_zip.cmake
# The files are copied to PACKAGE_DIR/NAME, which the zip holds as its one
# folder. Every member gets the time in EPOCH_FILE and mode 0644, whatever
# the umask and the clone gave the files, and the members go in by sorted
# name. Info-ZIP's zip with -X stores no owner and no access or change
# times (CMake's archive command would store them from the files); -D stores
# no folder entries; TZ=UTC0 makes the zip's local times read as UTC.
string(REPLACE "|" ";" files "${FILES}")
file(READ ${EPOCH_FILE} epoch)
string(STRIP "${epoch}" epoch)
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "${EPOCH_FILE} holds no time: \"${epoch}\"")
endif()

set(stage ${PACKAGE_DIR}/${NAME})
file(REMOVE_RECURSE ${stage})
file(REMOVE ${ZIP})
file(MAKE_DIRECTORY ${stage})
file(COPY ${files} DESTINATION ${stage}
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

set(members "")
foreach(file IN LISTS files)
  get_filename_component(name ${file} NAME)
  list(APPEND members ${NAME}/${name})
endforeach()
list(SORT members)

execute_process(COMMAND touch -d @${epoch} ${members}
  WORKING_DIRECTORY ${PACKAGE_DIR} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "touch could not set the files' time to ${epoch}")
endif()

# zip reads extra options from ZIPOPT and ZIP: none may change the archive.
set(ENV{TZ} UTC0)
unset(ENV{ZIPOPT})
unset(ENV{ZIP})
execute_process(COMMAND ${ZIP_PROGRAM} -X -D -q -9 ${ZIP} ${members}
  WORKING_DIRECTORY ${PACKAGE_DIR} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "zip failed (${rc}) making ${ZIP}")
endif()
