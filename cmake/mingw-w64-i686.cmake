set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Built and linked only: this machine cannot execute 32-bit code.
set(OMBREL_CAN_RUN OFF CACHE BOOL "" FORCE)
