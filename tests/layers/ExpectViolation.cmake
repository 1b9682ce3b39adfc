# cmake -DCHECK=<CheckLayers.cmake> -DTREE=<planted tree> -DEXPECT=<text> -P ExpectViolation.cmake
#
# Passes only when the layer check fails on the planted tree and names the
# planted line: a check that let it through, or failed for another reason,
# fails this test.
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${TREE} -P ${CHECK}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(result EQUAL 0)
    message(FATAL_ERROR "the layer check passed ${TREE}:\n${output}${errors}")
endif()
string(FIND "${errors}" "${EXPECT}" at)
if(at EQUAL -1)
    message(FATAL_ERROR "the layer check failed on ${TREE} without naming\n  ${EXPECT}\nit said:\n${errors}")
endif()
message(STATUS "caught: ${EXPECT}")
