# make package: a Debian package of the installed layout under /usr (see install.cmake), its
# dependencies worked out from the shared libraries the programs use (dpkg-shlibdeps).
set(TARVEX_PACKAGE_MAINTAINER "Tarvex developers <tarvex@example.org>" CACHE STRING
    "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The Debian revision: the package is made from the program's release, as a distribution would,
# and its history is debian's changelog (changelog.Debian.gz).
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "${TARVEX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "multifeed satellite dish calculator")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
Tarvex computes, for a satellite dish that already receives one
geostationary satellite and gets a second feed (LNB) beside the first, the
azimuth and elevation of both satellites, how far to turn the second feed
and where its centre must sit. A direction window draws the azimuth on a
compass and an illustrations window explains the set-up. The user interface
is in Russian.
.
A precise plan places two to four feeds on one dish from the angles between
the lines of sight, with the dish's beam deviation, each feed's rotation
and compass azimuths; it prints an A4 installation card with the feeds
drawn at 1:1. The command-line program tarvex-calc runs the calculation and
the plan without a window, as text, JSON or JSON Lines.]])
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

# What Debian asks of every package besides the programs: the copyright of everything it carries
# (machine-readable) and the history of the package, compressed as dpkg installs it.
set(TARVEX_PACKAGE_FILES ${PROJECT_SOURCE_DIR}/assets/package)
file(STRINGS ${TARVEX_PACKAGE_FILES}/changelog latest LIMIT_COUNT 1)
if(NOT latest MATCHES "^tarvex \\(${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}\\) ")
    message(FATAL_ERROR "assets/package/changelog begins with '${latest}', not with version "
                        "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")
endif()
set(TARVEX_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
add_custom_command(OUTPUT ${TARVEX_CHANGELOG}
    COMMAND sh -c "gzip -9 -n < \"$0\" > \"$1\"" ${TARVEX_PACKAGE_FILES}/changelog
            ${TARVEX_CHANGELOG}
    DEPENDS ${TARVEX_PACKAGE_FILES}/changelog
    COMMENT "Compressing the package's changelog"
    VERBATIM)
add_custom_target(tarvex_changelog ALL DEPENDS ${TARVEX_CHANGELOG})
install(FILES ${TARVEX_PACKAGE_FILES}/copyright ${TARVEX_CHANGELOG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarvex)
# Tags of Debian's package checker that are wrong for this package, each with its reason.
install(FILES ${TARVEX_PACKAGE_FILES}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tarvex)
