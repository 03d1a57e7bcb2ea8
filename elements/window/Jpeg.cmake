# JPEG picture support: the picture object, the Jpeg element and the EXIF
# orientation names, on libjpeg (cmake/Libjpeg.cmake).
include_guard(GLOBAL)
include(${PROJECT_SOURCE_DIR}/cmake/Libjpeg.cmake)

add_library(ombrel_jpeg STATIC
  ${CMAKE_CURRENT_LIST_DIR}/JpegObj.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JpegManagers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/omJpeg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Exif.cpp)
target_include_directories(ombrel_jpeg PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ombrel_jpeg PUBLIC ombrel_system ombrel_runtime PRIVATE ombrel::jpeg ombrel_flags)

# The codec's paths the installer never takes (encoding an assigned bitmap,
# the size at a scale), which bring the codec's encoder and decoder set-up.
# An object library: a program that links it gets its objects whole, and
# with them the start-up that installs the paths into the picture support.
add_library(ombrel_jpeg_codec OBJECT ${CMAKE_CURRENT_LIST_DIR}/JpegCodec.cpp)
target_link_libraries(ombrel_jpeg_codec PUBLIC ombrel_jpeg PRIVATE ombrel::jpeg ombrel_flags)
