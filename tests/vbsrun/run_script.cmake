# Runs vbsrun from the scripts folder and checks what it did:
#   VBSRUN    the program
#   SCRIPTS   the folder holding the scripts and expected outputs
#   COMMAND   the arguments, '|' between them
#   EXIT      the exit code it must end with
#   STDOUT    (optional) a file in SCRIPTS standard output must equal
#   STDERR    (optional) a regular expression standard error must match
string(REPLACE "|" ";" arguments "${COMMAND}")
execute_process(COMMAND ${VBSRUN} ${arguments}
                WORKING_DIRECTORY ${SCRIPTS}
                OUTPUT_VARIABLE out
                ERROR_VARIABLE err
                RESULT_VARIABLE code)
set(report "exit code ${code}\n--- stdout\n${out}--- stderr\n${err}---")
if(NOT code STREQUAL EXIT)
    message(FATAL_ERROR "expected exit code ${EXIT}, got ${report}")
endif()
if(DEFINED STDOUT)
    file(READ ${SCRIPTS}/${STDOUT} expected)
    if(NOT out STREQUAL expected)
        message(FATAL_ERROR "standard output differs from ${STDOUT}:\n${expected}\ngot ${report}")
    endif()
endif()
if(DEFINED STDERR)
    if(NOT err MATCHES "${STDERR}")
        message(FATAL_ERROR "standard error does not match '${STDERR}': ${report}")
    endif()
elseif(NOT err STREQUAL "")
    message(FATAL_ERROR "unexpected standard error: ${report}")
endif()
