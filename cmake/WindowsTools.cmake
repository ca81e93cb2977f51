# Windows build, beside the product: the publisher's tools, the sample product, and the programs the demo and
# the benchmarks run.

# The publisher's tools, Windows build, in both trees (the i686 ones ship to publishers): they hash with
# Setup.exe's own SHA-256 (win/Sha256.h).
set(QUENBY_PACK_SHARED ${CMAKE_SOURCE_DIR}/pack/CheckReport.cpp ${CMAKE_SOURCE_DIR}/pack/FileDigestWin.cpp)
add_executable(quenby-pack ${CMAKE_SOURCE_DIR}/pack/quenby-pack.cpp ${QUENBY_PACK_SHARED})
target_link_libraries(quenby-pack PRIVATE quenby_publish quenby_win)
target_compile_options(quenby-pack PRIVATE ${QUENBY_WARNINGS})
target_link_options(quenby-pack PRIVATE ${QUENBY_STATIC_LINK})

# The sample product that examples/ distributes.
add_executable(orrery WIN32 ${CMAKE_SOURCE_DIR}/examples/orrery/src/orrery.cpp)
target_link_options(orrery PRIVATE ${QUENBY_STATIC_LINK} -s)
add_library(orrshare SHARED ${CMAKE_SOURCE_DIR}/examples/orrery/src/orrshare.cpp)
set_target_properties(orrshare PROPERTIES PREFIX "")
target_link_options(orrshare PRIVATE ${QUENBY_STATIC_LINK} -s)

# The publisher's checking tool: reads the instructions with Setup.exe's own reading code.
add_executable(quenby-check ${CMAKE_SOURCE_DIR}/pack/quenby-check.cpp ${QUENBY_PACK_SHARED})
target_link_libraries(quenby-check PRIVATE quenby_install quenby_publish)
target_compile_options(quenby-check PRIVATE ${QUENBY_WARNINGS})
target_link_options(quenby-check PRIVATE ${QUENBY_STATIC_LINK})


# The programs the demo and the benchmarks run: every tools/*.cpp is a program of its own.
file(GLOB QUENBY_TOOLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*.cpp)
file(GLOB QUENBY_TOOL_LIB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/lib/*.cpp)
add_library(quenby_toollib STATIC ${QUENBY_TOOL_LIB_SOURCES})
target_include_directories(quenby_toollib PUBLIC ${CMAKE_SOURCE_DIR}/tools/lib)
# The driver may import the common controls; Setup.exe loads them at run time.
target_link_libraries(quenby_toollib PUBLIC quenby_wizard quenby_publish comctl32)
target_compile_options(quenby_toollib PRIVATE ${QUENBY_WARNINGS})
quenby_use_precompiled(quenby_pch_win quenby_toollib)
foreach(tool_source ${QUENBY_TOOLS})
  get_filename_component(tool_name ${tool_source} NAME_WE)
  add_executable(${tool_name} ${tool_source})
  target_link_libraries(${tool_name} PRIVATE quenby_toollib)
  target_compile_options(${tool_name} PRIVATE ${QUENBY_WARNINGS})
  target_link_options(${tool_name} PRIVATE ${QUENBY_STATIC_LINK})
  quenby_use_precompiled(quenby_pch_win ${tool_name})
endforeach()

# The shipped tree builds what ships (the publisher's tools included) and what its tests start; the demo's and
# the benchmarks' programs run from the x86_64 tree, so its slow whole-program optimisation is not spent on them.
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  foreach(tool_source ${QUENBY_TOOLS})
    get_filename_component(tool_name ${tool_source} NAME_WE)
    set_target_properties(${tool_name} PROPERTIES EXCLUDE_FROM_ALL ON)
  endforeach()
  set_target_properties(quenby_toollib PROPERTIES EXCLUDE_FROM_ALL ON)
endif()
