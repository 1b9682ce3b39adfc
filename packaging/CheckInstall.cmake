# cmake -DCHECK=<layout|desktop|metainfo> -DPREFIX=... -P CheckInstall.cmake
#
# Looks at an installed tree. Set by the caller: PREFIX (the installed
# prefix), BINDIR and DATADIR (relative to it), DATA_FROM_BIN (the data
# folder as the program finds it from its own folder), APPSTREAM_ID,
# VERSION, and TOOL for the validators.
cmake_minimum_required(VERSION 3.25)

set(failures "")
function(fail message)
    set(failures "${failures}  ${message}\n" PARENT_SCOPE)
endfunction()
macro(require_file path)
    if(NOT EXISTS "${path}")
        fail("missing ${path}")
    endif()
endmacro()

set(program "${PREFIX}/${BINDIR}/quillmere")
set(apps "${PREFIX}/${DATADIR}/applications/${APPSTREAM_ID}.desktop")
set(menu "${PREFIX}/${DATADIR}/kio/servicemenus/quillmere.desktop")
set(metainfo "${PREFIX}/${DATADIR}/metainfo/${APPSTREAM_ID}.metainfo.xml")

if(CHECK STREQUAL "layout")
    require_file("${program}")
    if(IS_SYMLINK "${program}")
        fail("${program} is a link, not the program")
    endif()
    require_file("${PREFIX}/${BINDIR}/quillmere-rename")
    # Where the program looks for its help document once installed.
    require_file("${PREFIX}/${BINDIR}/${DATA_FROM_BIN}/Help.rtf")
    require_file("${PREFIX}/${DATADIR}/quillmere/Help.rtf")
    require_file("${PREFIX}/${DATADIR}/doc/quillmere/copyright")
    require_file("${PREFIX}/${DATADIR}/icons/hicolor/scalable/apps/quillmere.svg")
    require_file("${apps}")
    require_file("${menu}")

    # Both entries start the installed program with the chosen files.
    foreach(entry IN ITEMS "${apps}" "${menu}")
        if(EXISTS "${entry}")
            file(STRINGS "${entry}" exec_line REGEX "^Exec=")
            if(NOT exec_line STREQUAL "Exec=\"${program}\" %F")
                fail("${entry}: '${exec_line}' does not start ${program} with %F")
            endif()
        endif()
    endforeach()
    if(EXISTS "${apps}")
        # Claiming a type can make the program its default: folders must
        # stay with the file manager, and nothing else is Quillmere's to open.
        file(STRINGS "${apps}" mime REGEX "^MimeType")
        if(NOT mime STREQUAL "")
            fail("the desktop entry claims file types: '${mime}'")
        endif()
        file(STRINGS "${apps}" german REGEX "^(Name|Comment)\\[de\\]=.")
        list(LENGTH german german_count)
        if(NOT german_count EQUAL 2)
            fail("the desktop entry lacks its German Name or Comment: '${german}'")
        endif()
    endif()
    if(EXISTS "${menu}")
        # KDE reads a service menu in a user's own folders only when it is
        # executable (this check installs into the build tree).
        execute_process(COMMAND test -x "${menu}" RESULT_VARIABLE not_executable)
        if(NOT not_executable EQUAL 0)
            fail("the service menu is not executable")
        endif()
        file(STRINGS "${menu}" action_name REGEX "^Name=")
        if(NOT action_name STREQUAL "Name=Rename with Quillmere")
            fail("service menu action: '${action_name}'")
        endif()
    endif()
elseif(CHECK STREQUAL "desktop")
    # Warnings count: the validator prints them but still answers 0.
    execute_process(COMMAND "${TOOL}" "${apps}" RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    message(STATUS "desktop-file-validate ${apps}: exit ${result}\n${out}")
    if(NOT result EQUAL 0 OR NOT out STREQUAL "")
        fail("desktop-file-validate did not pass the entry cleanly")
    endif()
elseif(CHECK STREQUAL "metainfo")
    execute_process(COMMAND "${TOOL}" validate --no-net "${metainfo}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    message(STATUS "appstreamcli validate --no-net ${metainfo}: exit ${result}\n${out}")
    if(NOT result EQUAL 0)
        fail("appstreamcli validate failed")
    endif()
    if(EXISTS "${metainfo}")
        # The listing's release is the version the build was made with.
        file(READ "${metainfo}" xml)
        string(REGEX MATCH "<release version=\"([^\"]*)\"" release "${xml}")
        if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
            fail("the release '${CMAKE_MATCH_1}' is not the version ${VERSION}")
        endif()
        string(REGEX MATCH "<launchable type=\"desktop-id\">([^<]*)</launchable>" launchable "${xml}")
        if(CMAKE_MATCH_1 STREQUAL "" OR NOT EXISTS "${PREFIX}/${DATADIR}/applications/${CMAKE_MATCH_1}")
            fail("the launchable '${CMAKE_MATCH_1}' is not installed")
        endif()
    endif()
else()
    message(FATAL_ERROR "unknown CHECK '${CHECK}'")
endif()

if(failures)
    message(FATAL_ERROR "Installed tree under ${PREFIX}:\n${failures}")
endif()
