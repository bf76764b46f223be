# How the shipped programs are built: small, no C++ runtime beyond headers,
# no MinGW DLL at run time, warnings as errors.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

set(VELMORA_BIN_DIR ${CMAKE_BINARY_DIR}/bin)

target_compile_options(velmora_flags INTERFACE
  -Os -Wall -Wextra -Werror -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
  -fno-threadsafe-statics -ffunction-sections -fdata-sections)

# The programs' file names, as resources/names.h gives them to the programs
# that start or look for one another: a program is built under one of them.
file(STRINGS ${CMAKE_SOURCE_DIR}/resources/names.h velmora_program_files REGEX "^#define VELMORA_[A-Z_]+_FILE ")
list(TRANSFORM velmora_program_files REPLACE "^#define [A-Z_]+ \"(.*)\"$" "\\1")
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/names.h)

# velmora_program(NAME DESCRIPTION source...): one program with its version
# resource and manifest.
function(velmora_program name description)
  if(NOT "${name}.exe" IN_LIST velmora_program_files)
    message(FATAL_ERROR "${name}.exe is not one of the programs resources/names.h names: ${velmora_program_files}")
  endif()
  set(VELMORA_PROGRAM ${name})
  set(VELMORA_DESCRIPTION ${description})
  set(rc ${CMAKE_BINARY_DIR}/resources/${name}_version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/resources/version.rc.in ${rc} @ONLY)
  add_executable(${name} WIN32 ${ARGN} ${rc})
  set_source_files_properties(${rc} PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/version.h;${CMAKE_SOURCE_DIR}/resources/asinvoker.manifest")
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/resources)
  target_link_libraries(${name} PRIVATE velmora_flags)
  # No link time in the PE header (its time stamp stays 0): two builds of the
  # same sources give the same bytes. Marked as aware of terminal services, so
  # that a Remote Desktop session host runs them as they are, without its
  # compatibility layer.
  target_link_options(${name} PRIVATE -static -s -Wl,--gc-sections -Wl,--no-insert-timestamp -Wl,--tsaware)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELMORA_BIN_DIR})
  set_property(GLOBAL APPEND PROPERTY VELMORA_SHIPPED ${name}.exe)
  set_property(GLOBAL APPEND PROPERTY VELMORA_SHIPPED_TARGETS ${name})
endfunction()

# velmora_ship(file...): files that ship beside the programs (help pages):
# copied into the program directory and packaged with it.
function(velmora_ship)
  foreach(source IN LISTS ARGN)
    get_filename_component(name ${source} NAME)
    configure_file(${source} ${VELMORA_BIN_DIR}/${name} COPYONLY)
    set_property(GLOBAL APPEND PROPERTY VELMORA_SHIPPED ${name})
  endforeach()
endfunction()
