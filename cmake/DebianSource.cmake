# ombrel_debian_source(VAR PACKAGE FILE): the folder holding FILE in the
# newest source of PACKAGE that scripts/bootstrap unpacked into .deps/
# (FILE relative to the source's top, as bootstrap's fetch_source names it).
include_guard(GLOBAL)

function(ombrel_debian_source var package file)
  file(GLOB found "${PROJECT_SOURCE_DIR}/.deps/${package}-*/${file}")
  if(NOT found)
    message(FATAL_ERROR "${package} source not found in ${PROJECT_SOURCE_DIR}/.deps/: "
                        "run scripts/bootstrap (as root) to fetch it")
  endif()
  list(SORT found)
  list(GET found -1 newest)
  get_filename_component(folder "${newest}" DIRECTORY)
  set(${var} "${folder}" PARENT_SCOPE)
endfunction()
