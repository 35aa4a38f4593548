// Holds Wine's desktop for a test run. The first program of a run that needs the desktop (any
// single-threaded COM apartment does) makes Wine start explorer.exe, which inherits that
// program's output pipe and keeps it open until the desktop has been idle for a second: ctest
// would charge the whole run to that one test, and time it out. Started before ctest with its
// output elsewhere, this program starts the desktop instead and keeps it busy. It ends after an
// hour, or when the run's wineserver is killed.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (!GetDesktopWindow()) return 1;
    // Tells the caller the desktop is up.
    if (argc > 1) {
        if (std::FILE* ready = std::fopen(argv[1], "w")) std::fclose(ready);
    }
    Sleep(60 * 60 * 1000);
    return 0;
}
