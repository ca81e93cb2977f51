# Windows builds (mingw-w64): the product (its libraries, Setup.exe and Uninstall.exe); the tools and the tests
# that run under Wine in files of their own.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)
set(QUENBY_STATIC_LINK -static -static-libgcc -static-libstdc++)
# Every function and datum in a section of its own, so that the shipped program's link keeps only what it
# reaches. The shipped build is also optimised across units at link time, in one partition: GCC 12 crashes
# when it splits this program into several.
add_compile_options(-ffunction-sections -fdata-sections)
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  set(CMAKE_INTERPROCEDURAL_OPTIMIZATION ON)
  add_link_options(-flto-partition=one)
  # Smaller still (BENCHMARKS.md, "Size of the shipped programs"): -Oz at compile and link time (the link
  # generates the code); no RTTI, since nothing asks a type's name or casts down (the compiler still makes the
  # type data that exceptions are caught by); no guards around function-local statics: the programs start no
  # thread.
  add_compile_options(-Oz $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti> $<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics>)
  add_link_options(-Oz)
endif()

enable_language(RC)
set(QUENBY_FORMS_DIR ${CMAKE_SOURCE_DIR}/src/wizard/forms)
file(GLOB QUENBY_RESOURCES CONFIGURE_DEPENDS ${QUENBY_FORMS_DIR}/*.rc)

# The pictures and icons are drawn at build time (ImageMagick) into the build tree; programs that show
# the forms (Setup.exe and the Windows tests) link the resources.
set(QUENBY_ARTWORK_DIR ${CMAKE_BINARY_DIR}/artwork)
set(QUENBY_ARTWORK ${QUENBY_ARTWORK_DIR}/splash.bmp ${QUENBY_ARTWORK_DIR}/backdrop.bmp
  ${QUENBY_ARTWORK_DIR}/program.ico ${QUENBY_ARTWORK_DIR}/setup.ico)
add_custom_command(OUTPUT ${QUENBY_ARTWORK}
  COMMAND bash ${QUENBY_FORMS_DIR}/artwork.sh ${QUENBY_ARTWORK_DIR}
  DEPENDS ${QUENBY_FORMS_DIR}/artwork.sh ${QUENBY_FORMS_DIR}/rle4.pl VERBATIM)
add_custom_target(quenby_artwork DEPENDS ${QUENBY_ARTWORK})
file(GLOB QUENBY_RESOURCE_INPUTS CONFIGURE_DEPENDS ${QUENBY_FORMS_DIR}/*.manifest)
set_source_files_properties(${QUENBY_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${QUENBY_ARTWORK};${QUENBY_RESOURCE_INPUTS}")
function(quenby_add_resources target)
  target_sources(${target} PRIVATE ${QUENBY_RESOURCES})
  target_include_directories(${target} PRIVATE ${QUENBY_ARTWORK_DIR} ${QUENBY_FORMS_DIR})
  add_dependencies(${target} quenby_artwork)
endfunction()

# The subsystems, each a library of its own; in-process tests link the very code Setup.exe runs.
# Only system DLLs that Windows itself protects (its KnownDLLs); LZ32.DLL and COMCTL32.DLL are loaded at
# run time, after the library search was limited to the system folder.
quenby_library(base)
quenby_library(publish quenby_base)
quenby_library(win quenby_base shell32 user32 gdi32 advapi32 kernel32 ole32 uuid)
quenby_library(ui quenby_win)
quenby_library(dirtree quenby_ui)
# What both programs need to account for and undo an installation: the sealed log, the removal of items.
quenby_library(undo quenby_win)
quenby_library(install quenby_undo)
quenby_library(wizard quenby_install quenby_dirtree)
# The uninstaller reaches the sealed log without the installation engine.
quenby_library(uninstall quenby_undo quenby_ui)
quenby_library(unattended quenby_install quenby_ui)
# The system headers and the standard library, for everything here that includes <windows.h>; the pure
# rules (base, publish) include neither and compile quickly as they are.
quenby_precompiled(quenby_pch_win HEADERS ${QUENBY_WIN_HEADERS} ${QUENBY_STD_HEADERS})
quenby_use_precompiled(quenby_pch_win quenby_win quenby_ui quenby_dirtree quenby_undo quenby_install quenby_wizard
  quenby_uninstall quenby_unattended)

if(EXISTS ${CMAKE_SOURCE_DIR}/src/main.cpp)
  add_executable(Setup WIN32 ${CMAKE_SOURCE_DIR}/src/main.cpp ${CMAKE_SOURCE_DIR}/src/library_errors.cpp)
  quenby_add_resources(Setup)
  target_link_libraries(Setup PRIVATE quenby_wizard quenby_unattended)
  target_compile_options(Setup PRIVATE ${QUENBY_WARNINGS})
  quenby_use_precompiled(quenby_pch_win Setup)
  target_link_options(Setup PRIVATE ${QUENBY_STATIC_LINK} -s -Wl,--gc-sections)
endif()

# The uninstaller that every installation registers, built beside Setup.exe over the same libraries.
add_executable(Uninstall WIN32 ${CMAKE_SOURCE_DIR}/src/uninstall_main.cpp ${CMAKE_SOURCE_DIR}/src/library_errors.cpp)
quenby_add_resources(Uninstall)
target_compile_definitions(Uninstall PRIVATE $<$<COMPILE_LANGUAGE:RC>:QUENBY_UNINSTALLER>)
target_link_libraries(Uninstall PRIVATE quenby_uninstall)
target_compile_options(Uninstall PRIVATE ${QUENBY_WARNINGS})
quenby_use_precompiled(quenby_pch_win Uninstall)
target_link_options(Uninstall PRIVATE ${QUENBY_STATIC_LINK} -s -Wl,--gc-sections)

include(cmake/WindowsTools.cmake)
include(cmake/WindowsTests.cmake)
