# The example of `velaqm plan` in the README is what the command prints and draws as it stands.
# -DVELAQM=the command  -DROOT=the source tree  -DWORK=a scratch folder
set(args plan 1000 II normal 1.0 --lang en --svg docs/plan-example.svg)
string(JOIN " " command_line ${args})
file(READ ${ROOT}/README.md readme)
string(FIND "${readme}" "velaqm ${command_line}\n" at)
if(at EQUAL -1)
    message(FATAL_ERROR "the README does not show the example `velaqm ${command_line}`")
endif()

file(MAKE_DIRECTORY ${WORK}/docs)
execute_process(COMMAND ${VELAQM} ${args} WORKING_DIRECTORY ${WORK}
    OUTPUT_VARIABLE printed ERROR_VARIABLE problem RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "velaqm ${command_line} failed (${status}): ${problem}")
endif()
string(FIND "${readme}" "${printed}" at)
if(at EQUAL -1)
    message(FATAL_ERROR "the README's output of the example is not what the command prints:\n"
        "${printed}")
endif()

file(READ ${ROOT}/docs/plan-example.svg stored)
file(READ ${WORK}/docs/plan-example.svg drawn)
if(NOT stored STREQUAL drawn)
    message(FATAL_ERROR "docs/plan-example.svg is not the chart the command draws; run "
        "`velaqm ${command_line}` in the source tree")
endif()
