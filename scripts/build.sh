#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine (run as root) and for CI:
#   scripts/build.sh demo   installs what is missing, builds, runs `velaqm demo`
#   scripts/build.sh test   installs what is missing, builds, runs every test, then the unit
#                           tests once more under AddressSanitizer and UndefinedBehaviorSanitizer,
#                           then cross-builds the COM server and runs its tests under Wine
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-}
case "$mode" in
    demo|test) ;;
    *) echo "usage: scripts/build.sh demo|test" >&2; exit 2 ;;
esac

bash scripts/install-packages.sh cmake make g++ libsqlite3-dev libgtest-dev libgmock-dev googletest libbenchmark-dev

jobs=$(nproc)
build() {  # build DIR [cmake options...]
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

if [ "$mode" = demo ]; then
    build build -DVELAQM_BENCH=OFF
    exec build/cli/velaqm demo
fi

build build
(cd build && ctest --output-on-failure -j "$jobs")

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
build build-asan -DVELAQM_SANITIZE=ON -DVELAQM_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$jobs" -L unit)

echo "== the COM server, cross-built with MinGW-w64 and tested under Wine"
bash scripts/build-windows.sh
