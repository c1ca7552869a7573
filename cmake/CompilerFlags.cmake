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
