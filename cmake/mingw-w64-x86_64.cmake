# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VYM_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VYM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VYM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VYM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VYM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program runs from a bare folder: no runtime DLLs of the compiler beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Debian ships GoogleTest as sources and nlohmann-json as host headers only; these package files
# build the one and expose the other without putting the host's /usr/include on the cross
# compiler's path.
set(GTest_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-packages)
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-packages)
