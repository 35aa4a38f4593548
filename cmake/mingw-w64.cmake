# Cross build of the Windows COM server on Linux with MinGW-w64 (Debian: g++-mingw-w64-x86-64,
# mingw-w64-tools). The posix-thread compilers, because GoogleTest needs std::mutex; everything
# linked statically, because a Windows machine has no MinGW runtime DLLs. Tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELAQM_MINGW_PREFIX x86_64-w64-mingw32)
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
