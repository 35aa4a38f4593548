cmake_minimum_required(VERSION 3.25)
# Runs the include-rule check on a tree of deliberate offences (tests/include_rules/) and fails
# unless it refuses exactly those, so that a rule that silently stopped matching is noticed.
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${FIXTURE} -P ${CHECK}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
    message(FATAL_ERROR "the check accepted a tree that breaks the rules:\n${output}")
endif()
set(refused
    "sampling/uses_windows.cpp: #include <WRL/client.h>"
    "sampling/uses_windows.cpp: #include <atlbase.h>"
    "sampling/uses_windows.cpp: #include <comdef.h>"
    "sampling/uses_windows.cpp: #include <combaseapi.h>"
    "sampling/uses_windows.cpp: #include <windows.h>"
    "sampling/uses_windows.cpp: #include \"inspection/client_service_log.h\""
    "frame/uses_billops.h: #include <sqlite3.h>"
    "frame/uses_billops.h: #include \"billops/audit.h\""
    "frame/uses_billops.h: #include \"values.h\""
    "host/uses_sqlite.cpp: #include <oleauto.h>")
set(count 0)
foreach(line ${refused})
    string(FIND "${output}" "${line}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "not refused: ${line}\n${output}")
    endif()
    math(EXPR count "${count} + 1")
endforeach()
string(REGEX MATCHALL "#include" reported "${output}")
list(LENGTH reported reportedCount)
if(NOT reportedCount EQUAL count)
    message(FATAL_ERROR "refused ${reportedCount} includes, expected ${count}:\n${output}")
endif()
