# GeographicLib as the imported target GeographicLib::GeographicLib.
# Its own package configuration where one is installed; otherwise (Debian ships only a find module
# outside CMake's search path) the header and the library are found directly. The library is
# linked by its name, so that the linker takes the shared one for the programs, as Debian expects
# (a security update of it reaches them), and the static one for the developer's static
# tarvex-calc.
find_package(GeographicLib CONFIG QUIET)
if(TARGET GeographicLib::GeographicLib)
    return()
endif()
find_path(GeographicLib_INCLUDE_DIR GeographicLib/Geocentric.hpp)
find_library(GeographicLib_LIBRARY NAMES GeographicLib)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(GeographicLib
    REQUIRED_VARS GeographicLib_LIBRARY GeographicLib_INCLUDE_DIR
    REASON_FAILURE_MESSAGE "install libgeographiclib-dev (make deps)")
get_filename_component(GeographicLib_LIBRARY_DIR "${GeographicLib_LIBRARY}" DIRECTORY)
add_library(GeographicLib::GeographicLib INTERFACE IMPORTED)
set_target_properties(GeographicLib::GeographicLib PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${GeographicLib_INCLUDE_DIR}"
    INTERFACE_LINK_DIRECTORIES "${GeographicLib_LIBRARY_DIR}"
    INTERFACE_LINK_LIBRARIES GeographicLib)
