# cmake -DSOURCE_DIR=<folder holding src/> -P CheckLayers.cmake
#
# Fails when a file of one layer includes a header of a layer above it (or
# beside it). Each folder of src/ is one layer, its sub-folders included, and
# lists the layers its code may include. Every include of every header and
# source file counts, wherever it stands in the file, in either spelling
# ("layer/X.h" or <layer/X.h>) and written relative to the file
# ("../layer/X.h"). A folder of src/ that is not listed here fails the check,
# so that a new layer is placed before it is used.
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(allowed_core      core)
set(allowed_rename    core rename)
set(allowed_selection core rename selection)
set(allowed_skin      core skin)
set(allowed_rtf       rtf)
set(allowed_windows   core rename skin rtf windows)
set(allowed_app       core rename selection skin rtf windows app)
set(allowed_cli       core rename selection cli)
set(layers core rename selection skin rtf windows app cli)

get_filename_component(src "${SOURCE_DIR}/src" ABSOLUTE)
set(violations "")

file(GLOB folders LIST_DIRECTORIES true RELATIVE "${src}" "${src}/*")
foreach(folder IN LISTS folders)
    if(IS_DIRECTORY "${src}/${folder}" AND NOT folder IN_LIST layers)
        list(APPEND violations "src/${folder}: a folder that is no layer of this check")
    endif()
endforeach()

# The layer an include names, or nothing when it names no folder of src/.
function(layer_of_include file spelled out)
    set(${out} "" PARENT_SCOPE)
    if(spelled MATCHES "^\\.\\.?/")
        get_filename_component(base "${file}" DIRECTORY)
        get_filename_component(resolved "${base}/${spelled}" ABSOLUTE)
        string(FIND "${resolved}/" "${src}/" at)
        if(NOT at EQUAL 0)
            return()
        endif()
        file(RELATIVE_PATH spelled "${src}" "${resolved}")
    endif()
    string(REGEX REPLACE "^src/" "" spelled "${spelled}")
    if(spelled MATCHES "^([A-Za-z0-9_]+)/")
        set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    endif()
endfunction()

foreach(layer IN LISTS layers)
    file(GLOB_RECURSE files
        "${src}/${layer}/*.h" "${src}/${layer}/*.hpp" "${src}/${layer}/*.cpp" "${src}/${layer}/*.c"
        "${src}/${layer}/*.in")
    foreach(file IN LISTS files)
        # The whole file as one text, so that no character of it (a ";" or an
        # unbalanced "[" that would split or join CMake list items) can hide
        # an include.
        file(READ "${file}" content)
        string(REPLACE "\r" "" content "${content}")
        string(REGEX MATCHALL "(^|\n)[ \t]*#[ \t]*include(_next)?[ \t]*[<\"][^<>\"\n;]*[>\"]" includes "${content}")
        foreach(line IN LISTS includes)
            string(STRIP "${line}" line)
            string(REGEX MATCH "[<\"]([^<>\"]*)[>\"]" _ "${line}")
            layer_of_include("${file}" "${CMAKE_MATCH_1}" target)
            if(target STREQUAL "" OR NOT target IN_LIST layers)
                continue()
            endif()
            if(NOT target IN_LIST allowed_${layer})
                file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
                list(APPEND violations "${shown}: ${line} (${layer} may include: ${allowed_${layer}})")
            endif()
        endforeach()
    endforeach()
endforeach()

if(violations)
    list(JOIN violations "\n  " text)
    message(FATAL_ERROR "Includes that point up the layers:\n  ${text}")
endif()
message(STATUS "Layers: every include points down")
