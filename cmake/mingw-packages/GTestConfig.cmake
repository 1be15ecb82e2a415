# GoogleTest for the Windows cross build, compiled from Debian's sources (/usr/src/googletest)
# into this build tree. The test executables are static, so they run under Wine from the build
# folder as they stand.
if(TARGET GTest::gtest)
    set(GTest_FOUND TRUE)
    return()
endif()

set(VYM_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
if(NOT EXISTS ${VYM_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    set(GTest_FOUND FALSE)
    set(GTest_NOT_FOUND_MESSAGE "no GoogleTest sources in ${VYM_GOOGLETEST_SOURCE_DIR} (package googletest)")
    return()
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${VYM_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL)

foreach(library gtest gtest_main gmock gmock_main)
    # GoogleTest's own code is not held to our warnings-as-errors.
    set_target_properties(${library} PROPERTIES COMPILE_OPTIONS "")
    if(NOT TARGET GTest::${library})
        add_library(GTest::${library} ALIAS ${library})
    endif()
endforeach()
# The older names that FindGTest also defines.
add_library(GTest::GTest ALIAS gtest)
add_library(GTest::Main ALIAS gtest_main)

set(GTEST_LIBRARIES GTest::gtest)
set(GTEST_MAIN_LIBRARIES GTest::gtest_main)
set(GTest_FOUND TRUE)
