# The two non-visual containers of the installation: the program-file writer
# (product folder, program file, location record) and the installation
# sequence. Included by the scheme and by their tests.
include_guard(GLOBAL)

add_library(ombrel_scheme_install STATIC
  ${CMAKE_CURRENT_LIST_DIR}/omMultiElement_4DC2A30.cpp
  ${CMAKE_CURRENT_LIST_DIR}/omMultiElement_5022298.cpp)
target_include_directories(ombrel_scheme_install PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ombrel_scheme_install PUBLIC ombrel_system ombrel_jpeg ombrel_runtime PRIVATE ombrel_flags)
