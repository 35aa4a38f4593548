# Runs com_client.vbs with Wine's cscript against the registered server. Wine's cscript exits 0
# on a script error, so the run passes only when the script reached its summary line and that
# line counts no failure.
cmake_minimum_required(VERSION 3.25)
include(${SCRIPTS}/wine_steps.cmake)

wine_run(rc text regsvr32 /s ${DLL})
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "regsvr32 exited ${rc}: ${text}")
endif()
# The script path is relative: cscript reads an absolute Unix path as a switch.
wine_run(script_rc output cscript //nologo com_client.vbs)
wine_run(rc text regsvr32 /u /s ${DLL})
message("${output}")
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "regsvr32 /u exited ${rc}: ${text}")
endif()

if(NOT output MATCHES "(^|\n)com_client: ([0-9]+) passed, ([0-9]+) failed\n")
    message(FATAL_ERROR "com_client.vbs stopped before its summary line (exit ${script_rc})")
endif()
set(passed ${CMAKE_MATCH_2})
set(failed ${CMAKE_MATCH_3})
if(NOT failed EQUAL 0 OR NOT script_rc EQUAL failed OR passed LESS 30)
    message(FATAL_ERROR "com_client.vbs: ${passed} passed, ${failed} failed, exit ${script_rc}")
endif()
