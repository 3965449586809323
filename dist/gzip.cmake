# Compresses INPUT into OUTPUT the way Debian wants its documentation: best
# compression and no name or time stamp, so that rebuilds give equal files.
execute_process(COMMAND gzip -9 -n -c ${INPUT} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${INPUT}")
endif()
