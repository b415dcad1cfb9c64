# SPDX-License-Identifier: GPL-3.0-or-later
# Shared settings for every target of the project.

function(velmora_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion>
    $<$<BOOL:${VELMORA_WERROR}>:-Werror>)
endfunction()

# velmora_library(name SOURCES ... [DEPENDS ...])
# One library target per source folder, named velmora_<name>; headers are
# included by folder, e.g. "codec/base64.h".
function(velmora_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(velmora_${name} STATIC ${ARG_SOURCES})
  target_include_directories(velmora_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(velmora_${name} PUBLIC ${ARG_DEPENDS})
  velmora_warnings(velmora_${name})
endfunction()
