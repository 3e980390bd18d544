# Every front-end path of tavlin-cli with folders and files named in one script: the log folder,
# a recording and its replay, a firmware package with its images, a script, an FPGA code file and
# the leveling pictures. On Linux, and on Windows under Wine in a locale whose ANSI code page may
# not hold the names. Each run's exit status counts, then what it wrote where it was told to.
# Arguments (-D): EMULATOR (none on Linux), EXE, WORKDIR, PNG (ON when the build writes pictures,
# OFF when it must refuse them)
# and NAMES, '|'-separated: LOG|RECORDING|FOLDER|PACKAGE|HIGH|LOW|SCRIPT|CODE|PICTURES|FOREIGN|
# PROGRAM, where FOREIGN is a log folder and PROGRAM the program's own folder, named in another
# script; DETECTED: the end of the detection as the user's language file says it.
string(REPLACE "|" ";" names "${NAMES}")
list(GET names 0 log)
list(GET names 1 recording)
list(GET names 2 folder)
list(GET names 3 package)
list(GET names 4 high)
list(GET names 5 low)
list(GET names 6 script)
list(GET names 7 code)
list(GET names 8 pictures)
list(GET names 9 foreign)
list(GET names 10 program)

file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR}/${folder})

# run(EXIT OUTPUT_REGEX ARGUMENTS...): one run of the program in WORKDIR.
function(run expect_exit expect_output)
    execute_process(COMMAND ${EMULATOR} ${EXE} ${ARGN}
        WORKING_DIRECTORY ${WORKDIR}
        RESULT_VARIABLE status
        OUTPUT_VARIABLE output
        ERROR_VARIABLE errors
        TIMEOUT 120)
    message("tavlin-cli ${ARGN}\n${output}${errors}")
    if(NOT "${status}" STREQUAL "${expect_exit}")
        message(FATAL_ERROR "tavlin-cli ${ARGN}: exit status ${status}, expected ${expect_exit}")
    endif()
    if(NOT output MATCHES "${expect_output}")
        message(FATAL_ERROR "tavlin-cli ${ARGN}: the output does not match ${expect_output}")
    endif()
    set(output "${output}" PARENT_SCOPE)
endfunction()

function(expect_log_end path)
    if(NOT EXISTS ${WORKDIR}/${path})
        message(FATAL_ERROR "no log at ${path}")
    endif()
    file(READ ${WORKDIR}/${path} text)
    if(NOT text MATCHES "Tavlin log end!\n$")
        message(FATAL_ERROR "the log ${path} does not end with its end line:\n${text}")
    endif()
endfunction()

set(versions "IMAGE Version: M--[0-9a-f]+, S--[0-9a-f]+")

# The log folder, made by the program; the JSON object names it, in UTF-8.
run(0 "\"log\":\"[^\"]*${log}[/\\\\]+Tavlin_log.txt\"" --simulate --json --log-dir ${log} versions)
expect_log_end(${log}/Tavlin_log.txt)
run(0 "${versions}" --simulate --log-dir=${foreign} versions)
expect_log_end(${foreign}/Tavlin_log.txt)

# A recording, then the session replayed from it.
run(0 "${versions}" --simulate --record ${folder}/${recording} versions)
run(0 "${versions}" --replay ${folder}/${recording} versions)

# A firmware package whose images are named in the same script; the device comes back with the
# package's version.
string(REPEAT "h" 1000 image)
file(WRITE ${WORKDIR}/${folder}/${high} "${image}")
file(WRITE ${WORKDIR}/${folder}/${low} "${image}")
file(WRITE ${WORKDIR}/${folder}/${package}
    "[Tavlin HInfo]\nImage_en=1\nImage_version=7\nImage_name=${folder}/${high}\n"
    "[Tavlin LInfo]\nImage_en=1\nImage_version=305419896\nImage_name=${folder}/${low}\n")
run(0 "IMAGE Version: M--12345678" --simulate update ${folder}/${package})

# A script and an FPGA code file.
file(WRITE ${WORKDIR}/${folder}/${script} "1 pwd 10 1 5A\n1 srd 10\n")
run(0 "value: 0x5a" --simulate script ${folder}/${script})
file(WRITE ${WORKDIR}/${folder}/${code} "0123456789")
run(0 "Success!" --simulate fpga ${folder}/${code})

# The leveling pictures, in a folder the program makes.
if(PNG)
    run(0 "" --simulate level --frames 2 --png ${folder}/${pictures})
    foreach(picture master.png slave.png)
        if(NOT EXISTS ${WORKDIR}/${folder}/${pictures}/${picture})
            message(FATAL_ERROR "no ${folder}/${pictures}/${picture}")
        endif()
    endforeach()
else()
    # A build that cannot write pictures refuses them before the device is touched.
    run(1 "--png(\\)|）)" --simulate level --frames 2 --png ${folder}/${pictures})
endif()

# The program itself in a folder named in another script, its libraries and language files
# beside it, as installed: it finds them there and speaks the user's language.
get_filename_component(bin ${EXE} DIRECTORY)
get_filename_component(exe_name ${EXE} NAME)
file(GLOB beside ${bin}/*.dll ${bin}/*.qm)
file(MAKE_DIRECTORY ${WORKDIR}/${program})
foreach(file ${EXE} ${beside})
    get_filename_component(name ${file} NAME)
    file(CREATE_LINK ${file} ${WORKDIR}/${program}/${name} COPY_ON_ERROR)
endforeach()
set(EXE ${WORKDIR}/${program}/${exe_name})
run(0 "${DETECTED}" --simulate detect)
