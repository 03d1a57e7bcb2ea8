# The shippable installer (preset "release"): optimised for size with no
# debug information (CMAKE_BUILD_TYPE MinSizeRel), stripped, unused sections
# left out by the linker, and byte for byte the same program from any folder
# at any time: no paths and no clock reach the output.
include_guard(GLOBAL)

if(NOT WIN32)
  message(FATAL_ERROR "OMBREL_RELEASE builds the Windows program: use a MinGW toolchain file")
endif()

# What a tool stamps with a date gets the commit's (or the caller's
# SOURCE_DATE_EPOCH), never the clock's.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE _epoch RESULT_VARIABLE _result ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT _result EQUAL 0 OR NOT _epoch MATCHES "^[0-9]+$")
    set(_epoch 0)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${_epoch})
endif()
string(TIMESTAMP OMBREL_BUILD_DATE "%Y%m%d" UTC)

# Every function and datum in a section of its own, so that the linker can
# drop what nothing uses (data, and functions without an unwind entry: the
# x86_64 linker keeps every entry, and with it its function); source paths
# written as relative ones.
set(OMBREL_RELEASE_C_FLAGS "-ffunction-sections -fdata-sections -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.")
separate_arguments(_flags UNIX_COMMAND "${OMBREL_RELEASE_C_FLAGS}")
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:${_flags}>")
# Nothing asks an object for its type at run time: no type records. Nothing
# catches an exception either (a throw of the C++ library ends the program,
# below): no code that runs destructors while one passes, and no tables of it.
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>" "$<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions>")
# The program runs on one thread, the window thread: a function's statics
# are made without the C++ library's lock, which throws on a recursive start
# and so brings the library's exception handling along (runtime/CxxLibrary.cpp
# keeps the rest of it out).
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics>")
# Each library compiled as one unit: the compiler sees all of its code at
# once and keeps one copy of what its files share (14 KB less than file by
# file).
set(CMAKE_UNITY_BUILD ON)
set(CMAKE_UNITY_BUILD_BATCH_SIZE 0)
# The whole program optimised once more as it is linked, with libjpeg and the
# LZMA decoder: what no call reaches is left out, which the x86_64 linker
# cannot do (above), and calls from one library into another are inlined.
# The linker map then shows the whole as one object; OFF shows each
# library's share (scripts/release-costs), as built without.
option(OMBREL_RELEASE_LTO "Release: optimise the program at link time as one unit" ON)
if(OMBREL_RELEASE_LTO)
  add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:-flto>")
endif()
# No symbols, no unused sections, no link time in the PE header; the
# link-time optimisation (above, cmake/Libjpeg.cmake) as one unit.
add_link_options(-s -Wl,--gc-sections -Wl,--no-insert-timestamp -flto-partition=one)

# A program that must end on an unhandled C++ exception ends in abort(), as
# with a C++ library built without its verbose terminate handler. That
# handler, which first writes the exception's demangled type to the standard
# error a windowed program does not have, brings the demangler and MinGW's
# printf: 70 KB.
set(_u "")
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(_u "_") # i686 symbols carry a leading underscore
endif()
add_link_options(-Wl,--defsym,${_u}_ZN9__gnu_cxx27__verbose_terminate_handlerEv=${_u}abort)
# Nothing in the program catches an exception, so a throw of the C++
# library's (a length error, memory exhausted) ends in that abort() anyway:
# the throwing functions are abort() at once. Their exception classes bring
# the library's old reference-counted string and its texts: 30 KB.
foreach(_throw _ZSt16__throw_bad_castv _ZSt17__throw_bad_allocv _ZSt18__throw_bad_typeidv
    _ZSt19__throw_logic_errorPKc _ZSt19__throw_range_errorPKc _ZSt20__throw_domain_errorPKc
    _ZSt20__throw_length_errorPKc _ZSt20__throw_out_of_rangePKc _ZSt21__throw_bad_exceptionv
    _ZSt21__throw_runtime_errorPKc _ZSt22__throw_overflow_errorPKc _ZSt23__throw_underflow_errorPKc
    _ZSt24__throw_invalid_argumentPKc _ZSt24__throw_out_of_range_fmtPKcz _ZSt25__throw_bad_function_callv
    _ZSt28__throw_bad_array_new_lengthv)
  add_link_options(-Wl,--defsym,${_u}${_throw}=${_u}abort)
endforeach()
