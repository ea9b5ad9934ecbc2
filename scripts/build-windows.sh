#!/usr/bin/env bash
# Cross-builds the Windows side with MinGW-w64 into ./build-windows (or
# $KESTRANE_WINDOWS_BUILD_DIR): torvix.dll, veldran.exe and the test programs,
# which ctest in that folder runs under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KESTRANE_WINDOWS_BUILD_DIR:-build-windows}
cmake -S . -B "$build_dir" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-mingw64.cmake" \
  -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$build_dir" -j 2
