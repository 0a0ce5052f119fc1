# Installs the build into a fresh prefix and checks what a user gets: the program folder with
# everything the program reads, working links in bin/, the desktop entry naming the installed
# program, the icon.
#   cmake -DBUILD_DIR=<build> -DPREFIX=<scratch prefix> -DBITMAP_SANS_SOURCE=<fonts-wine file>
#         -P check_install.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(file IN ITEMS tarvex tarvex-calc GDS001.BMP 1k.BMP 2k.BMP 3k.BMP 4k.BMP TRANS002.BMP
                      YGOLP.BMP 5k.BMP)
    if(NOT EXISTS "${PREFIX}/lib/tarvex/${file}")
        message(FATAL_ERROR "missing lib/tarvex/${file}")
    endif()
endforeach()
# The faces the build makes from fonts-wine, where it is installed.
if(EXISTS "${BITMAP_SANS_SOURCE}"
   AND NOT EXISTS "${PREFIX}/lib/tarvex/sans_serif_1_bold.ttf")
    message(FATAL_ERROR "missing lib/tarvex/sans_serif_1_bold.ttf")
endif()
foreach(program IN ITEMS tarvex tarvex-calc)
    file(READ_SYMLINK "${PREFIX}/bin/${program}" target)
    if(NOT target STREQUAL "../lib/tarvex/${program}")
        message(FATAL_ERROR "bin/${program} links to '${target}'")
    endif()
endforeach()

# The link must run the program from anywhere.
execute_process(COMMAND "${PREFIX}/bin/tarvex-calc" --sat1-deg 13 --sat2-deg 19 --sat2-min 12
                        --focal 600 --json
                WORKING_DIRECTORY "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output)
if(NOT result EQUAL 0 OR NOT output MATCHES "\"horizontal_offset\":\" 94.3645мм-->СПРАВА\"")
    message(FATAL_ERROR "bin/tarvex-calc: ${result}: ${output}")
endif()

file(READ "${PREFIX}/share/applications/tarvex.desktop" entry)
if(NOT entry MATCHES "\nExec=${PREFIX}/bin/tarvex\n" OR NOT entry MATCHES "\nIcon=tarvex\n")
    message(FATAL_ERROR "desktop entry:\n${entry}")
endif()
if(NOT EXISTS "${PREFIX}/share/icons/hicolor/scalable/apps/tarvex.svg")
    message(FATAL_ERROR "missing the icon")
endif()
file(REMOVE_RECURSE "${PREFIX}")
