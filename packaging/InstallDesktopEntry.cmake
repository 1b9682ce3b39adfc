# Run by `cmake --install`: the desktop entry and Dolphin's service menu,
# written at install time so that they follow the prefix given there.
#
# Set by the caller: QUILLMERE_PRODUCT_NAME, QUILLMERE_DESKTOP_ID,
# QUILLMERE_BINDIR, QUILLMERE_DATADIR, QUILLMERE_DESKTOP_TEMPLATE and
# QUILLMERE_SERVICEMENU_TEMPLATE.
#
# The entry in the application menu claims no file types, folders least of
# all: a bulk renamer must never become the program that opens folders in
# place of the file manager. Folders reach it the way they reach other
# renamers: Dolphin's service menu here, a Thunar custom action or a
# Nautilus script (doc/file-managers.md).

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
set(entry "${apps_dir}/${QUILLMERE_DESKTOP_ID}.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${QUILLMERE_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")

# KDE reads a service menu of a user's own folders only when it is
# executable; one in the system's folders (/usr, /usr/local) needs no such
# bit, and a package should not set it.
set(menus_dir "$ENV{DESTDIR}${prefix}/${QUILLMERE_DATADIR}/kio/servicemenus")
message(STATUS "Installing: ${menus_dir}/quillmere.desktop")
if(prefix MATCHES "^/usr(/local)?/?$")
    set(menu_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
else()
    set(menu_permissions OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()
configure_file("${QUILLMERE_SERVICEMENU_TEMPLATE}" "${menus_dir}/quillmere.desktop" @ONLY
               FILE_PERMISSIONS ${menu_permissions})
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${menus_dir}/quillmere.desktop")
