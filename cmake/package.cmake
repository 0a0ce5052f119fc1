# make package: a Debian package of the installed layout under /usr (see install.cmake), its
# dependencies worked out from the shared libraries the programs use (dpkg-shlibdeps).
set(TARVEX_PACKAGE_MAINTAINER "Tarvex developers <tarvex@example.org>" CACHE STRING
    "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "${TARVEX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "multifeed satellite dish calculator")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
Tarvex computes, for a satellite dish that already receives one
geostationary satellite and gets a second feed (LNB) beside the first, the
azimuth and elevation of both satellites, how far to turn the second feed
and where its centre must sit. A direction window draws the azimuth on a
compass and an illustrations window explains the set-up. The user interface
is in Russian. tarvex-calc runs the same calculation on the command line.]])
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not a library dependency: the scalable fonts the windows draw with where no bitmap face serves
# ("Times New Roman" and the sans on scaled screens).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# Qt's own dialogs (the card's save dialog) in Russian; without it they speak English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
