# Builds the Debian package of the build, has Debian's package checker (lintian) accept it with
# neither errors nor warnings, unpacks it into a scratch root and checks what a user gets: the
# program under /usr with every file it reads, the links in /usr/bin, dependencies found
# from the shared libraries, a desktop entry and AppStream metadata that their validators accept,
# the manual page, tarvex-calc running from the unpacked tree, and the program's START pressed
# there by a user who is not root (see start_driver.cpp, built into PLUGINS).
#   cmake -DCPACK=<cpack> -DBUILD_DIR=<build> -DSCRATCH=<scratch folder>
#         -DBITMAP_SANS_SOURCE=<fonts-wine file> -DPLUGINS=<folder of the driver plugin>
#         -P check_package.cmake
set(root "${SCRATCH}/root")
set(program_folder "${root}/usr/lib/tarvex")

# Writable again, so that a user who is not root can remove it.
function(remove_scratch)
    if(EXISTS "${program_folder}")
        file(CHMOD "${program_folder}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    endif()
    file(REMOVE_RECURSE "${SCRATCH}")
endfunction()
remove_scratch()

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
# Overrides ship in the package (/usr/share/lintian/overrides/tarvex), each with its reason.
find_program(LINTIAN lintian)
if(NOT LINTIAN)
    message(FATAL_ERROR "lintian is missing: make deps installs it")
endif()
execute_process(COMMAND "${LINTIAN}" --fail-on error,warning "${package}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("lintian ${package}: ${result}\n${output}")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lintian found errors or warnings in the package")
endif()

run(dpkg-deb --field "${package}" Depends)
foreach(dependency IN ITEMS libqt6widgets6 libqt6gui6 libc6 fonts-liberation2)
    if(NOT output MATCHES "(^|, )${dependency}( |,|$)")
        message(FATAL_ERROR "Depends lacks ${dependency}: ${output}")
    endif()
endforeach()

run(dpkg-deb --extract "${package}" "${root}")
set(expected usr/lib/tarvex/tarvex usr/lib/tarvex/tarvex-calc usr/share/man/man1/tarvex.1.gz
    usr/share/man/man1/tarvex-calc.1.gz usr/share/icons/hicolor/scalable/apps/tarvex.svg
    usr/share/doc/tarvex/copyright usr/share/doc/tarvex/changelog.Debian.gz)
foreach(bitmap IN ITEMS GDS001 1k 2k 3k 4k TRANS002 YGOLP 5k)
    list(APPEND expected usr/lib/tarvex/${bitmap}.BMP)
endforeach()
if(EXISTS "${BITMAP_SANS_SOURCE}")
    foreach(strike IN ITEMS 1 2 3)
        list(APPEND expected usr/lib/tarvex/sans_serif_${strike}.ttf
                             usr/lib/tarvex/sans_serif_${strike}_bold.ttf)
    endforeach()
endif()
if(EXISTS "${BUILD_DIR}/web/tarvex.html")
    list(APPEND expected usr/share/tarvex/tarvex.html)
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

# Installed under /usr the program folder is read-only for its users: START must write the results
# file into the user's data folder, and the direction window read it from there. Root may write
# anywhere, so a user who is not root presses START.
set(home "${SCRATCH}/home")
file(MAKE_DIRECTORY "${home}")
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
set(as_user "")
if(uid EQUAL 0)
    find_program(SETPRIV setpriv)
    if(NOT SETPRIV)
        remove_scratch()
        message("START by a user who is not root: skipped, setpriv is missing")
        return()
    endif()
    run(chown 65534:65534 "${home}")
    set(as_user "${SETPRIV}" --reuid=65534 --regid=65534 --clear-groups)
endif()
file(CHMOD "${program_folder}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_EXECUTE GROUP_READ
           GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(GLOB before LIST_DIRECTORIES true "${program_folder}/*")
execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=XDG_RUNTIME_DIR HOME=${home}
                        XDG_DATA_HOME=${home}/data QT_QPA_PLATFORM=offscreen
                        QT_PLUGIN_PATH=${PLUGINS} QT_QPA_GENERIC_PLUGINS=tarvexstartdriver
                        ${as_user} "${root}/usr/bin/tarvex"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output TIMEOUT 60)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "START in the packaged program: ${result}\n${output}")
endif()
# In hexadecimal: read as text, the line would lose its carriage return.
set(results "")
if(EXISTS "${home}/data/tarvex/rlin1.txt")
    file(READ "${home}/data/tarvex/rlin1.txt" results HEX)
endif()
string(HEX "217.344291652777,44.8168471212995\r\n" expected)
if(NOT results STREQUAL expected)
    message(FATAL_ERROR "the results file in the user's data folder: '${results}'")
endif()
file(GLOB after LIST_DIRECTORIES true "${program_folder}/*")
if(NOT after STREQUAL before)
    message(FATAL_ERROR "START changed the program folder: ${after}")
endif()
remove_scratch()
