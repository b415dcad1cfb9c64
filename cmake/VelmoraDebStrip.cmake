# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack (CPACK_PRE_BUILD_SCRIPTS) on the staged files before it packs
# them: strips the program as Debian's dh_strip does, which also drops the
# compilers' .comment and .note sections that a plain `strip` keeps.
set(program "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/velmora")
if(NOT EXISTS "${program}")
  message(FATAL_ERROR "nothing to strip: ${program} is not staged")
endif()
execute_process(COMMAND "${CPACK_VELMORA_STRIP}" --remove-section=.comment --remove-section=.note "${program}"
  COMMAND_ERROR_IS_FATAL ANY)
