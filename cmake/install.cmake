# Installed layout: everything the program reads lies beside it in one folder, as in the build
# folder, and bin/ holds links to the two programs.
#
#   <prefix>/lib/tarvex/      tarvex, tarvex-calc, the eight bitmaps (and rlin1.txt once run)
#   <prefix>/bin/             tarvex, tarvex-calc -> ../lib/tarvex/...
#   <prefix>/share/           desktop entry, icon, AppStream metadata, manual page, the credit
#                             for the data compiled in (doc/tarvex/copyright)
#   <prefix>/share/tarvex/    tarvex.html, the phone page (cmake/web.cmake)
#
# The program finds its folder through its real path, so starting it through the link still reads
# and writes beside the executable.
include(GNUInstallDirs)
set(TARVEX_INSTALL_FOLDER lib/tarvex)

# tarvex_install_program(<target> [<name>]): the executable into the program folder, a link in
# bin/; <name> is the target's output name where it differs from the target's.
function(tarvex_install_program target)
    set(name ${target})
    if(ARGC GREATER 1)
        set(name ${ARGV1})
    endif()
    install(TARGETS ${target} RUNTIME DESTINATION ${TARVEX_INSTALL_FOLDER})
    set(link_folder "${CMAKE_INSTALL_BINDIR}")
    set(link_target "../${TARVEX_INSTALL_FOLDER}/${name}")
    install(CODE "
        set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${link_folder}/${name}\")
        get_filename_component(folder \"\${link}\" DIRECTORY)
        file(MAKE_DIRECTORY \"\${folder}\")
        message(STATUS \"Linking: \${link} -> ${link_target}\")
        file(CREATE_LINK \"${link_target}\" \"\${link}\" SYMBOLIC)
    ")
endfunction()
