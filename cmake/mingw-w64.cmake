# Cross build of the Windows COM server on Linux with MinGW-w64. The 64-bit build (Debian:
# g++-mingw-w64-x86-64) is the one whose tests run under Wine; cmake/mingw-w64-i686.cmake selects
# the 32-bit toolchain (g++-mingw-w64-i686) for the DLL the ERP client loads, and includes this
# file. The posix-thread compilers, because GoogleTest needs std::mutex; everything linked
# statically, because a Windows machine has no MinGW runtime DLLs.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT VELAQM_MINGW_PREFIX)
    set(VELAQM_MINGW_PREFIX x86_64-w64-mingw32)
    set(CMAKE_SYSTEM_PROCESSOR x86_64)
endif()

set(CMAKE_C_COMPILER ${VELAQM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELAQM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VELAQM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELAQM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)

find_program(VELAQM_WINE wine)
if(VELAQM_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VELAQM_WINE})
endif()
