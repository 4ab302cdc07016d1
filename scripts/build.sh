#!/usr/bin/env bash
# Configures and builds everything (library, program, tests, benchmarks) into build/.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUIVERLANE_BUILD_DIR:-$top/build}"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build "$build" -j"$(nproc)"
