# GeographicLib compiled for the page: Debian's original source tarball of the version the desktop
# program links (libgeographiclib-dev), so that both give the same numbers. Debian's patches of it
# touch only the documentation. The pin is the version and the SHA-256 that Debian's
# geographiclib_<version>-<revision>.dsc lists for geographiclib_<version>.orig.tar.gz.
set(TARVEX_GEOGRAPHICLIB_VERSION 2.1.2)
set(TARVEX_GEOGRAPHICLIB_SHA256 b062b472dae3d371b3005f4ea2fc59af687b8ea76eb23df732ec11c500fba959)

# The pinned tarball, fetched once into the user's cache (outside the build folder, so that
# `make clean` keeps it and a new build needs no network), unpacked into the build folder.
# -> the unpacked folder, e.g. build/web/geographiclib/GeographicLib-2.1.2
function(tarvex_fetch_geographiclib out_tree)
    if(DEFINED ENV{XDG_CACHE_HOME})
        set(cache $ENV{XDG_CACHE_HOME}/tarvex)
    elseif(DEFINED ENV{HOME})
        set(cache $ENV{HOME}/.cache/tarvex)
    else()
        set(cache ${CMAKE_BINARY_DIR}/download-cache)
    endif()
    execute_process(
        COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/fetch_geographiclib.sh ${cache}
                ${TARVEX_GEOGRAPHICLIB_VERSION} ${TARVEX_GEOGRAPHICLIB_SHA256}
        OUTPUT_VARIABLE tarball ERROR_VARIABLE problem RESULT_VARIABLE failed
        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_STRIP_TRAILING_WHITESPACE)
    if(failed)
        # The leading space keeps CMake from wrapping the script's one line.
        message(FATAL_ERROR " ${problem}")
    endif()
    # Unpacked again only when the pin changes; the stamp is written once the unpacking is whole.
    set(unpacked ${CMAKE_BINARY_DIR}/geographiclib)
    set(stamp ${unpacked}/unpacked.sha256)
    set(unpacked_sha256 "")
    if(EXISTS ${stamp})
        file(READ ${stamp} unpacked_sha256)
    endif()
    if(NOT unpacked_sha256 STREQUAL TARVEX_GEOGRAPHICLIB_SHA256)
        file(REMOVE_RECURSE ${unpacked})
        file(ARCHIVE_EXTRACT INPUT ${tarball} DESTINATION ${unpacked})
        file(WRITE ${stamp} ${TARVEX_GEOGRAPHICLIB_SHA256})
    endif()
    set(${out_tree} ${unpacked}/GeographicLib-${TARVEX_GEOGRAPHICLIB_VERSION} PARENT_SCOPE)
endfunction()

# Config.h as GeographicLib's own build writes it for this target (doubles, little-endian, a
# static library), from the source's template and the version its CMakeLists.txt declares.
# -> that version, e.g. 2.1.2 (2.1 for a patch level of 0, as GeographicLib names it)
function(tarvex_geographiclib_config tree out_version)
    if(NOT EXISTS ${tree}/include/GeographicLib/Config.h.in)
        message(FATAL_ERROR " ${tree} holds no GeographicLib source: "
                            "include/GeographicLib/Config.h.in is missing")
    endif()
    file(STRINGS ${tree}/CMakeLists.txt lines
         REGEX "^set *\\(PROJECT_VERSION_(MAJOR|MINOR|PATCH) +[0-9]+ *\\)")
    foreach(part MAJOR MINOR PATCH)
        set(PROJECT_VERSION_${part} "")
        foreach(line IN LISTS lines)
            if(line MATCHES "PROJECT_VERSION_${part} +([0-9]+)")
                set(PROJECT_VERSION_${part} ${CMAKE_MATCH_1})
            endif()
        endforeach()
        if(PROJECT_VERSION_${part} STREQUAL "")
            message(FATAL_ERROR " ${tree}/CMakeLists.txt declares no PROJECT_VERSION_${part}")
        endif()
    endforeach()
    set(PROJECT_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
    if(PROJECT_VERSION_PATCH GREATER 0)
        string(APPEND PROJECT_VERSION .${PROJECT_VERSION_PATCH})
    endif()
    set(GEOGRAPHICLIB_DATA /usr/share/GeographicLib)
    set(GEOGRAPHICLIB_HAVE_LONG_DOUBLE 1)
    set(GEOGRAPHICLIB_WORDS_BIGENDIAN 0)
    set(GEOGRAPHICLIB_PRECISION 2)
    set(GEOGRAPHICLIB_LIB_TYPE_VAL 0)
    configure_file(${tree}/include/GeographicLib/Config.h.in
                   ${CMAKE_BINARY_DIR}/geographiclib-config/GeographicLib/Config.h @ONLY)
    set(${out_version} ${PROJECT_VERSION} PARENT_SCOPE)
endfunction()

# A page compiled with another GeographicLib than the desktop program's may give other numbers.
function(tarvex_compare_geographiclib page_version)
    execute_process(COMMAND dpkg-query -W -f=\${Version} libgeographiclib-dev
                    OUTPUT_VARIABLE installed RESULT_VARIABLE unknown ERROR_QUIET)
    if(unknown)
        return()
    endif()
    # Debian's version -> the upstream one: 2.1.2-1 -> 2.1.2, 1:2.3+dfsg-2 -> 2.3
    string(REGEX REPLACE "^([0-9]+:)?([^-+~]+).*" "\\2" desktop_version "${installed}")
    if(NOT desktop_version STREQUAL page_version)
        message(WARNING " The page is built with GeographicLib ${page_version} but the desktop "
                        "program with ${desktop_version} (libgeographiclib-dev ${installed}): "
                        "their numbers may differ. Pin ${desktop_version} in "
                        "web/geographiclib.cmake with the SHA-256 of its .orig.tar.gz from "
                        "Debian's .dsc, or give TARVEX_GEOGRAPHICLIB_SOURCE the source of "
                        "${desktop_version}.")
    endif()
endfunction()

# TARVEX_GEOGRAPHICLIB_SOURCE (cmake/web.cmake) names an unpacked source to build from instead,
# offline.
if(TARVEX_GEOGRAPHICLIB_SOURCE)
    set(GEOGRAPHICLIB_TREE ${TARVEX_GEOGRAPHICLIB_SOURCE})
else()
    tarvex_fetch_geographiclib(GEOGRAPHICLIB_TREE)
endif()
tarvex_geographiclib_config(${GEOGRAPHICLIB_TREE} GEOGRAPHICLIB_VERSION)
tarvex_compare_geographiclib(${GEOGRAPHICLIB_VERSION})
message(STATUS "GeographicLib ${GEOGRAPHICLIB_VERSION} from ${GEOGRAPHICLIB_TREE}")

set(GEOGRAPHICLIB_FILES Math.cpp Geocentric.cpp SphericalEngine.cpp DMS.cpp Utility.cpp)
list(TRANSFORM GEOGRAPHICLIB_FILES PREPEND ${GEOGRAPHICLIB_TREE}/src/ OUTPUT_VARIABLE
     GEOGRAPHICLIB_SOURCES)
add_library(GeographicLib STATIC ${GEOGRAPHICLIB_SOURCES})
set_target_properties(GeographicLib PROPERTIES CXX_STANDARD 11)
target_include_directories(GeographicLib SYSTEM PUBLIC
    ${CMAKE_BINARY_DIR}/geographiclib-config ${GEOGRAPHICLIB_TREE}/include)
add_library(GeographicLib::GeographicLib ALIAS GeographicLib)
