# The Windows package: one flat folder that runs as it stands (the programs are static), with
# the emulated card's driver, its install scripts, the factory card and a README.txt. Any
# Windows build makes it, 64-bit or 32-bit alike.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(VYM_WINDOWS_PACKAGE_SUFFIX win64)
    set(VYM_WINDOWS_KIND "64-bit Windows")
else()
    set(VYM_WINDOWS_PACKAGE_SUFFIX win32)
    set(VYM_WINDOWS_KIND "32-bit Windows")
endif()

install(TARGETS ${VYM_INSTALLED_PROGRAMS} RUNTIME DESTINATION .)

# The emulated card: the driver target of emulator/ and the scripts that install and remove it.
set(VYM_EMULATED_CARD_DRIVER vymcnf)
if(NOT TARGET ${VYM_EMULATED_CARD_DRIVER})
    message(FATAL_ERROR "no ${VYM_EMULATED_CARD_DRIVER} target: the package needs the emulated card driver")
endif()
install(TARGETS ${VYM_EMULATED_CARD_DRIVER} LIBRARY DESTINATION . RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/emulator/install.cmd ${PROJECT_SOURCE_DIR}/emulator/remove.cmd
    DESTINATION .)

# vymcnf.bin, the factory card that install.cmd serves by default, written by a tool built for
# the build machine from the same factory image the programs carry.
find_program(VYM_HOST_CXX NAMES c++ g++ clang++ REQUIRED
    DOC "C++ compiler of the build machine, for the build tools")
set(factory_tool_sources
    ${PROJECT_SOURCE_DIR}/emulator/tools/WriteFactoryImage.cpp
    ${PROJECT_SOURCE_DIR}/pnp/FactoryImage.cpp)
set(factory_tool ${PROJECT_BINARY_DIR}/packaging/write-factory-image)
set(factory_card ${PROJECT_BINARY_DIR}/packaging/vymcnf.bin)
add_custom_command(OUTPUT ${factory_tool}
    COMMAND ${VYM_HOST_CXX} ${VYM_HOST_CXX_FLAGS}
            -I${PROJECT_SOURCE_DIR} -MMD -MF ${factory_tool}.d ${factory_tool_sources}
            -o ${factory_tool}
    DEPENDS ${factory_tool_sources}
    DEPFILE ${factory_tool}.d
    COMMENT "Building the factory card tool for the build machine"
    VERBATIM)
add_custom_command(OUTPUT ${factory_card}
    COMMAND ${factory_tool} ${factory_card}
    DEPENDS ${factory_tool}
    COMMENT "Writing the factory card vymcnf.bin"
    VERBATIM)
add_custom_target(vym_factory_card ALL DEPENDS ${factory_card})
install(FILES ${factory_card} DESTINATION .)

# README.txt's list of files: the programs this build installs and the emulated card's files,
# each with its summary wrapped to 78 columns beside the name.
set(VYM_README_FILE_LIST "")
function(vym_readme_entry file text)
    set(indent "                       ")  # 23 columns: two, the longest name, two
    string(LENGTH "${file}" length)
    math(EXPR padding "21 - ${length}")
    string(REPEAT " " ${padding} pad)
    set(line "  ${file}${pad}")
    set(entry "")
    set(first TRUE)
    if(text MATCHES ";")
        message(FATAL_ERROR "README.txt: a summary may not hold a semicolon: ${text}")
    endif()
    string(REPLACE " " ";" words "${text}")
    foreach(word IN LISTS words)
        string(LENGTH "${line} ${word}" length)
        if(first)
            string(APPEND line "${word}")
            set(first FALSE)
        elseif(length GREATER 78)
            string(APPEND entry "${line}\n")
            set(line "${indent}${word}")
        else()
            string(APPEND line " ${word}")
        endif()
    endforeach()
    set(VYM_README_FILE_LIST "${VYM_README_FILE_LIST}${entry}${line}\n" PARENT_SCOPE)
endfunction()
foreach(name ${VYM_INSTALLED_PROGRAM_NAMES})
    if(NOT DEFINED VYM_PROGRAM_SUMMARY_${name})
        message(FATAL_ERROR "no README.txt summary for ${name} (VYM_PROGRAM_SUMMARY_${name})")
    endif()
    vym_readme_entry(${name}.exe "${VYM_PROGRAM_SUMMARY_${name}}")
endforeach()
vym_readme_entry(vymcnf.sys "the emulated card: a driver that serves \\\\.\\VymCnf from a 2048-byte EEPROM image file, for a machine without the card (see below).")
vym_readme_entry(vymcnf.bin "the factory card's EEPROM image, the file that vymcnf.sys serves when install.cmd is given no other.")
vym_readme_entry(install.cmd "installs and starts vymcnf.sys (as administrator).")
vym_readme_entry(remove.cmd "stops and removes vymcnf.sys again (as administrator).")
if(VYM_WEB_PAGE)
    install(FILES ${VYM_WEB_PAGE} DESTINATION .)
    vym_readme_entry(vymsetup.html "the same setup dialog in a web browser, on any machine with a current browser: open a dump of the card's EEPROM in the page, pick the settings, and save the new image. It needs no network and no installation.")
endif()
vym_readme_entry(README.txt "this text.")
vym_readme_entry(LICENSE.txt "the license.")
string(REGEX REPLACE "\n$" "" VYM_README_FILE_LIST "${VYM_README_FILE_LIST}")

# README.txt and LICENSE.txt with the line ends Notepad shows, throughout, substituted values
# included.
function(vym_write_crlf output text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    vym_write_file(${output} "${text}")
endfunction()

set(readme_source ${CMAKE_CURRENT_LIST_DIR}/packaging/README.txt.in)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${readme_source} ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${readme_source} readme)
string(CONFIGURE "${readme}" readme @ONLY)
vym_write_crlf(${PROJECT_BINARY_DIR}/packaging/README.txt "${readme}")
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
vym_write_crlf(${PROJECT_BINARY_DIR}/packaging/LICENSE.txt "${license}")
install(FILES ${PROJECT_BINARY_DIR}/packaging/README.txt ${PROJECT_BINARY_DIR}/packaging/LICENSE.txt
    DESTINATION .)
