# GoogleTest from Debian's sources, built with the cross compiler.
set(VARNITO_GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${VARNITO_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(t gtest gmock)
  target_compile_options(${t} PRIVATE -Wno-error -fexec-charset=UTF-8)
endforeach()

# varnito_test(NAME SOURCES a.cpp ... LIBS lib ... [TIMEOUT s])
# One test program per subsystem; ctest runs it under Wine in the 64-bit build.
function(varnito_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} varnito_test_support gmock gtest)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(VARNITO_RUN_TESTS)
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    if(NOT T_TIMEOUT)
      set(T_TIMEOUT 600)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
endfunction()

# varnito_test_under_file_size_limit(NAME PROGRAM FILTER BYTES)
# Runs the tests of PROGRAM that FILTER names once more, under a limit of BYTES on the size of
# the files the program writes: a write past it is refused as a full disk refuses it. The
# tests learn the limit from VARNITO_FILE_SIZE_LIMIT (tests/support/run-with-file-size-limit).
function(varnito_test_under_file_size_limit name program filter bytes)
  if(VARNITO_RUN_TESTS)
    add_test(NAME ${name}
      COMMAND ${CMAKE_SOURCE_DIR}/tests/support/run-with-file-size-limit ${bytes}
              ${CMAKE_SOURCE_DIR}/tools/wine-run $<TARGET_FILE:${program}> --gtest_filter=${filter}
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    set_tests_properties(${name} PROPERTIES TIMEOUT 120)
  endif()
endfunction()

# varnito_test_on_small_volume(NAME PROGRAM FILTER BYTES)
# Runs the tests of PROGRAM that FILTER names once more with a volume of BYTES of their own, a
# full disk in the making; the tests learn its folder from VARNITO_SMALL_VOLUME
# (tests/support/run-on-small-volume).
function(varnito_test_on_small_volume name program filter bytes)
  if(VARNITO_RUN_TESTS)
    add_test(NAME ${name}
      COMMAND ${CMAKE_SOURCE_DIR}/tests/support/run-on-small-volume ${bytes}
              ${CMAKE_SOURCE_DIR}/tools/wine-run $<TARGET_FILE:${program}> --gtest_filter=${filter}
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    set_tests_properties(${name} PROPERTIES TIMEOUT 120)
  endif()
endfunction()

# varnito_fixtures(TARGET SCRIPT COMMENT)
# A target that runs the current folder's Python SCRIPT once with the folder
# ${CMAKE_BINARY_DIR}/tests/TARGET, where it makes the test archives with Debian's tools and,
# last, the file "made".
function(varnito_fixtures target script comment)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(folder ${CMAKE_BINARY_DIR}/tests/${target})
  add_custom_command(
    OUTPUT ${folder}/made
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/${script} ${folder}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${script}
    COMMENT "${comment}")
  add_custom_target(${target} DEPENDS ${folder}/made)
endfunction()
