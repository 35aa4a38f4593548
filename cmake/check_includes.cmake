cmake_minimum_required(VERSION 3.25)
# Fails when a product folder includes what its layer may not see.
#   frame/    the C++ standard library only
#   billops/  frame/
#   sampling/ inspection/ supplier/ reject/   billops/ and frame/, never each other
#   plugins/  the four bill folders, billops/ and frame/
#   host/     frame/, billops/, plugins/ and SQLite
#   cli/      host/, frame/ and sampling/ (the plan and its operating characteristic)
# Project headers are included as "folder/name.h"; any other quoted include is refused.
set(allowed_frame "frame")
set(allowed_billops "frame;billops")
foreach(bill sampling inspection supplier reject)
    set(allowed_${bill} "frame;billops;${bill}")
endforeach()
set(allowed_plugins "frame;billops;sampling;inspection;supplier;reject;plugins")
set(allowed_host "frame;billops;plugins;host")
set(allowed_cli "frame;sampling;host;cli")
set(allowed_typelib "frame;billops;plugins;typelib")

# The Windows SDK's headers, COM's wrappers among them (ATL, comdef.h, WRL), in any letter case.
set(windows_sdk "^(windows|winerror|wtypes|ole2|oleauto|olectl|objbase|combaseapi|unknwn|oaidl|ocidl|atlbase|atlcom|comdef|comdefsp|comutil|comip)\\.h$|^wrl\\.h$|^wrl/")

set(failures "")
foreach(folder frame billops sampling inspection supplier reject plugins host cli typelib)
    file(GLOB_RECURSE files ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
    foreach(file ${files})
        file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include")
        foreach(line ${lines})
            if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
                set(target ${CMAKE_MATCH_1})
                string(REGEX MATCH "^[^/]+" top ${target})
                if(NOT target MATCHES "/" OR NOT top IN_LIST allowed_${folder})
                    list(APPEND failures "${file}: ${line}")
                endif()
            elseif(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
                string(TOLOWER "${CMAKE_MATCH_1}" target)
                # Only the substitute host may see SQLite, only the COM server the Windows SDK.
                if(target MATCHES "^sqlite3" AND NOT folder STREQUAL "host")
                    list(APPEND failures "${file}: ${line}")
                elseif(target MATCHES "${windows_sdk}" AND NOT folder STREQUAL "typelib")
                    list(APPEND failures "${file}: ${line}")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "includes across layers:\n  ${text}")
endif()
message(STATUS "include rules hold")
