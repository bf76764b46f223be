# Writes the time the package stores (the zip's member times) to OUTPUT, as
# seconds since 1970 in UTC, and leaves OUTPUT untouched when it holds that
# time already, so the package is made again only when the time changes.
#   cmake -DSOURCE_DIR=... -DOUTPUT=... -P source_date_epoch.cmake
# The time is SOURCE_DATE_EPOCH when it is set, else the time of the last
# commit of SOURCE_DIR's git checkout, else 1980-01-01 00:00:00 UTC. A zip
# holds no earlier time, so an earlier one is raised to that.
set(earliest 315532800)

if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
  set(from "SOURCE_DATE_EPOCH")
  if(NOT epoch MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH is \"${epoch}\", not a number of seconds")
  endif()
else()
  set(epoch "")
  find_program(git_program git)
  if(git_program)
    # Only SOURCE_DIR's own checkout counts: sources unpacked inside some
    # other checkout take the fixed time, not that checkout's.
    execute_process(COMMAND ${git_program} -C ${SOURCE_DIR} rev-parse --show-toplevel
      RESULT_VARIABLE rc OUTPUT_VARIABLE top ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(rc EQUAL 0)
      file(REAL_PATH "${top}" top)
      file(REAL_PATH "${SOURCE_DIR}" source)
    endif()
    if(rc EQUAL 0 AND top STREQUAL source)
      execute_process(COMMAND ${git_program} -C ${SOURCE_DIR} log -1 --format=%ct
        RESULT_VARIABLE rc OUTPUT_VARIABLE epoch ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
      if(NOT rc EQUAL 0 OR NOT epoch MATCHES "^[0-9]+$")
        set(epoch "")
      endif()
    endif()
  endif()
  set(from "the last commit")
  if(epoch STREQUAL "")
    set(epoch ${earliest})
    set(from "no git checkout: the fixed time")
  endif()
endif()
if(epoch LESS earliest)
  set(epoch ${earliest})
endif()

set(old "")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} old)
endif()
if(NOT old STREQUAL "${epoch}\n")
  file(WRITE ${OUTPUT} "${epoch}\n")
  message(STATUS "Package time ${epoch} (${from})")
endif()
