# Builds the Debian package of the build, unpacks it into a scratch root and checks what a user
# gets: the program under /usr with every file it reads, the links in /usr/bin, dependencies found
# from the shared libraries, a desktop entry and AppStream metadata that their validators accept,
# the manual page, and tarvex-calc running from the unpacked tree.
#   cmake -DCPACK=<cpack> -DBUILD_DIR=<build> -DSCRATCH=<scratch folder>
#         -DBITMAP_SANS_SOURCE=<fonts-wine file>
#         -P check_package.cmake
file(REMOVE_RECURSE "${SCRATCH}")

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                    ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${ARGN}: ${result}\n${output}")
    endif()
    set(output "${output}" PARENT_SCOPE)
endfunction()

run("${CPACK}" --config "${BUILD_DIR}/CPackConfig.cmake" -G DEB -B "${SCRATCH}/out")
file(GLOB package "${SCRATCH}/out/tarvex_*.deb")
list(LENGTH package count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one package, found: ${package}")
endif()
run(dpkg-deb --field "${package}" Depends)
foreach(dependency IN ITEMS libqt6widgets6 libqt6gui6 libc6 fonts-liberation2)
    if(NOT output MATCHES "(^|, )${dependency}( |,|$)")
        message(FATAL_ERROR "Depends lacks ${dependency}: ${output}")
    endif()
endforeach()

set(root "${SCRATCH}/root")
run(dpkg-deb --extract "${package}" "${root}")
set(expected usr/lib/tarvex/tarvex usr/lib/tarvex/tarvex-calc usr/share/man/man1/tarvex-calc.1.gz
    usr/share/icons/hicolor/scalable/apps/tarvex.svg)
foreach(bitmap IN ITEMS GDS001 1k 2k 3k 4k TRANS002 YGOLP 5k)
    list(APPEND expected usr/lib/tarvex/${bitmap}.BMP)
endforeach()
if(EXISTS "${BITMAP_SANS_SOURCE}")
    foreach(strike IN ITEMS 1 2 3)
        list(APPEND expected usr/lib/tarvex/sans_serif_${strike}.ttf
                             usr/lib/tarvex/sans_serif_${strike}_bold.ttf)
    endforeach()
endif()
foreach(file IN LISTS expected)
    if(NOT EXISTS "${root}/${file}")
        message(FATAL_ERROR "the package lacks /${file}")
    endif()
endforeach()
foreach(program IN ITEMS tarvex tarvex-calc)
    file(READ_SYMLINK "${root}/usr/bin/${program}" target)
    if(NOT target STREQUAL "../lib/tarvex/${program}")
        message(FATAL_ERROR "/usr/bin/${program} links to '${target}'")
    endif()
endforeach()

set(entry "${root}/usr/share/applications/tarvex.desktop")
run(desktop-file-validate "${entry}")
file(READ "${entry}" text)
if(NOT text MATCHES "\nExec=/usr/bin/tarvex\n")
    message(FATAL_ERROR "desktop entry:\n${text}")
endif()
run(appstreamcli validate --no-net "${root}/usr/share/metainfo/org.tarvex.Tarvex.metainfo.xml")

run("${root}/usr/bin/tarvex-calc" --sat1-deg 13 --sat2-deg 19 --sat2-min 12 --focal 600 --json)
if(NOT output MATCHES "\"horizontal_offset\":\" 94.3645мм-->СПРАВА\"")
    message(FATAL_ERROR "tarvex-calc from the package: ${output}")
endif()
file(REMOVE_RECURSE "${SCRATCH}")
