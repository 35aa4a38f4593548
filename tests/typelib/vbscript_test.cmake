# Runs the VBScript client ${SCRIPT}.vbs with Wine's cscript against the registered server, and
# the test host ${TEST_HOST} beside it when one is given. The client runs as one job after the
# helpers of client_common.vbs, joined here: Wine's cscript runs no .wsf job, and its VBScript
# has no working Execute or ExecuteGlobal to include a file with. Wine's cscript exits 0 on a
# script error, so the run passes only when the script reached its summary line and that line
# counts no failure.
cmake_minimum_required(VERSION 3.25)
include(${SCRIPTS}/wine_steps.cmake)

set(servers ${DLL})
if(TEST_HOST)
    list(APPEND servers ${TEST_HOST})
endif()
foreach(server ${servers})
    wine_run(rc text regsvr32 /s ${server})
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "regsvr32 ${server} exited ${rc}: ${text}")
    endif()
endforeach()
file(READ ${SCRIPTS}/client_common.vbs common)
file(READ ${SCRIPTS}/${SCRIPT}.vbs client)
set(job ${CMAKE_CURRENT_BINARY_DIR}/${SCRIPT}-job.vbs)
file(WRITE ${job} "${common}${client}")
# cscript reads an absolute Unix path as a switch: the job goes by its path on Wine's drive Z:.
string(REPLACE "/" "\\" job_path "Z:${job}")
wine_run(script_rc output cscript //nologo ${job_path})
file(REMOVE ${job})
foreach(server ${servers})
    wine_run(rc text regsvr32 /u /s ${server})
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "regsvr32 /u ${server} exited ${rc}: ${text}")
    endif()
endforeach()
message("${output}")

if(NOT output MATCHES "(^|\n)${SCRIPT}: ([0-9]+) passed, ([0-9]+) failed\n")
    message(FATAL_ERROR "${SCRIPT}.vbs stopped before its summary line (exit ${script_rc})")
endif()
set(passed ${CMAKE_MATCH_2})
set(failed ${CMAKE_MATCH_3})
if(NOT failed EQUAL 0 OR NOT script_rc EQUAL failed OR passed LESS 20)
    message(FATAL_ERROR "${SCRIPT}.vbs: ${passed} passed, ${failed} failed, exit ${script_rc}")
endif()
