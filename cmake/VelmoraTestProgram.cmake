# The Windows test programs of the end-to-end tests, of either bitness:
# GoogleTest from the system's sources, and velmora_test_program(TARGET) for
# warnings as errors, no MinGW DLL at run time, and the program directory.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

function(velmora_test_program target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  target_link_options(${target} PRIVATE -static)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELMORA_BIN_DIR})
endfunction()
