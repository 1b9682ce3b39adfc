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
set(QUILLMERE_DEBIAN_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QUILLMERE_DEBIAN_RELEASE})
set(QUILLMERE_DEBIAN_MAINTAINER "${QUILLMERE_COMPANY_NAME} <packages@${QUILLMERE_WEB_ADDRESS}>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLMERE_DEBIAN_MAINTAINER}")

# Every Debian package that is not native carries its changelog, compressed.
# Its one entry is the release, dated the day the release was made.
execute_process(COMMAND date -u -R -d "${QUILLMERE_RELEASE_DATE}"
                OUTPUT_VARIABLE QUILLMERE_DEBIAN_DATE OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
set(debian_changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/changelog.Debian.in ${debian_changelog} @ONLY)
add_custom_command(OUTPUT ${debian_changelog}.gz
    COMMAND ${GZIP_PROGRAM} -9nkf ${debian_changelog}
    DEPENDS ${debian_changelog}
    VERBATIM)
add_custom_target(quillmere_debian_changelog ALL DEPENDS ${debian_changelog}.gz)
install(FILES ${debian_changelog}.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillmere)
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
