# SPDX-License-Identifier: GPL-3.0-or-later
# ccache, where installed and no launcher is set: a later build of the same
# sources reuses the objects, in this build folder, in another one, or in
# another clone (paths are taken relative to the source folder, and the
# build folder is left out of the hash; debug information may then name the
# folder of the first build). The cache lives outside the clone, in ccache's
# own folder. -DVELMORA_CCACHE=OFF builds without it.
find_program(VELMORA_CCACHE_PROGRAM ccache)
option(VELMORA_CCACHE "Compile through ccache when it is installed" ON)
if(VELMORA_CCACHE AND VELMORA_CCACHE_PROGRAM AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_CXX_COMPILER_LAUNCHER
    ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=true ${VELMORA_CCACHE_PROGRAM})
endif()
