#!/usr/bin/env bash
# Writes the real mesh the schemes' benchmark refines: the Stanford bunny of npm's "bunny"
# package (pinned by tests/web/package-lock.json), a closed triangle mesh of 3,674 faces, as OBJ.
#   scripts/bench-model.sh OUT.obj
# then e.g. REVOLVA_BENCH_MODEL=OUT.obj build/tests/bench/scheme_bench
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
web="$root/tests/web"
out="$1"

if [[ ! -d "$web/node_modules/bunny" ]]; then
  echo "== Installing the web tests' npm packages (the bunny among them)"
  (cd "$web" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi
echo "== The bunny as OBJ in $out"
mkdir -p "$(dirname "$out")"
node -e '
  const { positions, cells } = require(process.argv[1]);
  const lines = positions.map(([x, y, z]) => `v ${x} ${y} ${z}`);
  for (const [a, b, c] of cells) lines.push(`f ${a + 1} ${b + 1} ${c + 1}`);
  process.stdout.write(lines.join("\n") + "\n");
' "$web/node_modules/bunny" >"$out"
