# Runs `quillary-cli parse ARGS` in WORKDIR and checks its exit status and, when GOLDEN is given,
# its standard output against that file (regenerate deliberately and read the diff).
string(REPLACE "|" ";" ARGS "${ARGS}")
execute_process(COMMAND ${CLI} parse ${ARGS}
                WORKING_DIRECTORY ${WORKDIR}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL EXPECTED_RC)
    message(FATAL_ERROR "exit status ${rc}, expected ${EXPECTED_RC}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(DEFINED GOLDEN)
    file(READ ${GOLDEN} expected)
    if(NOT out STREQUAL expected)
        message(FATAL_ERROR "output differs from ${GOLDEN}:\n${out}")
    endif()
endif()
if(DEFINED STDERR AND NOT err MATCHES "${STDERR}")
    message(FATAL_ERROR "stderr does not match \"${STDERR}\":\n${err}")
endif()
