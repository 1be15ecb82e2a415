# test-programs.txt in the build folder: the GoogleTest programs the build makes, one a line,
# relative to the build folder. The Wine stage runs each one of the cross build as a Windows
# executable, so a new test program runs there as soon as the build makes it.

# The executables linked with GoogleTest's main that DIRECTORY and the folders below it define.
function(_vym_test_programs_in directory result)
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    set(programs "")
    foreach(target ${targets})
        get_target_property(type ${target} TYPE)
        get_target_property(libraries ${target} LINK_LIBRARIES)
        if(type STREQUAL "EXECUTABLE" AND "GTest::gtest_main" IN_LIST libraries)
            list(APPEND programs ${target})
        endif()
    endforeach()
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory ${subdirectories})
        _vym_test_programs_in(${subdirectory} below)
        list(APPEND programs ${below})
    endforeach()
    set(${result} ${programs} PARENT_SCOPE)
endfunction()

function(vym_write_test_program_list)
    _vym_test_programs_in(${PROJECT_SOURCE_DIR} programs)
    set(lines "")
    foreach(program ${programs})
        string(APPEND lines
            "$<PATH:RELATIVE_PATH,$<TARGET_FILE:${program}>,${PROJECT_BINARY_DIR}>\n")
    endforeach()
    file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/test-programs.txt CONTENT "${lines}")
endfunction()
