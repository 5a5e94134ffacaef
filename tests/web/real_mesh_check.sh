#!/usr/bin/env bash
# A real scanned mesh through subdivo-export, checked by readers we did not write: the Stanford
# bunny (npm's "bunny" package, a closed triangle mesh of 3,674 faces) at levels 1 and 2, read
# by assimp and written as STL for admesh, which must find no open edge, no edge walked twice
# the same way and one part; the Euler characteristic, counted from the file, stays 2.
#   tests/web/real_mesh_check.sh SUBDIVO_EXPORT OUT_DIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
export_tool="$1"
out="$2"
mkdir -p "$out"

echo "== The bunny from npm's package, as OBJ"
node -e '
  const { positions, cells } = require(process.argv[1]);
  const lines = positions.map(([x, y, z]) => `v ${x} ${y} ${z}`);
  for (const [a, b, c] of cells) lines.push(`f ${a + 1} ${b + 1} ${c + 1}`);
  process.stdout.write(lines.join("\n") + "\n");
' "$here/node_modules/bunny" >"$out/bunny.obj"

# V − E + F of an OBJ's polygons, edges counted once whichever way they are walked.
euler() {
  awk '/^v / { v++ } /^f / { f++; n = NF - 1
         for (i = 2; i <= NF; i++) { split($i, a, "/"); c[i - 1] = a[1] }
         for (i = 1; i <= n; i++) { p = c[i]; q = c[i % n + 1]
           key = (p < q) ? p " " q : q " " p; if (!(key in e)) { e[key]; edges++ } } }
       END { print v - edges + f }' "$1"
}

status=0
for level in 1 2; do
  obj="$out/bunny-$level.obj"
  "$export_tool" -q --no-normals -l "$level" "$out/bunny.obj" -o "$obj"
  assimp export "$obj" "$out/bunny-$level.stl" -fstlb >/dev/null
  admesh "$out/bunny-$level.stl" >"$out/admesh-$level.txt" 2>&1
  verdict=ok
  grep -Eq 'Total disconnected facets +: +0 ' "$out/admesh-$level.txt" || verdict=FAIL
  grep -Eq 'Backwards edges +: +0$' "$out/admesh-$level.txt" || verdict=FAIL
  grep -Eq 'Number of parts +: +1 ' "$out/admesh-$level.txt" || verdict=FAIL
  chi=$(euler "$obj")
  [[ $chi == 2 ]] || verdict=FAIL
  echo "bunny level $level: $(grep -c '^f ' "$obj") faces, Euler characteristic $chi, admesh: $(grep -E 'disconnected facets|Backwards edges|Number of parts' "$out/admesh-$level.txt" | tr -s ' ' | tr '\n' ';')  $verdict"
  [[ $verdict == ok ]] || status=1
done
exit $status
