# The packages, through CPack: `cpack` in a build folder makes the one of its platform, a Debian
# package on Linux (vymsetup_<version>_<arch>.deb) or a zip on Windows
# (vymsetup-<version>-win64.zip, or -win32 from a 32-bit build). Both hold what the install
# rules install, stripped.
set(CPACK_PACKAGE_NAME vymsetup)
set(CPACK_PACKAGE_VENDOR "The VYM Card Setup developers")
set(CPACK_PACKAGE_CONTACT "${VYM_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "resource setup for the VYM ISA Plug and Play sound card")
# Lines short enough for an 80-column terminal, as the package tools show them as they are; an
# empty line parts paragraphs.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "VYM Card Setup sets the hardware resources (I/O ports, IRQs and DMA"
    "channels) of the VYM ISA Plug and Play sound card by rewriting the card's"
    "2048-byte configuration EEPROM: it reads the image, shows one dialog with"
    "a field for each resource, applies the choices under the card's rules and"
    "writes the rebuilt image back byte by byte."
    ""
    "On Linux the card is an EEPROM image file: a dump read with an EEPROM"
    "programmer, or a per-user card made from the factory image."
    ""
    "This package holds vymsetup, the dialog in the terminal (keyboard and"
    "mouse); vymsetup-script, which runs the same program unattended from a"
    "script of user actions and prints what it shows as JSON Lines; and vymcnf,"
    "which decodes, saves, compares and writes back the card's EEPROM from the"
    "command line, after a backup and with a read-back that proves the write.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES TRUE)

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME vymsetup-${PROJECT_VERSION}-${VYM_WINDOWS_PACKAGE_SUFFIX})
    # The zip unpacks into a folder of its name, not over whatever lies where it is opened.
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VYM_PACKAGE_CONTACT}")
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # The dependencies are those of the binaries, as dpkg-shlibdeps (dpkg-dev) finds them.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

include(CPack)
