# Runs tavlin-cli.exe once (under the emulator, if any) in a fresh folder and checks its exit
# status, its output (stdout and stderr) and its log. Arguments (-D): EMULATOR, EXE, ARGS (separated by '|'), WORKDIR,
# EXPECT_EXIT, EXPECT_OUTPUT (regex, optional), EXPECT_LOG (regex, optional), PREPARE (a script
# that puts the files the run needs into WORKDIR, optional).
string(REPLACE "|" ";" args "${ARGS}")
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR})
if(DEFINED PREPARE)
    include(${PREPARE})
endif()
execute_process(COMMAND ${EMULATOR} ${EXE} ${args}
    WORKING_DIRECTORY ${WORKDIR}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors
    TIMEOUT 120)
message("${output}${errors}")
if(NOT "${status}" STREQUAL "${EXPECT_EXIT}")
    message(FATAL_ERROR "exit status ${status}, expected ${EXPECT_EXIT}")
endif()
# What the run said, on either stream (with --json its texts for people go to stderr).
if(DEFINED EXPECT_OUTPUT AND NOT "${output}${errors}" MATCHES "${EXPECT_OUTPUT}")
    message(FATAL_ERROR "output does not match: ${EXPECT_OUTPUT}")
endif()
if(DEFINED EXPECT_LOG)
    file(READ ${WORKDIR}/Tavlin_log.txt log)
    if(NOT log MATCHES "${EXPECT_LOG}")
        message(FATAL_ERROR "log does not match: ${EXPECT_LOG}\n${log}")
    endif()
endif()
