#!/usr/bin/env bash
# Builds the fuzzer of the OBJ loader and the subdivision levels with clang in build-fuzz/ (the
# CMake preset "fuzz") and runs it for a bounded time.
#   scripts/fuzz.sh [SECONDS]   (default 60)
# A crash, leak or hang fails the run; its input is copied into tests/fuzz/crashes/, where
# the unit tests replay it once the fault is mended.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
seconds="${1:-60}"

"$root/scripts/install-deps.sh" --fuzz
cd "$root"
echo "== Configuring the preset fuzz (clang) in $build"
cmake --preset fuzz >/dev/null
echo "== Building the fuzzer"
cmake --build --preset fuzz -j"$(nproc)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
echo "== Fuzzing for $seconds s, starting from tests/fuzz/corpus/"
# New inputs go to the private folder; the kept corpus is only read. The loader's reports are
# silenced (-close_fd_mask=3); the fuzzer's and the sanitizers' own reports still show.
if "$build/tests/fuzz/obj_subdivision_fuzzer" -max_total_time="$seconds" -close_fd_mask=3 \
    -timeout=25 -rss_limit_mb=2048 -artifact_prefix="$work/" \
    "$work/corpus" "$root/tests/fuzz/corpus"; then
  echo "== No fault found in $seconds s"
  exit 0
fi
kept=0
for artifact in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
  [[ -e "$artifact" ]] || continue
  cp "$artifact" "$root/tests/fuzz/crashes/"
  echo "== Kept $(basename "$artifact") in tests/fuzz/crashes/: mend the fault; the unit tests replay it"
  kept=1
done
((kept)) || echo "== The fuzzer failed without leaving an input"
exit 1
