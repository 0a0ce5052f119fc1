# The distribution's compiler and linker flags, as Debian builds its packages: fortified C library
# calls, stack protector, read-only relocations bound at start (relro, bindnow). Every build uses
# them, so the package is the build that the tests ran. They come first: the project's own options
# (no fused multiply-add, no fast-math) follow and stay in effect. The sanitizer build takes only
# the linker's (fortified calls would bypass AddressSanitizer's checks); the fuzzer build, made
# with clang, keeps its own.
option(TARVEX_DISTRIBUTION_FLAGS "Build with the flags of dpkg-buildflags, hardening included" ON)
if(TARVEX_DISTRIBUTION_FLAGS AND NOT TARVEX_FUZZ)
    find_program(TARVEX_DPKG_BUILDFLAGS dpkg-buildflags)
    if(TARVEX_DPKG_BUILDFLAGS)
        function(tarvex_buildflags variable out)
            execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                                    ${TARVEX_DPKG_BUILDFLAGS} --get ${variable}
                            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
                            COMMAND_ERROR_IS_FATAL ANY)
            set(${out} "${flags}" PARENT_SCOPE)
        endfunction()
        if(NOT TARVEX_SANITIZE)
            tarvex_buildflags(CPPFLAGS cppflags)
            tarvex_buildflags(CXXFLAGS cxxflags)
            string(PREPEND CMAKE_CXX_FLAGS "${cppflags} ${cxxflags} ")
        endif()
        tarvex_buildflags(LDFLAGS ldflags)
        foreach(kind IN ITEMS EXE SHARED MODULE)
            string(PREPEND CMAKE_${kind}_LINKER_FLAGS "${ldflags} ")
        endforeach()
    else()
        message(STATUS "dpkg-buildflags is missing: building without the distribution's flags")
    endif()
endif()
