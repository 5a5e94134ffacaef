#!/usr/bin/env bash
# Configures and builds both programs, the tests and the benchmarks in build/.
# Extra arguments go to CMake's configure step.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

echo "== Configuring in $build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
echo "== Building with $(nproc) jobs"
cmake --build "$build" -j"$(nproc)"
