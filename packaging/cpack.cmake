# `make package`: a Debian package of what `cmake --install` puts in place, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME baldo7)
set(CPACK_PACKAGE_VENDOR "BALDO-7 programming software developers")
set(CPACK_PACKAGE_CONTACT "${BALDO7_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${BALDO7_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${BALDO7_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: the window needs a platform plugin; Qt's own dialogs take
# their Chinese texts from the translations, and Chinese needs a font that has it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-wqy-zenhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack puts the summary first and indents the rest itself.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Reads the memory of a BALDO-7 two-way radio over its serial programming
cable, edits its 16 channels (frequencies, CTCSS/DCS tones, power, spacing,
scan list), its radio-wide functions, side keys, model and band, and writes
it back. Configurations are kept in radio data files (.rdat). The interface
is in English and Chinese.

Also contains baldo7ctl, the same functions on the command line, and
baldo7-sim, a simulated radio on a pseudo-terminal for trying and testing.")
# Windows: a ZIP of the install tree (windeployqt adds Qt beside the programs first);
# an installer would need NSIS, which CPack does not bring.
if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGING_INSTALL_PREFIX "")
    set(CPACK_PACKAGE_FILE_NAME "baldo7-${PROJECT_VERSION}-windows-x64")
endif()
include(CPack)
