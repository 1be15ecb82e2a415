# nlohmann-json for the Windows cross build: the header-only library of the host (Debian package
# nlohmann-json3-dev), seen through a folder of its own so that the cross compiler never gets the
# host's /usr/include (and its C library headers) on its path.
if(TARGET nlohmann_json::nlohmann_json)
    set(nlohmann_json_FOUND TRUE)
    return()
endif()

set(VYM_NLOHMANN_JSON_HEADERS /usr/include/nlohmann CACHE PATH "nlohmann-json headers of the host")
if(NOT EXISTS ${VYM_NLOHMANN_JSON_HEADERS}/json.hpp)
    set(nlohmann_json_FOUND FALSE)
    set(nlohmann_json_NOT_FOUND_MESSAGE "no ${VYM_NLOHMANN_JSON_HEADERS}/json.hpp (package nlohmann-json3-dev)")
    return()
endif()

set(_vym_json_include ${CMAKE_BINARY_DIR}/_deps/nlohmann_json/include)
file(MAKE_DIRECTORY ${_vym_json_include})
if(NOT EXISTS ${_vym_json_include}/nlohmann)
    file(CREATE_LINK ${VYM_NLOHMANN_JSON_HEADERS} ${_vym_json_include}/nlohmann SYMBOLIC)
endif()

add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${_vym_json_include})
unset(_vym_json_include)
set(nlohmann_json_FOUND TRUE)
