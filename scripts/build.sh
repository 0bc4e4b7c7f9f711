#!/bin/bash
# Builds both trees: build/win (the stub launcher.exe and the Windows test doubles, cross-compiled)
# and build/host (pure logic with sanitizers, unit tests, fuzz target, builder).
set -euo pipefail
cd "$(dirname "$0")/.."
"$PWD/scripts/install-deps.sh"
mkdir -p build
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >build/win-configure.log 2>&1 \
  || { mkdir -p build; cat build/win-configure.log; exit 1; }
cmake --build build/win
cmake -S . -B build/host -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >build/host-configure.log 2>&1 \
  || { cat build/host-configure.log; exit 1; }
cmake --build build/host
