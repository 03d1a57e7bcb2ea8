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

# ombrel_test(name SOURCES ... LIBS ... LABELS ... [WRAPPER command args...]):
# a GoogleTest executable, run through the Wine emulator in the Windows builds
# and only built where the build cannot be executed here. With WRAPPER the
# command runs the program itself (after mapping a drive, say); such wrappers
# restart the Wine server, so those tests run alone.
function(ombrel_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;WRAPPER" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gtest ombrel_flags)
  if(NOT OMBREL_CAN_RUN)
    return()
  endif()
  if(T_WRAPPER)
    add_test(NAME ${name} COMMAND ${T_WRAPPER} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT 300)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
endfunction()
