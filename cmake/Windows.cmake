# Windows builds (mingw-w64): Setup.exe, the tools, and the tests that run under Wine.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)
set(QUENBY_STATIC_LINK -static -static-libgcc -static-libstdc++)
# Every function and datum in a section of its own, so that the shipped program's link keeps only what it
# reaches. The shipped build is also optimised across units at link time, in one partition: GCC 12 crashes
# when it splits this program into several.
add_compile_options(-ffunction-sections -fdata-sections)
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  set(CMAKE_INTERPROCEDURAL_OPTIMIZATION ON)
  add_link_options(-flto-partition=one)
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
  add_executable(Setup WIN32 ${CMAKE_SOURCE_DIR}/src/main.cpp)
  quenby_add_resources(Setup)
  target_link_libraries(Setup PRIVATE quenby_wizard quenby_unattended)
  target_compile_options(Setup PRIVATE ${QUENBY_WARNINGS})
  quenby_use_precompiled(quenby_pch_win Setup)
  target_link_options(Setup PRIVATE ${QUENBY_STATIC_LINK} -s -Wl,--gc-sections)
endif()

# The uninstaller that every installation registers, built beside Setup.exe over the same libraries.
add_executable(Uninstall WIN32 ${CMAKE_SOURCE_DIR}/src/uninstall_main.cpp)
quenby_add_resources(Uninstall)
target_link_libraries(Uninstall PRIVATE quenby_uninstall)
target_compile_options(Uninstall PRIVATE ${QUENBY_WARNINGS})
quenby_use_precompiled(quenby_pch_win Uninstall)
target_link_options(Uninstall PRIVATE ${QUENBY_STATIC_LINK} -s -Wl,--gc-sections)

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
# The fault the import check and the planting test guard against, made on purpose.
add_executable(lz32_static_import ${CMAKE_SOURCE_DIR}/tests/programs/lz32_static_import.cpp)
target_link_libraries(lz32_static_import PRIVATE lz32)
target_link_options(lz32_static_import PRIVATE ${QUENBY_STATIC_LINK})

