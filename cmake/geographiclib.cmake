# GeographicLib as the imported target GeographicLib::GeographicLib.
# Its own package configuration where one is installed; otherwise (Debian ships only a find module
# outside CMake's search path) the header and the library are found directly. The static library
# is preferred: tarvex-calc links statically, and the other programs then need one shared
# library less.
find_package(GeographicLib CONFIG QUIET)
if(TARGET GeographicLib::GeographicLib)
    return()
endif()
find_path(GeographicLib_INCLUDE_DIR GeographicLib/Geocentric.hpp)
find_library(GeographicLib_LIBRARY NAMES libGeographicLib.a GeographicLib)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(GeographicLib
    REQUIRED_VARS GeographicLib_LIBRARY GeographicLib_INCLUDE_DIR
    REASON_FAILURE_MESSAGE "install libgeographiclib-dev (make deps)")
add_library(GeographicLib::GeographicLib UNKNOWN IMPORTED)
set_target_properties(GeographicLib::GeographicLib PROPERTIES
    IMPORTED_LOCATION "${GeographicLib_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${GeographicLib_INCLUDE_DIR}")
