# Run by `cmake --install`: the program's link in bin/ and its desktop entry,
# written at install time so that they follow the prefix given there.
#
# Set by the caller: QUILLMERE_PRODUCT_NAME, QUILLMERE_BINDIR, QUILLMERE_DATADIR,
# QUILLMERE_LINK_TARGET (the program, relative to the bin folder) and
# QUILLMERE_DESKTOP_TEMPLATE.

set(prefix "${CMAKE_INSTALL_PREFIX}")

set(bin_dir "$ENV{DESTDIR}${prefix}/${QUILLMERE_BINDIR}")
file(MAKE_DIRECTORY "${bin_dir}")
file(REMOVE "${bin_dir}/quillmere")
message(STATUS "Installing: ${bin_dir}/quillmere -> ${QUILLMERE_LINK_TARGET}")
file(CREATE_LINK "${QUILLMERE_LINK_TARGET}" "${bin_dir}/quillmere" SYMBOLIC)

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
