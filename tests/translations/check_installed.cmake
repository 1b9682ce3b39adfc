# Installs the build into a fresh prefix and runs the installed
# quillmere-rename under a German locale: the message files must be where
# the installed program looks for them.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DBINDIR=... -DDATADIR=... -P check_installed.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "install failed: ${errors}")
endif()

set(qm ${PREFIX}/${DATADIR}/quillmere/translations/quillmere_de.qm)
if(NOT EXISTS ${qm})
    message(FATAL_ERROR "not installed: ${qm}")
endif()

set(program ${PREFIX}/${BINDIR}/quillmere-rename)
foreach(case "de_DE.UTF-8|Aufruf: quillmere-rename" "C.UTF-8|Usage: quillmere-rename")
    string(REPLACE "|" ";" case "${case}")
    list(GET case 0 locale)
    list(GET case 1 expected)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LANG=${locale} LC_ALL=${locale} LC_MESSAGES= LANGUAGE=
                            ${program} --help
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(FIND "${out}" "${expected}" at)
    if(NOT status EQUAL 0 OR NOT at EQUAL 0)
        message(FATAL_ERROR "${program} --help under ${locale} (status ${status}) printed:\n${out}${err}\n"
                            "expected it to start with \"${expected}\"")
    endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
