#!/usr/bin/env bash
# Builds the unit tests with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-sanitized/ (the CMake preset "sanitized") and runs them; any report fails the run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-sanitized"

"$root/scripts/install-deps.sh"
cd "$root"
echo "== Configuring the preset sanitized in $build"
cmake --preset sanitized >/dev/null
echo "== Building"
cmake --build --preset sanitized -j"$(nproc)"
echo "== Running the unit tests (the sanitizers' options are in the test preset)"
ctest --preset sanitized -j"$(nproc)"
