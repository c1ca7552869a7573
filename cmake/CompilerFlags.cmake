# Warning and sanitizer flags, carried by INTERFACE targets that every project target links.
add_library(rsf_warnings INTERFACE)
target_compile_options(rsf_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(RSF_WERROR)
  target_compile_options(rsf_warnings INTERFACE -Werror)
endif()

add_library(rsf_sanitizers INTERFACE)
if(ENABLE_ASAN)
  target_compile_options(rsf_sanitizers INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(rsf_sanitizers INTERFACE -fsanitize=address,undefined)
endif()
if(ENABLE_TSAN)
  if(ENABLE_ASAN)
    message(FATAL_ERROR "ENABLE_TSAN and ENABLE_ASAN cannot be combined")
  endif()
  # The ASPI request blocks carry fences that ThreadSanitizer does not model; the completion
  # events they go with synchronise through a mutex, which it does.
  target_compile_options(rsf_sanitizers INTERFACE -fsanitize=thread -fno-omit-frame-pointer -Wno-tsan)
  target_link_options(rsf_sanitizers INTERFACE -fsanitize=thread)
endif()
