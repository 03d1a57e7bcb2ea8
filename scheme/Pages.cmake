# The wizard's page containers: the four page frames, their bodies, the
# licence header strip and the folder group. Included by the scheme and by
# the page tests, whichever comes first.
include_guard(GLOBAL)

if(NOT TARGET ombrel_window OR NOT TARGET ombrel_system)
  message(STATUS "scheme pages: window or system elements not defined yet, not built")
  return()
endif()

add_library(ombrel_scheme_pages STATIC
  ${CMAKE_CURRENT_LIST_DIR}/omChildPanel_431CE60.cpp
  ${CMAKE_CURRENT_LIST_DIR}/omChildPanel_6C2F9B4.cpp
  ${CMAKE_CURRENT_LIST_DIR}/omChildPanel_50BE488.cpp
  ${CMAKE_CURRENT_LIST_DIR}/omChildPanel_46DBE38.cpp
  ${CMAKE_CURRENT_LIST_DIR}/omChildPanel_5198818.cpp
  ${CMAKE_CURRENT_LIST_DIR}/omChildPanel_4FD97A4.cpp
  ${CMAKE_CURRENT_LIST_DIR}/omChildPanel_4E89C48.cpp
  ${CMAKE_CURRENT_LIST_DIR}/omChildGroupBox_2F7DC8C.cpp
  ${CMAKE_CURRENT_LIST_DIR}/omChildPanel_47F64A8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/omChildPanel_3ECBCC0.cpp)
target_include_directories(ombrel_scheme_pages PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ombrel_scheme_pages PUBLIC ombrel_window ombrel_system ombrel_runtime PRIVATE ombrel_flags)
