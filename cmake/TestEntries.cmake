# The ctest entries of one Windows test program, declared by the test's own source in lines of the form
#
#   // ctest SUFFIX [shipped] FILTER    an entry <kind>.<test>SUFFIX running the gtest FILTER; with `shipped`,
#                                       on the shipped i686 build (its Setup.exe and Uninstall.exe)
#   // ctest env NAME=VALUE             an environment variable for every entry of the program
#
# The program's own entry <kind>.<test> runs whatever no x86_64 entry of its own runs. A program that declares
# nothing has that one entry. A script beside the test (<test>.prepare.sh) sets up drives, mounts or registry
# before Wine starts.
function(quenby_test_entries kind test_name test_source)
  set(program ${kind}_${test_name})
  set(env "QUENBY_BUILD_DIR=${CMAKE_BINARY_DIR};QUENBY_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  get_filename_component(test_dir ${test_source} DIRECTORY)
  if(EXISTS ${test_dir}/${test_name}.prepare.sh)
    list(APPEND env "QUENBY_PREPARE=${test_dir}/${test_name}.prepare.sh")
  endif()
  file(STRINGS ${test_source} declared REGEX "^// ctest ")
  set(entries "")
  set(own_filter "")
  foreach(line ${declared})
    string(REGEX REPLACE "^// ctest +" "" line "${line}")
    separate_arguments(words UNIX_COMMAND "${line}")
    list(GET words 0 suffix)
    list(GET words -1 filter)
    if(suffix STREQUAL "env")
      list(APPEND env "${filter}")
    elseif("shipped" IN_LIST words)
      if(QUENBY_SHIPPED_BUILD_DIR)
        list(APPEND entries "${suffix}|${QUENBY_SHIPPED_BUILD_DIR}|${filter}")
      endif()
    else()
      list(APPEND entries "${suffix}|${CMAKE_BINARY_DIR}|${filter}")
      string(APPEND own_filter ":${filter}")
    endif()
  endforeach()
  if(own_filter)
    string(SUBSTRING "${own_filter}" 1 -1 own_filter)
    list(PREPEND entries "|${CMAKE_BINARY_DIR}|-${own_filter}")
  else()
    list(PREPEND entries "|${CMAKE_BINARY_DIR}|*")
  endif()
  foreach(entry ${entries})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 suffix)
    list(GET parts 1 setup_dir)
    list(GET parts 2 filter)
    add_test(NAME ${kind}.${test_name}${suffix} COMMAND ${program})
    # Up to fifteen minutes: every 32-bit start is emulated here.
    set_tests_properties(${kind}.${test_name}${suffix} PROPERTIES TIMEOUT 900
      ENVIRONMENT "${env};QUENBY_SETUP_BUILD_DIR=${setup_dir};GTEST_FILTER=${filter}")
    if(kind STREQUAL "e2e")
      # The long ones first, so that the short ones fill the gaps at the end.
      set_tests_properties(${kind}.${test_name}${suffix} PROPERTIES COST 100)
    endif()
  endforeach()
endfunction()
