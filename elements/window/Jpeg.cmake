# JPEG picture support: the picture object, the Jpeg element and the EXIF
# orientation names, on libjpeg (cmake/Libjpeg.cmake).
include_guard(GLOBAL)
include(${PROJECT_SOURCE_DIR}/cmake/Libjpeg.cmake)

add_library(ombrel_jpeg STATIC
  ${CMAKE_CURRENT_LIST_DIR}/JpegObj.cpp
  ${CMAKE_CURRENT_LIST_DIR}/omJpeg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Exif.cpp)
target_include_directories(ombrel_jpeg PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ombrel_jpeg PUBLIC ombrel_system ombrel_runtime PRIVATE ombrel::jpeg ombrel_flags)
