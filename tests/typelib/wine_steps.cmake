# Helpers of the Wine test scripts: running a Windows program under Wine with a time limit, and
# the server's GUIDs read from the IDL, so that the tests check what the IDL declares.

# wine_run(RC OUT program args...): exit code and output (CRs removed) of the program. Output
# goes through files: a program that needs the desktop starts Wine's explorer, which inherits
# stderr and keeps a pipe open for a second after the program ends.
function(wine_run rc_var out_var)
    string(RANDOM LENGTH 8 tag)
    set(out_file ${CMAKE_CURRENT_BINARY_DIR}/wine-${tag}.out)
    execute_process(COMMAND ${WINE} ${ARGN}
        RESULT_VARIABLE rc OUTPUT_FILE ${out_file} ERROR_FILE ${out_file}.err TIMEOUT 60
        WORKING_DIRECTORY ${SCRIPTS})
    file(READ ${out_file} out)
    file(REMOVE ${out_file} ${out_file}.err)
    string(REPLACE "\r" "" out "${out}")
    set(${rc_var} "${rc}" PARENT_SCOPE)
    set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

# Reads the LIBID, coclasses (name and CLSID) and interface IDs of the IDL.
function(read_idl)
    file(READ ${IDL} idl)
    # Brackets and semicolons would split the matches as CMake lists: take them out first.
    string(REPLACE "[" "<" idl "${idl}")
    string(REPLACE "]" ">" idl "${idl}")
    string(REPLACE ";" " " idl "${idl}")
    string(REGEX MATCH "uuid\\(([0-9A-F-]+)\\)[^>]*>[ \t\r\n]*library VelaQMBillEvent" _ "${idl}")
    set(libid "{${CMAKE_MATCH_1}}")
    string(REGEX MATCHALL "uuid\\([0-9A-F-]+\\)[^>]*>[ \t\r\n]*coclass [A-Za-z_]+" found "${idl}")
    set(names "")
    set(clsids "")
    foreach(item ${found})
        string(REGEX MATCH "uuid\\(([0-9A-F-]+)\\).*coclass ([A-Za-z_]+)" _ "${item}")
        list(APPEND clsids "{${CMAKE_MATCH_1}}")
        list(APPEND names "${CMAKE_MATCH_2}")
    endforeach()
    string(REGEX MATCHALL "<object, uuid\\([0-9A-F-]+\\)" found "${idl}")
    set(iids "")
    foreach(item ${found})
        string(REGEX MATCH "uuid\\(([0-9A-F-]+)\\)" _ "${item}")
        list(APPEND iids "{${CMAKE_MATCH_1}}")
    endforeach()
    list(LENGTH names count)
    list(LENGTH iids interfaces)
    if(NOT libid MATCHES "^{[0-9A-F-]+}$" OR NOT count EQUAL 17 OR NOT interfaces EQUAL 17)
        message(FATAL_ERROR "read ${count} classes and ${interfaces} interfaces from ${IDL}")
    endif()
    set(LIBID ${libid} PARENT_SCOPE)
    set(CLASS_NAMES ${names} PARENT_SCOPE)
    set(CLSIDS ${clsids} PARENT_SCOPE)
    set(IIDS ${iids} PARENT_SCOPE)
endfunction()
