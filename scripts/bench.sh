#!/usr/bin/env bash
# Builds the programs and the benchmarks with full optimisation in build-release/ (the CMake
# preset "release") and runs the benchmarks.
#   scripts/bench.sh [NAME_PATTERN] [benchmark options...]
# e.g. scripts/bench.sh doo_sabin --benchmark_filter=Cube
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-release"
pattern="${1:-}"
shift || true

"$root/scripts/install-deps.sh"
cd "$root"
echo "== Configuring the preset release in $build"
cmake --preset release >/dev/null
echo "== Building"
cmake --build --preset release -j"$(nproc)"
# The schemes' benchmark refines a real mesh too, the bunny, when none is named.
if [[ -z "${REVOLVA_BENCH_MODEL:-}" ]] && command -v npm >/dev/null; then
  "$root/scripts/bench-model.sh" "$build/bunny.obj"
  export REVOLVA_BENCH_MODEL="$build/bunny.obj"
fi
for bench in "$build"/tests/bench/*_bench; do
  [[ -x "$bench" && "$(basename "$bench")" == *"$pattern"* ]] || continue
  echo "== $(basename "$bench")"
  "$bench" "$@"
done
