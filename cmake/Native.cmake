# Native (Linux) build: the portable rules and their tests, under the sanitizers.
if(QUENBY_SANITIZE)
  set(QUENBY_SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
endif()

quenby_library(base)
target_compile_options(quenby_base PUBLIC ${QUENBY_SAN_FLAGS})
target_link_options(quenby_base PUBLIC ${QUENBY_SAN_FLAGS})
quenby_library(publish quenby_base)

add_executable(base_tests ${QUENBY_BASE_TESTS})
target_link_libraries(base_tests PRIVATE quenby_publish gtest_main)
target_include_directories(base_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
target_compile_options(base_tests PRIVATE ${QUENBY_WARNINGS})
quenby_use_precompiled(quenby_pch_tests base_tests)
add_test(NAME native.base_tests COMMAND base_tests)

# Fuzz targets: each file under tests/fuzz defines LLVMFuzzerTestOneInput; the bounded
# random driver runs it for a fixed time under the sanitizers.
file(GLOB QUENBY_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
set(QUENBY_FUZZ_RUN_SECONDS 4 CACHE STRING "Seconds each fuzz target runs under ctest")
foreach(target_source ${QUENBY_FUZZ_TARGETS})
  get_filename_component(target_name ${target_source} NAME_WE)
  add_executable(${target_name} ${target_source} ${CMAKE_SOURCE_DIR}/tests/fuzz/driver/FuzzDriver.cpp)
  target_link_libraries(${target_name} PRIVATE quenby_publish)
  target_compile_options(${target_name} PRIVATE ${QUENBY_WARNINGS})
  add_test(NAME native.${target_name} COMMAND ${target_name} --seconds ${QUENBY_FUZZ_RUN_SECONDS})
endforeach()

# One ctest runs the Windows tests too: descend into the x86_64 Windows build's test tree.
if(QUENBY_WINDOWS_TESTS_DIR)
  file(WRITE ${CMAKE_BINARY_DIR}/WindowsTests.cmake "subdirs(\"${QUENBY_WINDOWS_TESTS_DIR}\")\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/WindowsTests.cmake)
endif()

# The shipped Setup.exe imports only Windows' known DLLs; the same check rejects a program that imports
# LZ32.DLL statically.
if(QUENBY_SHIPPED_BUILD_DIR)
  add_test(NAME native.setup_imports
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh ${QUENBY_SHIPPED_BUILD_DIR}/Setup.exe)
  # Uninstall.exe runs from the Windows directory, but by the same rule.
  add_test(NAME native.uninstall_imports
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh ${QUENBY_SHIPPED_BUILD_DIR}/Uninstall.exe)
  add_test(NAME native.import_check_rejects_lz32
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh ${QUENBY_SHIPPED_BUILD_DIR}/lz32_static_import.exe)
  set_tests_properties(native.import_check_rejects_lz32 PROPERTIES
    PASS_REGULAR_EXPRESSION "imports LZ32.DLL, which is not on the allow-list")
endif()

# The publisher's packing tool, native build: it hashes with OpenSSL's libcrypto.
find_package(OpenSSL REQUIRED COMPONENTS Crypto)
add_executable(quenby-pack ${CMAKE_SOURCE_DIR}/pack/quenby-pack.cpp ${CMAKE_SOURCE_DIR}/pack/CheckReport.cpp
  ${CMAKE_SOURCE_DIR}/pack/FileDigestOpenSsl.cpp)
target_link_libraries(quenby-pack PRIVATE quenby_publish OpenSSL::Crypto)
target_compile_options(quenby-pack PRIVATE ${QUENBY_WARNINGS})

# The sources as clang-format (.clang-format) makes them; a difference fails the run.
add_test(NAME native.format COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-format.sh)
