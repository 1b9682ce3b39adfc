# cmake -DSOURCE_DIR=<folder holding src/> -P CheckLayers.cmake
#
# Fails when a file of one layer includes a header of a layer above it. Each
# folder of src/ lists the folders its code may include; anything else under
# src/ is an upward (or sideways) include.
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

set(violations "")
foreach(layer IN LISTS layers)
    file(GLOB_RECURSE files
        "${SOURCE_DIR}/src/${layer}/*.h" "${SOURCE_DIR}/src/${layer}/*.cpp" "${SOURCE_DIR}/src/${layer}/*.in")
    foreach(file IN LISTS files)
        file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
        foreach(line IN LISTS includes)
            string(REGEX MATCH "\"([a-z]+)/" _ "${line}")
            set(target "${CMAKE_MATCH_1}")
            if(NOT target IN_LIST layers)
                continue()
            endif()
            if(NOT target IN_LIST allowed_${layer})
                file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
                string(STRIP "${line}" line)
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
