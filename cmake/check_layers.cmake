# Fails when a product file includes a file of a higher layer. Run by every
# build (target check_layers) and by ctest:
#   cmake -DMAQO_SOURCE_DIR=<repo> -P cmake/check_layers.cmake
#
# Layers, lowest first: platform < engine < builtins < automation, dialogs,
# com < host. A file may include its own layer and the ones below. The fakes
# (platform/fake) serve tests only: they may include the platform, and only
# tools, tests, fuzz targets and benchmarks may include them. tools, tests,
# fuzz and bench may include anything.
cmake_minimum_required(VERSION 3.20)

if(NOT MAQO_SOURCE_DIR)
  message(FATAL_ERROR "check_layers: set MAQO_SOURCE_DIR")
endif()

# The layer of a path relative to the source tree; -1 for a folder outside
# the layers.
function(layer_of path out)
  if(path MATCHES "^platform/fake/")
    set(rank 9)
  elseif(path MATCHES "^platform/")
    set(rank 0)
  elseif(path MATCHES "^engine/")
    set(rank 1)
  elseif(path MATCHES "^builtins/")
    set(rank 2)
  elseif(path MATCHES "^(automation|dialogs|com)/")
    set(rank 3)
  elseif(path MATCHES "^host/")
    set(rank 4)
  else()
    set(rank -1)
  endif()
  set(${out} ${rank} PARENT_SCOPE)
endfunction()

set(violations "")
file(GLOB_RECURSE sources RELATIVE ${MAQO_SOURCE_DIR}
  ${MAQO_SOURCE_DIR}/platform/*.h ${MAQO_SOURCE_DIR}/platform/*.cpp
  ${MAQO_SOURCE_DIR}/engine/*.h ${MAQO_SOURCE_DIR}/engine/*.cpp
  ${MAQO_SOURCE_DIR}/builtins/*.h ${MAQO_SOURCE_DIR}/builtins/*.cpp
  ${MAQO_SOURCE_DIR}/automation/*.h ${MAQO_SOURCE_DIR}/automation/*.cpp
  ${MAQO_SOURCE_DIR}/dialogs/*.h ${MAQO_SOURCE_DIR}/dialogs/*.cpp
  ${MAQO_SOURCE_DIR}/com/*.h ${MAQO_SOURCE_DIR}/com/*.cpp
  ${MAQO_SOURCE_DIR}/host/*.h ${MAQO_SOURCE_DIR}/host/*.cpp)
list(SORT sources)

foreach(source IN LISTS sources)
  layer_of(${source} own)
  # The fakes include the platform and each other, nothing above.
  set(fake OFF)
  if(source MATCHES "^platform/fake/")
    set(fake ON)
  endif()
  file(STRINGS ${MAQO_SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" target "${line}")
    layer_of(${target} theirs)
    if(fake)
      if(theirs GREATER 0 AND theirs LESS 9)
        string(APPEND violations "  ${source} includes ${target}\n")
      endif()
    elseif(theirs GREATER own)
      string(APPEND violations "  ${source} includes ${target}\n")
    elseif(theirs EQUAL -1 AND target MATCHES "^(tools|tests|fuzz|bench)/")
      string(APPEND violations "  ${source} includes ${target}\n")
    endif()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes that run upward (platform < engine < builtins < automation/dialogs/com < host):\n${violations}")
endif()
