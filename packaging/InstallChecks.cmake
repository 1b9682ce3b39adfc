# Checks of the installed tree, run by ctest: the build is installed into a
# folder of the build tree, and the validators the desktops and software
# centres use read the files from there. A validator that is not installed
# leaves its check out.

set(check_root ${CMAKE_BINARY_DIR}/install-check)
set(check_prefix ${check_root}/usr)
file(RELATIVE_PATH data_from_bin ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/quillmere)

# Cleared first, so that nothing an earlier install left there is checked.
add_test(NAME install_tree_cleared COMMAND ${CMAKE_COMMAND} -E rm -rf ${check_root})
add_test(NAME install_into_build_tree
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${check_prefix})
set_tests_properties(install_tree_cleared install_into_build_tree PROPERTIES FIXTURES_SETUP installed_tree)
set_tests_properties(install_into_build_tree PROPERTIES DEPENDS install_tree_cleared)

set(check_args
    -DPREFIX=${check_prefix}
    -DBINDIR=${CMAKE_INSTALL_BINDIR}
    -DDATADIR=${CMAKE_INSTALL_DATADIR}
    -DDATA_FROM_BIN=${data_from_bin}
    -DAPPSTREAM_ID=${QUILLMERE_APPSTREAM_ID}
    -DVERSION=${PROJECT_VERSION})

add_test(NAME installed_layout
    COMMAND ${CMAKE_COMMAND} ${check_args} -DCHECK=layout -P ${CMAKE_CURRENT_SOURCE_DIR}/CheckInstall.cmake)
set_tests_properties(installed_layout PROPERTIES FIXTURES_REQUIRED installed_tree)

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
    add_test(NAME desktop_entry_valid
        COMMAND ${CMAKE_COMMAND} ${check_args} -DCHECK=desktop -DTOOL=${DESKTOP_FILE_VALIDATE}
                -P ${CMAKE_CURRENT_SOURCE_DIR}/CheckInstall.cmake)
    set_tests_properties(desktop_entry_valid PROPERTIES FIXTURES_REQUIRED installed_tree)
else()
    message(STATUS "desktop-file-validate not found: the desktop entry is not validated")
endif()

find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
    add_test(NAME metainfo_valid
        COMMAND ${CMAKE_COMMAND} ${check_args} -DCHECK=metainfo -DTOOL=${APPSTREAMCLI}
                -P ${CMAKE_CURRENT_SOURCE_DIR}/CheckInstall.cmake)
    set_tests_properties(metainfo_valid PROPERTIES FIXTURES_REQUIRED installed_tree)
else()
    message(STATUS "appstreamcli not found: the metainfo is not validated")
endif()
