# libjpeg (6b interface) for reading JPEG headers.
#
# Windows builds: Debian's libjpeg-turbo source (unpacked into .deps/ by
# scripts/bootstrap) is built once into this build tree with the same MinGW
# toolchain, as a static library without SIMD (no nasm needed: only headers
# are read) and without the v7/v8 extensions. Native builds use the system's
# libjpeg62-turbo-dev. Either way the result is the imported target ombrel::jpeg.
include_guard(GLOBAL)

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake)
  ombrel_debian_source(OMBREL_JPEG_SOURCE libjpeg-turbo CMakeLists.txt)

  set(_prefix "${CMAKE_BINARY_DIR}/libjpeg")
  set(_lib "${_prefix}/lib/libjpeg.a")
  # The include folder must exist at configure time for the imported target.
  file(MAKE_DIRECTORY "${_prefix}/include")

  # The release build: the smallest code, compiled for link-time optimisation
  # so that only what a program calls is linked (the installer: the header
  # reader alone; the encoder and the output size are the picture support's
  # other part, elements/window/Jpeg.cmake); no arithmetic encoder (nothing
  # asks for it); the commit's date as the build string. The Huffman
  # encoders count a value's bits with the processor's bit scan instead of
  # two 64 KB tables (the same counts), and the library's messages, which no
  # program here shows, use the system's printf and scanf rather than
  # MinGW's own.
  set(_build_type Release)
  set(_release_args)
  if(OMBREL_RELEASE)
    set(_build_type MinSizeRel)
    set(_release_args
      "-DCMAKE_C_FLAGS=${OMBREL_RELEASE_C_FLAGS} -flto -DUSE_CLZ_INTRINSIC -D__USE_MINGW_ANSI_STDIO=0"
      -DCMAKE_AR=${CMAKE_C_COMPILER_AR} -DCMAKE_RANLIB=${CMAKE_C_COMPILER_RANLIB}
      -DWITH_ARITH_ENC=OFF -DBUILD=${OMBREL_BUILD_DATE})
  endif()

  include(ExternalProject)
  ExternalProject_Add(ombrel_libjpeg_build
    SOURCE_DIR "${OMBREL_JPEG_SOURCE}"
    BINARY_DIR "${_prefix}/build"
    PREFIX "${_prefix}/ep"
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -DOMBREL_THREAD_MODEL=${OMBREL_THREAD_MODEL}
      -DCMAKE_BUILD_TYPE=${_build_type}
      -DCMAKE_INSTALL_PREFIX=${_prefix}
      -DENABLE_SHARED=OFF -DENABLE_STATIC=ON
      -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF
      -DWITH_JPEG7=OFF -DWITH_JPEG8=OFF -DWITH_12BIT=OFF
      ${_release_args}
    # Only the library: the command-line tools are not needed.
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
    INSTALL_COMMAND
      ${CMAKE_COMMAND} -E make_directory ${_prefix}/lib
      COMMAND ${CMAKE_COMMAND} -E copy_if_different <BINARY_DIR>/libjpeg.a ${_lib}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different
        <SOURCE_DIR>/jpeglib.h <SOURCE_DIR>/jmorecfg.h <SOURCE_DIR>/jerror.h
        <BINARY_DIR>/jconfig.h ${_prefix}/include
    BUILD_BYPRODUCTS ${_lib}
    EXCLUDE_FROM_ALL TRUE)

  add_library(ombrel::jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(ombrel::jpeg PROPERTIES
    IMPORTED_LOCATION "${_lib}"
    INTERFACE_INCLUDE_DIRECTORIES "${_prefix}/include")
  add_dependencies(ombrel::jpeg ombrel_libjpeg_build)
else()
  find_package(JPEG REQUIRED)
  add_library(ombrel::jpeg INTERFACE IMPORTED GLOBAL)
  target_link_libraries(ombrel::jpeg INTERFACE JPEG::JPEG)
endif()
