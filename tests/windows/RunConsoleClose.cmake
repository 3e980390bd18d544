# The console window closed (or the user logging off, the system shutting down) while a script
# runs with a recording: Windows calls the console handler on a thread of its own and ends the
# process as soon as it returns. The program's test hook (TAVLIN_TEST_CONSOLE_EVENT) sends the
# event through the system's dispatch of console events and ends the process the same way; the
# run must have ended through its own path by then: the JSON object written, the log's end line,
# the recording flushed to its last answer, all within the seconds Windows allows.
# Arguments (-D): EMULATOR, EXE, WORKDIR, EVENT (close, logoff or shutdown).
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR})
string(REPEAT "1 srd 11\n" 2000 script)  # about a minute on the slow link: never ends by itself
file(WRITE ${WORKDIR}/long.ini "${script}")

set(ENV{TAVLIN_TEST_CONSOLE_EVENT} "${EVENT}:2500")
execute_process(COMMAND ${EMULATOR} ${EXE} --simulate --sim-faults latency=10ms --json
        --record closed.trace script long.ini
    WORKING_DIRECTORY ${WORKDIR}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors
    TIMEOUT 60)
unset(ENV{TAVLIN_TEST_CONSOLE_EVENT})
# Shown shortened; the checks below read all of it (the event's line may stand in the middle).
string(LENGTH "${errors}" length)
set(shown "${errors}")
if(length GREATER 2000)
    string(SUBSTRING "${errors}" 0 1000 head)
    math(EXPR from "${length} - 1000")
    string(SUBSTRING "${errors}" ${from} -1 tail)
    set(shown "${head}\n...\n${tail}")
endif()
message("${shown}")

# Ended by the hook (STATUS_CONTROL_C_EXIT, of which the emulator passes the low byte), or by
# the program's own exit just before it: an interrupted run.
if(NOT status STREQUAL "58" AND NOT status STREQUAL "1")
    message(FATAL_ERROR "exit status ${status}, expected the console event's end (58) or 1")
endif()
if(NOT errors MATCHES "console event [0-9]+: the handlers returned after ([0-9]+) ms")
    message(FATAL_ERROR "the console event was not sent")
endif()
if(CMAKE_MATCH_1 GREATER_EQUAL 4000)
    message(FATAL_ERROR "the handler held the console event ${CMAKE_MATCH_1} ms")
endif()

if(NOT output MATCHES "^{.*\"interrupted\":true.*}\n$")
    message(FATAL_ERROR "no complete JSON object of an interrupted run:\n${output}")
endif()
file(READ ${WORKDIR}/Tavlin_log.txt log)
if(NOT log MATCHES "Tavlin log end!\n$")
    message(FATAL_ERROR "the log does not end with its end line:\n${log}")
endif()

# Every answer the run printed is in the recording, and its last line is whole.
string(REGEX MATCHALL "FPGASingleRead" reads "${output}")
list(LENGTH reads printed)
file(STRINGS ${WORKDIR}/closed.trace answers REGEX "\"event\":\"in\"")
list(LENGTH answers recorded)
file(READ ${WORKDIR}/closed.trace trace)
if(printed EQUAL 0 OR recorded LESS printed OR NOT trace MATCHES "}\n$")
    message(FATAL_ERROR "the recording has ${recorded} answers of ${printed} printed reads, "
        "or its last line is cut")
endif()
message("${EVENT}: ${printed} reads printed, ${recorded} answers recorded")
