# The 32-bit cross build (Debian: g++-mingw-w64-i686): the DLL the ERP client, a 32-bit
# process, loads. Its programs cannot run on a machine whose kernel refuses 32-bit code.
set(VELAQM_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)

# Doubles computed in SSE2 registers, as in the 64-bit build and by MSVC's default for Win32:
# the x87 unit's 80-bit intermediates would round some results differently from the same
# sources on 64-bit. Code built by other compilers (the client, VB components) calls in with
# the stack aligned to 4 bytes only, so GCC realigns it where its own code needs 16.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")

include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
