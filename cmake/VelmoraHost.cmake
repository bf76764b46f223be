# The host build's flags, on velmora_flags: warnings as errors, and the
# sanitizers unless a benchmark or fuzz build turns them off.
option(VELMORA_SANITIZE "Build the core and its tests with AddressSanitizer and UBSan" ON)

set(VELMORA_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

target_compile_options(velmora_flags INTERFACE -Wall -Wextra -Werror)
if(VELMORA_SANITIZE)
  target_compile_options(velmora_flags INTERFACE ${VELMORA_SANITIZER_FLAGS})
  target_link_options(velmora_flags INTERFACE ${VELMORA_SANITIZER_FLAGS})
endif()
