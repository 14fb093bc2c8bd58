# The Debian package: everything `cmake --install` installs, under /usr, with Depends
# computed from the binaries by dpkg-shlibdeps (package dpkg-dev). `scripts/package` builds it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME polyshift)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Polyshift maintainers <maintainers@polyshift.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch converter for Japanese text files")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Polyshift converts lists of files through a chain of conversion functions: JIS, EUC and\n"
  "Shift JIS into one another, half-width and full-width characters, line endings,\n"
  "platform-dependent characters, Base64, bitmap to icon, and replacement through string\n"
  "and regular-expression tables. It comes as a window (polyshift) and as a command line\n"
  "(polyshift-cli) that also works as a filter and converts files in parallel.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The runtime library beside the programs is the package's own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CPACK_PACKAGING_INSTALL_PREFIX}/${POLYSHIFT_INSTALL_DIR})
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# What the window needs beyond its libraries: Qt's own Japanese texts (the buttons of its
# boxes) and a font for the dialog's Japanese.
if(TARGET polyshift)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-ipafont-gothic | fonts-noto-cjk")
endif()
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
