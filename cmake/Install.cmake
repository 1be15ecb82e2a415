# What a user installs: the programs, their manual pages and their documents. Nothing of the
# tests, benchmarks or fuzzers: they are never named here.
#
# The programs, by target. A new program is one more name in this list; the Windows package's
# README.txt describes each by the summary below of the same name.
set(VYM_INSTALLED_PROGRAMS
    vymsetup
    vymsetup-script
    vymcnf-cli
)

set(VYM_PROGRAM_SUMMARY_vymsetup
    "the setup program: one dialog with a field for each resource of the card. OK writes the new settings to the card after asking. Given a dump file (dropped on it, or named after it), it works on that file instead, with no driver.")
set(VYM_PROGRAM_SUMMARY_vymsetup-script
    "the same program run unattended from a script of user actions, for setting up many cards alike. It prints what the program shows, one JSON object a line. \"vymsetup-script.exe --help\" in a command prompt tells more.")
set(VYM_PROGRAM_SUMMARY_vymcnf
    "the card's EEPROM from the command line: info, read, write, verify, convert (Intel HEX and raw) and backups. \"vymcnf.exe --help\" tells more.")

# Writes a file made at configuration time only when its text changes, so that a new
# configuration does not make what depends on it look out of date.
function(vym_write_file output text)
    if(EXISTS ${output})
        file(READ ${output} old)
        if(old STREQUAL text)
            return()
        endif()
    endif()
    file(WRITE ${output} "${text}")
endfunction()

# The programs' file names (without .exe), also written down for the package checks of CI.
set(VYM_INSTALLED_PROGRAM_NAMES "")
foreach(program ${VYM_INSTALLED_PROGRAMS})
    if(NOT TARGET ${program})
        message(FATAL_ERROR "the installed program ${program} is not built by this build")
    endif()
    get_target_property(name ${program} OUTPUT_NAME)
    if(NOT name)
        set(name ${program})
    endif()
    list(APPEND VYM_INSTALLED_PROGRAM_NAMES ${name})
endforeach()
string(REPLACE ";" "\n" program_lines "${VYM_INSTALLED_PROGRAM_NAMES}")
vym_write_file(${PROJECT_BINARY_DIR}/packaging/programs.txt "${program_lines}\n")

# The web edition's page, vymsetup.html, is built by the wasm preset, not by this build: a
# build told where it lies installs it with the programs (the packaging stages do).
set(VYM_WEB_PAGE "" CACHE FILEPATH "vymsetup.html from the wasm preset's build, installed with the programs")
if(VYM_WEB_PAGE AND NOT EXISTS "${VYM_WEB_PAGE}")
    message(FATAL_ERROR "VYM_WEB_PAGE names ${VYM_WEB_PAGE}, which does not exist")
endif()

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
    include(${CMAKE_CURRENT_LIST_DIR}/InstallWindows.cmake)
    return()
endif()

install(TARGETS ${VYM_INSTALLED_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(VYM_WEB_PAGE)
    install(FILES ${VYM_WEB_PAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/vymsetup)
endif()

# vymcnf's bash completion, where bash-completion loads it on demand: for the Debian package
# /usr/share/bash-completion/completions/vymcnf, under /usr/local its counterpart there.
install(FILES ${PROJECT_SOURCE_DIR}/cli/completion/vymcnf
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

install(FILES
    ${PROJECT_SOURCE_DIR}/README.md
    ${PROJECT_SOURCE_DIR}/docs/terminal.md
    ${PROJECT_SOURCE_DIR}/docs/script.md
    ${PROJECT_SOURCE_DIR}/docs/vymcnf.md
    ${PROJECT_SOURCE_DIR}/docs/vymsetup-screen.txt
    DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The license as a Debian copyright file (machine-readable format), its text taken from LICENSE:
# every line indented by one space, an empty line written as " ."; the title and the copyright
# line are the file's own fields.
set(VYM_PACKAGE_CONTACT "VYM Card Setup developers <vymsetup@example.org>")
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX REPLACE "^.*\nCopyright [^\n]*\n" "" body "${license}")
if(body STREQUAL license)
    message(FATAL_ERROR "LICENSE has no copyright line")
endif()
string(STRIP "${body}" body)
string(REPLACE "\n" "\n " body " ${body}")
# Twice: a match takes the line end that the next empty line would start with.
string(REGEX REPLACE "\n \n" "\n .\n" body "${body}")
string(REGEX REPLACE "\n \n" "\n .\n" VYM_LICENSE_BODY "${body}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/packaging/copyright.in
    ${PROJECT_BINARY_DIR}/packaging/copyright @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The package's changelog, in Debian's format. Its newest entry must be this version's, so that
# a new version cannot go out with the old entry on top.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/packaging/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^vymsetup \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "cmake/packaging/changelog starts with '${changelog_top}': add an entry "
                        "for version ${PROJECT_VERSION} on top")
endif()
find_program(VYM_GZIP gzip DOC "gzip, to compress the manual pages and the changelog")
if(VYM_GZIP)
    set(changelog ${PROJECT_BINARY_DIR}/packaging/changelog)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/packaging/changelog ${changelog} COPYONLY)
    add_custom_command(OUTPUT ${changelog}.gz
        COMMAND ${VYM_GZIP} -9 -n -k -f ${changelog}
        DEPENDS ${changelog}
        VERBATIM)
    add_custom_target(vym_changelog ALL DEPENDS ${changelog}.gz)
    install(FILES ${changelog}.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
else()
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/packaging/changelog DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
