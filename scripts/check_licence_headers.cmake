# SPDX-License-Identifier: GPL-3.0-or-later
cmake_minimum_required(VERSION 3.25)
# Fails when a source, build or script file does not name its licence in its
# first lines (after a script's #! line).
# Run as: cmake -DSOURCE_DIR=<repo> -P scripts/check_licence_headers.cmake
file(GLOB_RECURSE candidates RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/src/* ${SOURCE_DIR}/tests/* ${SOURCE_DIR}/bench/* ${SOURCE_DIR}/scripts/*)
list(APPEND candidates CMakeLists.txt Makefile)
set(missing "")
foreach(path IN LISTS candidates)
  if(NOT path MATCHES "(\\.(cpp|h|cmake|sh|py)|CMakeLists\\.txt|Makefile)$")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${path} head LIMIT_COUNT 3)
  string(FIND "${head}" "SPDX-License-Identifier: GPL-3.0-or-later" at)
  if(at EQUAL -1)
    list(APPEND missing ${path})
  endif()
endforeach()
if(missing)
  list(JOIN missing "\n  " shown)
  message(FATAL_ERROR "Files without the licence identifier in their first lines:\n  ${shown}")
endif()
