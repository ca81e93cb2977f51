# Windows build: the programs the tests start in both trees, then, in the x86_64 tree, the test programs and
# their ctest entries (cmake/TestEntries.cmake).
include(cmake/TestEntries.cmake)

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
      # The removal's decisions are tested in-process, as the engine's are.
      target_link_libraries(${kind}_${test_name} PRIVATE quenby_testsupport quenby_uninstall gtest_main)
      target_compile_options(${kind}_${test_name} PRIVATE ${QUENBY_WARNINGS} ${QUENBY_TEST_CODE_OPTIONS})
      target_link_options(${kind}_${test_name} PRIVATE ${QUENBY_STATIC_LINK})
      quenby_use_precompiled(quenby_pch_wintests ${kind}_${test_name})
      quenby_test_entries(${kind} ${test_name} ${test_source})
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
