# The 32-bit cross build (Debian: g++-mingw-w64-i686): the DLL the ERP client, a 32-bit
# process, loads. Its programs cannot run on a machine whose kernel refuses 32-bit code.
set(VELAQM_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
