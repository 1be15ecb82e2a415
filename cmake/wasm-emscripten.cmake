# WebAssembly build with Debian's Emscripten: the page vymsetup.html and the runner
# vymsetup-script.js for Node. Emscripten's own platform file does the work; this file finds it.
if(NOT EMSCRIPTEN_ROOT_PATH)
    find_path(EMSCRIPTEN_ROOT_PATH emcc.py PATHS /usr/share/emscripten $ENV{EMSDK}/upstream/emscripten
              NO_DEFAULT_PATH REQUIRED)
endif()
include(${EMSCRIPTEN_ROOT_PATH}/cmake/Modules/Platform/Emscripten.cmake)

# The JSON library is header-only, but its package names all of /usr/include, whose C headers
# are the build machine's and not Emscripten's: give the build its headers alone.
set(VYM_WASM_JSON_DIR ${CMAKE_BINARY_DIR}/wasm-json)
if(NOT EXISTS ${VYM_WASM_JSON_DIR}/include/nlohmann)
    file(MAKE_DIRECTORY ${VYM_WASM_JSON_DIR}/include)
    file(CREATE_LINK /usr/include/nlohmann ${VYM_WASM_JSON_DIR}/include/nlohmann SYMBOLIC)
endif()
file(WRITE ${VYM_WASM_JSON_DIR}/nlohmann_jsonConfig.cmake
    "if(NOT TARGET nlohmann_json::nlohmann_json)\n"
    "  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)\n"
    "  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES\n"
    "    INTERFACE_INCLUDE_DIRECTORIES ${VYM_WASM_JSON_DIR}/include)\n"
    "endif()\n")
file(WRITE ${VYM_WASM_JSON_DIR}/nlohmann_jsonConfigVersion.cmake
    "set(PACKAGE_VERSION 3.11)\nset(PACKAGE_VERSION_COMPATIBLE TRUE)\n")
set(nlohmann_json_DIR ${VYM_WASM_JSON_DIR} CACHE PATH "" FORCE)
