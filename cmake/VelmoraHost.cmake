# The host build: the core with its unit tests, warnings as errors, and the
# sanitizers unless a benchmark build turns them off.
option(VELMORA_SANITIZE "Build the core and its tests with AddressSanitizer and UBSan" ON)

set(VELMORA_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

function(velmora_host_flags target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(VELMORA_SANITIZE)
    target_compile_options(${target} PRIVATE ${VELMORA_SANITIZER_FLAGS})
    target_link_options(${target} PUBLIC ${VELMORA_SANITIZER_FLAGS})
  endif()
endfunction()
