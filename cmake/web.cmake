# The phone page, build/web/tarvex.html: web/ configured as a project of its own with emscripten's
# tool chain file and built with every build. Off under the sanitizers and the fuzzers, whose
# options mean nothing to emscripten.
if(TARVEX_SANITIZE OR TARVEX_FUZZ)
    set(tarvex_web_default OFF)
else()
    set(tarvex_web_default ON)
endif()
option(TARVEX_WEB "Build the phone page with emscripten (make deps installs it)"
       ${tarvex_web_default})
if(NOT TARVEX_WEB)
    return()
endif()

find_file(TARVEX_EMSCRIPTEN_TOOLCHAIN Emscripten.cmake
          PATHS /usr/share/emscripten/cmake/Modules/Platform NO_DEFAULT_PATH
          DOC "emscripten's CMake tool chain file")
if(NOT TARVEX_EMSCRIPTEN_TOOLCHAIN)
    message(FATAL_ERROR "emscripten is missing: make deps installs it, or -DTARVEX_WEB=OFF")
endif()
# The page's GeographicLib is fetched once into the user's cache (web/geographiclib.cmake); an
# unpacked source named here builds it offline instead.
set(TARVEX_GEOGRAPHICLIB_SOURCE "" CACHE PATH
    "An unpacked GeographicLib source (holding include/ and src/) to build the phone page from")
set(TARVEX_WEB_PAGE ${CMAKE_BINARY_DIR}/web/tarvex.html)
# Debian's emscripten runs its JavaScript optimizer with the system's node modules.
set(tarvex_web_env ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
add_custom_target(web ALL
    COMMAND ${tarvex_web_env} ${CMAKE_COMMAND} -S ${PROJECT_SOURCE_DIR}/web
            -B ${CMAKE_BINARY_DIR}/web -G Ninja
            -DCMAKE_TOOLCHAIN_FILE=${TARVEX_EMSCRIPTEN_TOOLCHAIN}
            -DTARVEX_WERROR=${TARVEX_WERROR}
            -DTARVEX_GEOGRAPHICLIB_SOURCE=${TARVEX_GEOGRAPHICLIB_SOURCE}
            -DTARVEX_SATELLITE_TABLE=${CMAKE_BINARY_DIR}/names/satellite_table.cpp
    COMMAND ${tarvex_web_env} ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR}/web
    BYPRODUCTS ${TARVEX_WEB_PAGE}
    COMMENT "Building the phone page with emscripten"
    USES_TERMINAL
    VERBATIM)
# The satellite list the page compiles in is the one the native tool writes for tarvex_names.
add_dependencies(web tarvex_names)
install(FILES ${TARVEX_WEB_PAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvex)
