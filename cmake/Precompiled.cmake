# Precompiled headers for the trees whose programs run the tests: the system and library headers were
# most of each unit's compile time (a test unit spent three quarters of it parsing them). Each set is
# compiled once per tree, in a target of its own, and reused by every target with the same flags. The
# shipped i686 tree includes plainly, so a unit that leaves out an include still fails to build there.
option(QUENBY_PRECOMPILED_HEADERS "Precompile the common headers (not in the shipped MinSizeRel tree)" ON)
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  set(QUENBY_PRECOMPILED_HEADERS OFF)
endif()

set(QUENBY_STD_HEADERS <algorithm> <filesystem> <fstream> <functional> <memory> <optional> <string>
  <vector>)
set(QUENBY_WIN_HEADERS <windows.h> <commctrl.h> <shellapi.h> <shlobj.h>)

# A target that only owns the precompiled set: the headers, and the flags its users share (through LINKS
# and OPTIONS). The optimisation level must be the same too: GCC 12 crashes on a set made at another.
function(quenby_precompiled name)
  cmake_parse_arguments(PCH "" "" "HEADERS;LINKS;OPTIONS" ${ARGN})
  if(NOT QUENBY_PRECOMPILED_HEADERS)
    return()
  endif()
  set(anchor ${CMAKE_BINARY_DIR}/${name}.cpp)
  file(WRITE ${anchor} "")
  add_library(${name} OBJECT ${anchor})
  target_link_libraries(${name} PRIVATE ${PCH_LINKS})
  target_compile_options(${name} PRIVATE ${QUENBY_WARNINGS} ${PCH_OPTIONS})
  target_precompile_headers(${name} PRIVATE ${PCH_HEADERS})
endfunction()

function(quenby_use_precompiled owner)
  if(QUENBY_PRECOMPILED_HEADERS)
    foreach(target ${ARGN})
      target_precompile_headers(${target} REUSE_FROM ${owner})
      # A user whose flags do not fit the set would silently parse the headers again.
      target_compile_options(${target} PRIVATE -Werror=invalid-pch)
    endforeach()
  endif()
endfunction()
