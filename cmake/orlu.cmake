# Helpers shared by the source, test and benchmark trees.
#
# Window code is kept in files whose names end in _page, _window or _form
# (tests: the same followed by _test); everything else is plain logic that
# builds and runs without Qt.

set(ORLU_WINDOW_FILE_REGEX "(_page|_window|_form)(_test)?\\.cpp$")

# orlu_sources(<out-var> <dir> WINDOW|LOGIC)
function(orlu_sources out dir kind)
  file(GLOB all CONFIGURE_DEPENDS "${dir}/*.cpp")
  set(result "")
  foreach(f IN LISTS all)
    get_filename_component(name "${f}" NAME)
    if(name MATCHES "${ORLU_WINDOW_FILE_REGEX}")
      if(kind STREQUAL "WINDOW")
        list(APPEND result "${f}")
      endif()
    elseif(kind STREQUAL "LOGIC")
      list(APPEND result "${f}")
    endif()
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# A static library that may have no sources yet.
function(orlu_add_library name)
  set(srcs ${ARGN})
  if(NOT srcs)
    set(stub "${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp")
    file(WRITE "${stub}" "// no sources yet\n")
    set(srcs "${stub}")
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
endfunction()
