# The folders of the program depend one way: each may include the headers
# of the folders listed after it, never of one above. Run with
#   cmake -DSOURCE_DIR=<source> -P layers.cmake
# It names every include that breaks the order and fails; tests (*_test.cpp
# and *_testing.h) may use anything, and so may a program's entry
# (main.cpp, no part of its folder's library), which joins the folders.
# What each folder may include besides its own headers: the installation's
# record and the run's guards are built on the installer, each apart from
# the other.
set(allowed_record installer help tty nls db syscmd util)
set(allowed_guards installer help tty nls db syscmd util)
set(allowed_installer help tty nls db syscmd util)
set(allowed_help tty nls db util)
set(allowed_tty nls db util)
set(allowed_nls db util)
set(allowed_db util)
set(allowed_syscmd util)
set(allowed_util)
set(folders record guards installer help tty nls db syscmd util)

foreach(folder ${folders})
  file(GLOB headers RELATIVE ${SOURCE_DIR}/${folder} ${SOURCE_DIR}/${folder}/*.h)
  foreach(h ${headers})
    set(owner_${h} ${folder})
  endforeach()
endforeach()

set(broken "")
foreach(folder ${folders})
  file(GLOB sources ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
  foreach(source ${sources})
    if(source MATCHES "_test\\.cpp$|_testing\\.h$|/main\\.cpp$")
      continue()
    endif()
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*" "\\1" header "${line}")
      get_filename_component(header ${header} NAME)
      if(NOT DEFINED owner_${header})
        continue()
      endif()
      set(owner ${owner_${header}})
      if(owner STREQUAL folder)
        continue()
      endif()
      list(FIND allowed_${folder} ${owner} at)
      if(at EQUAL -1)
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
        list(APPEND broken "${shown} includes ${owner}/${header}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(broken)
  list(JOIN broken "\n  " text)
  message(FATAL_ERROR "A folder includes a header of a folder above it:\n  ${text}")
endif()
message(STATUS "Every folder includes only its own headers and those below it.")
