# Run by `cmake --install`: the desktop entry and Dolphin's service menu,
# written at install time so that they follow the prefix given there.
#
# Set by the caller: QUILLMERE_PRODUCT_NAME, QUILLMERE_BINDIR, QUILLMERE_DATADIR,
# QUILLMERE_DESKTOP_TEMPLATE and QUILLMERE_SERVICEMENU_TEMPLATE.

set(prefix "${CMAKE_INSTALL_PREFIX}")

# The Exec key gets the program as one quoted argument, so that a prefix with
# blanks still starts it. Inside the quotes a backslash, double quote, backtick
# and dollar sign take a backslash, and the file's own escaping doubles each
# backslash again; a percent sign is doubled.
set(exec "${prefix}/${QUILLMERE_BINDIR}/quillmere")
string(REPLACE "\\" "\\\\\\\\" exec "${exec}")
string(REPLACE "\"" "\\\\\"" exec "${exec}")
string(REPLACE "`" "\\\\`" exec "${exec}")
string(REPLACE "$" "\\\\$" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(QUILLMERE_EXEC "\"${exec}\"")

set(apps_dir "$ENV{DESTDIR}${prefix}/${QUILLMERE_DATADIR}/applications")
message(STATUS "Installing: ${apps_dir}/quillmere.desktop")
configure_file("${QUILLMERE_DESKTOP_TEMPLATE}" "${apps_dir}/quillmere.desktop" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${apps_dir}/quillmere.desktop")

# KDE reads a service menu only when it is executable.
set(menus_dir "$ENV{DESTDIR}${prefix}/${QUILLMERE_DATADIR}/kio/servicemenus")
message(STATUS "Installing: ${menus_dir}/quillmere.desktop")
configure_file("${QUILLMERE_SERVICEMENU_TEMPLATE}" "${menus_dir}/quillmere.desktop" @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${menus_dir}/quillmere.desktop")
