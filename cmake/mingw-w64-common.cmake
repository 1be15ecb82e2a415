# What both Windows cross builds share; the toolchain files set VYM_MINGW_PREFIX (the target
# triplet) and VYM_MINGW_THREADS (the compilers' thread model) first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${VYM_MINGW_PREFIX}-gcc-${VYM_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${VYM_MINGW_PREFIX}-g++-${VYM_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${VYM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VYM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian ships GoogleTest as sources and nlohmann-json as host headers only; these package files
# build the one and expose the other without putting the host's /usr/include on the cross
# compiler's path.
set(GTest_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-packages)
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-packages)
