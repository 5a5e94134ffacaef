#!/usr/bin/env bash
# Builds the benchmarks with optimisation in build-release/ and runs them.
#   scripts/bench.sh [NAME_PATTERN] [benchmark options...]
# e.g. scripts/bench.sh doo_sabin --benchmark_filter=Cube
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-release"
pattern="${1:-}"
shift || true

"$root/scripts/install-deps.sh"
echo "== Configuring the optimised build in $build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DREVOLVA_END_TO_END=OFF >/dev/null
echo "== Building"
cmake --build "$build" -j"$(nproc)"
for bench in "$build"/tests/bench/*_bench; do
  [[ -x "$bench" && "$(basename "$bench")" == *"$pattern"* ]] || continue
  echo "== $(basename "$bench")"
  "$bench" "$@"
done
