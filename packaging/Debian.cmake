# A Debian package from the same build: `cpack -G DEB` in the build folder
# gives quillmere_<version>-<revision>_<arch>.deb with everything the install
# rules put in place. Its library dependencies are read from the programs
# themselves (dpkg-shlibdeps).

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "quillmere")
set(CPACK_PACKAGE_VENDOR "${QUILLMERE_COMPANY_NAME}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bulk file renamer for one folder at a time")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://${QUILLMERE_WEB_ADDRESS}/")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
# The desktop entries are written with the final prefix in them, so the
# package is staged with DESTDIR under the real prefix.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_INSTALL_PREFIX "/usr")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLMERE_COMPANY_NAME} <packages@${QUILLMERE_WEB_ADDRESS}>")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window system plugins are loaded at run time, so dpkg-shlibdeps cannot
# see them; without them the window program cannot open a window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# CPack puts the summary above this as the first line of the description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Quillmere renames many files of one folder in a single run: a new name with
a running number and a new extension, a new name keeping each file's
extension, a new extension only, a prefix or a suffix. Running numbers can
be filled with zeros; a name already taken is replaced or avoided. Files are
renamed in place, never copied and deleted.
.
The package holds the window program quillmere and the command-line tool
quillmere-rename, which uses the same engine.")

include(CPack)
