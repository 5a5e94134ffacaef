#!/usr/bin/env bash
# Configures and builds both programs, the tests and the benchmarks in build/ (the CMake preset
# "default"). Extra arguments go to CMake's configure step.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

cd "$root"
echo "== Configuring the preset default in $build"
cmake --preset default -B "$build" "$@" >/dev/null
echo "== Building with $(nproc) jobs"
cmake --build "$build" -j"$(nproc)"
