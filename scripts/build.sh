#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine (run as root) and for CI:
#   scripts/build.sh demo   installs what is missing, builds the velaqm command, runs `velaqm demo`
#   scripts/build.sh test   installs what is missing, builds, runs every test; then the unit
#                           tests under valgrind, and once more under AddressSanitizer and
#                           UndefinedBehaviorSanitizer; then a clang++ Release build with its
#                           unit tests and the fuzz targets, each fuzzed for 30 seconds; then
#                           cross-builds the COM server and runs its tests under Wine
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-}
case "$mode" in
    demo|test) ;;
    *) echo "usage: scripts/build.sh demo|test" >&2; exit 2 ;;
esac

packages=(cmake make g++ libsqlite3-dev libgtest-dev libgmock-dev googletest libbenchmark-dev)
# clang++ with libFuzzer (libclang-rt-14-dev, only a recommendation of clang-14), and valgrind.
if [ "$mode" = test ]; then packages+=(clang-14 libclang-rt-14-dev valgrind); fi
bash scripts/install-packages.sh "${packages[@]}"

jobs=$(nproc)
configure() {  # configure DIR [cmake options...]
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELAQM_WERROR=ON "$@" >/dev/null
}
build() {  # build DIR [cmake options...]
    configure "$@"
    cmake --build "$1" -j "$jobs"
}

if [ "$mode" = demo ]; then
    # The command and what it runs on (seeded database, string tables, demo scenarios) only.
    configure build -DVELAQM_BENCH=OFF
    cmake --build build -j "$jobs" --target velaqm
    exec build/cli/velaqm demo
fi

build build -DVELAQM_BENCH=ON -DVELAQM_VALGRIND=ON
(cd build && ctest --output-on-failure -j "$jobs" -LE valgrind)

echo "== unit tests and scenarios under valgrind"
(cd build && ctest --output-on-failure -j "$jobs" -L valgrind)

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
build build-asan -DVELAQM_SANITIZE=ON -DVELAQM_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$jobs" -L unit)

echo "== clang++ Release build: unit tests, and the parsers of outside text under libFuzzer"
build build-clang -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++-14 -DVELAQM_BENCH=OFF \
    -DVELAQM_FUZZ=ON
(cd build-clang && ctest --output-on-failure -j "$jobs" -L 'unit|fuzz')

echo "== the COM server, cross-built with MinGW-w64 and tested under Wine"
bash scripts/build-windows.sh
