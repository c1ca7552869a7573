# Compile-time checks with the 32-bit MinGW-w64 compiler, for data layouts that must match 32-bit
# Windows exactly (structures handed to 32-bit system libraries). The sources are compiled, never
# linked or run: a failing static_assert fails the build.
find_program(RSF_I686_CXX NAMES i686-w64-mingw32-g++-posix i686-w64-mingw32-g++)

# rsf_add_i686_compile_check(<name> <source>...): a target of that name, built by default, that
# compiles each source for 32-bit Windows with the project's src folder on the include path.
function(rsf_add_i686_compile_check name)
  if(NOT RSF_I686_CXX)
    message(WARNING "i686-w64-mingw32-g++ not found: the 32-bit check ${name} is left out")
    return()
  endif()
  set(objects)
  foreach(source IN LISTS ARGN)
    get_filename_component(path ${source} ABSOLUTE)
    get_filename_component(stem ${source} NAME_WE)
    set(object ${CMAKE_CURRENT_BINARY_DIR}/${name}/${stem}.i686.o)
    add_custom_command(OUTPUT ${object}
      COMMAND ${RSF_I686_CXX} -std=c++20 -Wall -Wextra -Wpedantic -Werror -I${PROJECT_SOURCE_DIR}/src
              -MD -MF ${object}.d -MT ${object} -c ${path} -o ${object}
      DEPENDS ${path}
      DEPFILE ${object}.d
      COMMENT "Checking ${source} with the 32-bit compiler" VERBATIM)
    list(APPEND objects ${object})
  endforeach()
  add_custom_target(${name} ALL DEPENDS ${objects})
endfunction()
