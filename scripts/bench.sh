#!/usr/bin/env bash
# Builds the programs and the benchmarks with full optimisation in build-release/ (the CMake
# preset "release"), runs the benchmarks and prints our times over our peers' (OpenSubdiv's,
# and CGAL's, whose package it installs when missing).
#   scripts/bench.sh [NAME_PATTERN] [benchmark options...]
# e.g. scripts/bench.sh doo_sabin --benchmark_filter=Cube
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-release"
pattern="${1:-}"
shift || true

"$root/scripts/install-deps.sh" --bench
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
# Beside the table, each benchmark's figures go to a JSON file, read for the ratios at the end.
ratio_files=()
for bench in "$build"/tests/bench/*_bench; do
  name="$(basename "$bench")"
  [[ -x "$bench" && "$name" == *"$pattern"* ]] || continue
  echo "== $name"
  options=(--benchmark_out="$build/$name.json" --benchmark_out_format=json)
  # Ours and CGAL's in turn, three times each, so that a drift of the machine's speed
  # touches both alike.
  if [[ "$name" == cgal_bench ]]; then
    options+=(--benchmark_repetitions=3 --benchmark_enable_random_interleaving=true)
  fi
  "$bench" "${options[@]}" "$@"
  ratio_files+=("$build/$name.json")
done
if ((${#ratio_files[@]} > 0)); then
  echo "== Our time over the peer's (OpenSubdiv, CGAL) in the same run; below 1: ours is faster"
  python3 "$root/scripts/bench_ratios.py" "${ratio_files[@]}"
fi
