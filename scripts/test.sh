#!/usr/bin/env bash
# Builds everything and runs every test: unit tests, then the end-to-end tests, which drive
# the real programs on a private virtual display.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
echo "== Running the tests"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300
