# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package of the installed files: `cpack -G DEB` in a build folder
# (`make package` builds one in build-package/). The dependencies come from
# the libraries the program links, through dpkg-shlibdeps (Debian dpkg-dev).

set(VELMORA_PACKAGE_MAINTAINER "Velmora maintainers <maintainers@velmora.example>"
  CACHE STRING "Name and mail address of the Debian package's maintainer")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns small PNG pictures into Face codes and back")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Velmora turns a small PNG picture into its Face code, the Base64 text that"
  "carries a picture in the Face: header of mail and news messages, and a Face"
  "code back into a picture. It browses drives, folders and PNG files, shows"
  "the code, a preview and the picture's size, and saves code and picture."
  "The program speaks German.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Stripped by cmake/VelmoraDebStrip.cmake, as dh_strip would.
set(CPACK_STRIP_FILES OFF)
set(CPACK_VELMORA_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/VelmoraDebStrip.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELMORA_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (editing menu, Save dialog) in German, like the window's.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
# Qt's platform plugin for Wayland sessions; without it Velmora runs there
# through XWayland, and not at all where there is no X server. Qt's further
# picture formats: WebP photos for --fit.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-image-formats-plugins")

include(CPack)
