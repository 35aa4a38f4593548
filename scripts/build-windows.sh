#!/usr/bin/env bash
# Cross-builds the COM server VelaQMBillEvent.dll with MinGW-w64 for 32-bit and for 64-bit
# Windows and runs the tests under Wine, on a fresh Debian 12 machine (as root) or in CI:
#   scripts/build-windows.sh     installs what is missing, builds build-windows-x86/ and
#                                build-windows/, runs ctest in build-windows/
# The 32-bit DLL is the one the ERP client loads. This machine kind cannot run 32-bit code, so
# the 64-bit build runs the tests and also reads the 32-bit DLL (its machine type, exports,
# imports and type library). Every run gets a new Wine prefix under /tmp, removed at the end;
# BUILD_DIR and BUILD_DIR_X86 override the build directories. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."

# g++-mingw-w64-x86-64 and g++-mingw-w64-i686 bring the posix-thread compilers; mingw-w64-tools
# has widl; libwine-dev the system IDL files and stdole2.tlb; wine64 and wine run the tests;
# googletest its sources.
bash scripts/install-packages.sh cmake make g++-mingw-w64-x86-64 g++-mingw-w64-i686 \
    mingw-w64-tools libwine-dev wine64 wine googletest

build_dir=${BUILD_DIR:-build-windows}
build_dir_x86=${BUILD_DIR_X86:-build-windows-x86}
jobs=$(nproc)

# Headless and quiet: no display even when the caller has one, no Wine debug chatter.
unset DISPLAY WAYLAND_DISPLAY
export WINEDEBUG=-all
scratch=$(mktemp -d /tmp/velaqm-wine.XXXXXX)
export WINEPREFIX=$scratch/prefix
cleanup() {
    timeout 30 wineserver -k >/dev/null 2>&1 || true
    rm -rf "$scratch"
}
trap cleanup EXIT

echo "== Wine prefix $WINEPREFIX"
timeout 300 wineboot -i >/dev/null 2>&1
# Wine's null display driver: windows and message boxes exist without an X server, so the tests
# can watch the messages the plug-ins show.
timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
timeout 60 wineserver -k >/dev/null 2>&1 || true
# One persistent server for the whole run, warmed by a first program: the services it starts
# get no pipe of ctest's to hold open.
timeout 60 wineserver -p
timeout 120 wine cmd /c exit >/dev/null 2>&1

# The whole 32-bit tree, tests included: their code must build for the platform even where they
# cannot run.
echo "== build $build_dir_x86 (32-bit)"
cmake -S . -B "$build_dir_x86" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELAQM_WERROR=ON >/dev/null
cmake --build "$build_dir_x86" -j "$jobs"
dll32=$(realpath "$build_dir_x86")/bin/VelaQMBillEvent.dll

echo "== build $build_dir (64-bit)"
cmake -S . -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELAQM_WERROR=ON -DVELAQM_DLL32="$dll32" >/dev/null
cmake --build "$build_dir" -j "$jobs"

echo "== tests under Wine"
# The desktop is started outside ctest, so that no test's output pipe is held by it.
ready=$scratch/desktop-ready
(timeout 3600 wine "$build_dir/bin/desktop_keeper.exe" "$ready" </dev/null >/dev/null 2>&1 &)
for _ in $(seq 300); do
    [ -e "$ready" ] && break
    sleep 0.1
done
[ -e "$ready" ] || echo "warning: Wine's desktop did not start; the first COM test will be slow" >&2
(cd "$build_dir" && ctest --output-on-failure -j "$jobs" --timeout 120)