# A planted lz32.dll for the planting tests, in a folder of its own so that nothing loads it by chance; the
# i686 tree's for the runs on the shipped Setup.exe.
add_library(planted_lz32 SHARED ${CMAKE_SOURCE_DIR}/tests/programs/planted_lz32.cpp)
set_target_properties(planted_lz32 PROPERTIES PREFIX "" OUTPUT_NAME lz32
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
# Undecorated names, as the system LZ32.DLL exports them (i686 stdcall would add "@N").
target_link_options(planted_lz32 PRIVATE ${QUENBY_STATIC_LINK} -Wl,--kill-at)

# vlib.dll in versions 1.0 and 2.0 (vlib1/, vlib2/) for the tests of shared files.
foreach(major 1 2)
  add_library(vlib${major} SHARED ${CMAKE_SOURCE_DIR}/tests/programs/vlib.cpp ${CMAKE_SOURCE_DIR}/tests/programs/vlib.rc)
  target_compile_definitions(vlib${major} PRIVATE VLIB_MAJOR=${major})
  set_target_properties(vlib${major} PROPERTIES PREFIX "" OUTPUT_NAME vlib
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/vlib${major}
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/vlib${major})
  target_link_options(vlib${major} PRIVATE ${QUENBY_STATIC_LINK} -s)
endforeach()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  # The test build: the portable tests again (with a few rules of quenby_win), then one program per other file
  # under tests/win and tests/e2e, each run by ctest through the Wine runner in a fresh copy of the test prefix.
  target_compile_options(gtest PRIVATE ${QUENBY_TEST_CODE_OPTIONS})
  target_compile_options(gtest_main PRIVATE ${QUENBY_TEST_CODE_OPTIONS})
  # Rules of quenby_win that ask the system only for conversions, no prefix state: here rather than in a
  # program of their own, since every test program costs a link.
  set(QUENBY_WIN_RULE_TESTS ${CMAKE_SOURCE_DIR}/tests/win/PathCompare_test.cpp)
  add_executable(win_base_tests ${QUENBY_BASE_TESTS} ${QUENBY_WIN_RULE_TESTS})
  target_link_libraries(win_base_tests PRIVATE quenby_publish quenby_win gtest_main)
  target_include_directories(win_base_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  target_link_options(win_base_tests PRIVATE ${QUENBY_STATIC_LINK})
  target_compile_options(win_base_tests PRIVATE ${QUENBY_TEST_CODE_OPTIONS})
  quenby_use_precompiled(quenby_pch_tests win_base_tests)
  add_test(NAME win.base_tests COMMAND win_base_tests)

  # quenby-check on the sample: its checksums good, a flipped byte reported (with --quiet and exit code 1).
  add_test(NAME win.quenby_check_test COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win/quenby_check_test.sh)
  set_tests_properties(win.quenby_check_test PROPERTIES TIMEOUT 300
    ENVIRONMENT "QUENBY_BUILD_DIR=${CMAKE_BINARY_DIR};QUENBY_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  # The sample's plain set compressed by quenby-pack compress --ipi installs byte for byte; again with the
  # shipped tree's i686 tools.
  foreach(tools_dir ${CMAKE_BINARY_DIR} ${QUENBY_SHIPPED_BUILD_DIR})
    set(compress_test win.compress_ipi_test)
    if(NOT tools_dir STREQUAL CMAKE_BINARY_DIR)
      set(compress_test win.compress_ipi_test.i686)
    endif()
    add_test(NAME ${compress_test} COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win/compress_ipi_test.sh)
    set_tests_properties(${compress_test} PROPERTIES TIMEOUT 300 ENVIRONMENT
      "QUENBY_BUILD_DIR=${CMAKE_BINARY_DIR};QUENBY_SOURCE_DIR=${CMAKE_SOURCE_DIR};QUENBY_TOOLS_DIR=${tools_dir}")
  endforeach()

  file(GLOB QUENBY_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
  add_library(quenby_testsupport STATIC ${QUENBY_TEST_SUPPORT})
  target_include_directories(quenby_testsupport PUBLIC ${CMAKE_SOURCE_DIR}/tests/support)
  target_link_libraries(quenby_testsupport PUBLIC quenby_toollib gtest)
  target_compile_options(quenby_testsupport PRIVATE ${QUENBY_TEST_CODE_OPTIONS})
  quenby_precompiled(quenby_pch_wintests HEADERS ${QUENBY_WIN_HEADERS} <gtest/gtest.h> ${QUENBY_STD_HEADERS}
    LINKS gtest OPTIONS ${QUENBY_TEST_CODE_OPTIONS})
  quenby_use_precompiled(quenby_pch_wintests quenby_testsupport)

  foreach(kind win e2e)
    file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${kind}/*_test.cpp)
    list(REMOVE_ITEM test_sources ${QUENBY_WIN_RULE_TESTS})
    foreach(test_source ${test_sources})
      get_filename_component(test_name ${test_source} NAME_WE)
      add_executable(${kind}_${test_name} ${test_source})
      quenby_add_resources(${kind}_${test_name})
      target_link_libraries(${kind}_${test_name} PRIVATE quenby_testsupport gtest_main)
      target_compile_options(${kind}_${test_name} PRIVATE ${QUENBY_WARNINGS} ${QUENBY_TEST_CODE_OPTIONS})
      target_link_options(${kind}_${test_name} PRIVATE ${QUENBY_STATIC_LINK})
      quenby_use_precompiled(quenby_pch_wintests ${kind}_${test_name})
      # Tests find tools and sample files through these; Setup.exe, the sample product and the planted
      # DLL in QUENBY_SETUP_BUILD_DIR.
      set(test_env "QUENBY_BUILD_DIR=${CMAKE_BINARY_DIR};QUENBY_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
      # A test that needs drives, mounts or registry set up before Wine starts has a script beside it.
      get_filename_component(test_dir ${test_source} DIRECTORY)
      if(EXISTS ${test_dir}/${test_name}.prepare.sh)
        list(APPEND test_env "QUENBY_PREPARE=${test_dir}/${test_name}.prepare.sh")
      endif()
      # Wine prefers its builtin system DLLs; the planting test needs Windows' order: a DLL beside the program first.
      if(test_name STREQUAL "planting_test")
        list(APPEND test_env "QUENBY_DLLOVERRIDES=winemenubuilder.exe=d\;lz32=n,b")
      endif()
      # The removal's decisions are tested in-process, as the engine's are.
      if(test_name STREQUAL "Uninstaller_test")
        target_link_libraries(${kind}_${test_name} PRIVATE quenby_uninstall)
      endif()
      add_test(NAME ${kind}.${test_name} COMMAND ${kind}_${test_name})
      set_tests_properties(${kind}.${test_name} PROPERTIES
        ENVIRONMENT "${test_env};QUENBY_SETUP_BUILD_DIR=${CMAKE_BINARY_DIR}" TIMEOUT 900)
      # The road and the planting test run again on the shipped i686 Setup.exe (and the in-use files of the media
      # test): the whole road only, since
      # every 32-bit start is emulated here (the cancels take the same code on either build); and the removal
      # whose shared-file counts must land in the 64-bit view from the 32-bit programs; and the destinations
      # the shipped Setup.exe refuses or spells as one.
      if(QUENBY_SHIPPED_BUILD_DIR AND test_name MATCHES "^(road|planting|uninstall|unattended|media)_test$")
        set(shipped_env "${test_env};QUENBY_SETUP_BUILD_DIR=${QUENBY_SHIPPED_BUILD_DIR}")
        if(test_name STREQUAL "road_test")
          list(APPEND shipped_env "GTEST_FILTER=RoadE2e.WholeRoad*")
        elseif(test_name STREQUAL "uninstall_test")
          list(APPEND shipped_env "GTEST_FILTER=UninstallE2e.SharedFilesStay*:UninstallE2e.AnOldSpellings*")
        elseif(test_name STREQUAL "media_test")
          list(APPEND shipped_env "GTEST_FILTER=MediaE2e.SharedFiles*")
        elseif(test_name STREQUAL "unattended_test")
          list(APPEND shipped_env "GTEST_FILTER=UnattendedE2e.ADestinationWithout*:UnattendedE2e.OneFolder*:UnattendedE2e.AFailedRun*:UnattendedE2e.TheDeploymentTools*:UnattendedE2e.ARunCutOff*")
        endif()
        add_test(NAME ${kind}.${test_name}.i686 COMMAND ${kind}_${test_name})
        set_tests_properties(${kind}.${test_name}.i686 PROPERTIES ENVIRONMENT "${shipped_env}" TIMEOUT 900)
      endif()
    endforeach()
  endforeach()

  # The demo as the README's test command runs it, headless, in a prefix of its own: its checks are the
  # demo_check program's, which compares the prefix before Setup.exe and after Uninstall.exe.
  add_executable(demo_check ${CMAKE_SOURCE_DIR}/tests/e2e/demo_check.cpp)
  target_link_libraries(demo_check PRIVATE quenby_testsupport)
  target_compile_options(demo_check PRIVATE ${QUENBY_WARNINGS} ${QUENBY_TEST_CODE_OPTIONS})
  target_link_options(demo_check PRIVATE ${QUENBY_STATIC_LINK})
  if(QUENBY_SHIPPED_BUILD_DIR)
    get_filename_component(build_root ${CMAKE_BINARY_DIR} DIRECTORY)
    add_test(NAME e2e.demo COMMAND env -u DISPLAY QUENBY_BUILD_ROOT=${build_root} QUENBY_DEMO_BUILT=1 bash ${CMAKE_SOURCE_DIR}/scripts/demo.sh)
    # Started first: with the emulated 32-bit programs it is among the longest.
    set_tests_properties(e2e.demo PROPERTIES TIMEOUT 900 COST 1000)
  endif()
endif()

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

# The shipped tree builds what ships (the publisher's tools included) and what its tests start; the demo's and
# the benchmarks' programs run from the x86_64 tree, so its slow whole-program optimisation is not spent on them.
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  foreach(tool_source ${QUENBY_TOOLS})
    get_filename_component(tool_name ${tool_source} NAME_WE)
    set_target_properties(${tool_name} PROPERTIES EXCLUDE_FROM_ALL ON)
  endforeach()
  set_target_properties(quenby_toollib PROPERTIES EXCLUDE_FROM_ALL ON)
endif()
