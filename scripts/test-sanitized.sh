#!/usr/bin/env bash
# Builds the unit tests with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-sanitized/ and runs them; any report fails the run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-sanitized"

"$root/scripts/install-deps.sh"
echo "== Configuring the sanitized build in $build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DREVOLVA_SANITIZE=ON \
  -DREVOLVA_BENCHMARKS=OFF -DREVOLVA_END_TO_END=OFF >/dev/null
echo "== Building"
cmake --build "$build" -j"$(nproc)"
echo "== Running the unit tests"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" -L unit --output-on-failure -j"$(nproc)"
