# A cross compiler's C library, its other libraries and the CMake packages
# built for the target live under one folder; the search for them looks there
# alone, never among the host's, while the programs the build runs are the
# host's own.
macro(normcalc_target_root root)
  set(CMAKE_FIND_ROOT_PATH ${root})
  set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
  set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
endmacro()
