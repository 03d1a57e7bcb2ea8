# GoogleTest: the installed one natively, built from Debian's source for Windows.
enable_testing()
if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()

# ombrel_test(name SOURCES ... LIBS ... LABELS ...): a GoogleTest program,
# only built where the build cannot be executed here. A Windows one runs
# through tests/support/wine-test.sh, which maps the test drives and restarts
# the Wine server of the run's prefix: such programs run one at a time.
function(ombrel_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gtest ombrel_flags)
  if(NOT OMBREL_CAN_RUN)
    return()
  endif()
  if(WIN32)
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/tests/support/wine-test.sh $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT 600)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
endfunction()
