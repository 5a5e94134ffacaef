#!/usr/bin/env bash
# The web build in a real browser: every scene of scenes.mjs is played on the served site in
# Debian's headless Chromium (puppeteer-core) and with the desktop programs on Xvfb, and each
# window's picture is compared with the desktop's. A scene passes when at most 1% of its
# pixels differ by more than 10%. Then the pages' own behaviour (page_checks.mjs): model
# switching, the user's file, a refused level, focus, touch, a phone-wide screen. Last, a real
# scanned mesh (npm's "bunny") through the desktop's subdivo-export, checked by assimp and admesh.
#   tests/web/browser_test.sh SITE_DIR [SCENE...]       (all scenes by default)
# The desktop programs come from build/ (built first when missing). Pictures and differences
# are kept in build-web/browser-test/.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
site="$(realpath "$1")"
shift
out="${WEB_TEST_OUT:-$root/build-web/browser-test}"
build="${BUILD_DIR:-$root/build}"

export PROJECT_ROOT="$root"
export REVOLVA_BIN="$build/revolution/Revolva"
export SUBDIVO_BIN="$build/polymodel/Subdivo"
[[ -x "$REVOLVA_BIN" && -x "$SUBDIVO_BIN" ]] || "$root/scripts/build.sh"

if [[ ! -d "$here/node_modules/puppeteer-core" || ! -d "$here/node_modules/bunny" ]]; then
  echo "== Installing puppeteer-core (no browser: Debian's chromium is used) and the bunny mesh"
  (cd "$here" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi

if (($# == 0)); then
  mapfile -t scenes < <(cd "$here" && node -e "import('./scenes.mjs').then(m => console.log(Object.keys(m.scenes).join('\n')))")
else
  scenes=("$@")
fi
rm -rf "$out"
mkdir -p "$out/browser" "$out/desktop" "$out/difference"

echo "== The loader's numbers: web build against the desktop's, bit for bit"
numbers=("$here/numbers.obj" "$root"/models/*.obj)
# The loader is every source of polymodel/ but the program's window and drawing.
mapfile -t loader_sources < <(ls "$root"/polymodel/*.cpp | grep -Ev '/(subdivo_[a-z_]*|model_drawing)\.cpp$')
c++ -std=c++17 -O1 -I"$root/polymodel" -I"$root/geometry" -o "$out/loader_numbers" "$here/loader_numbers.cpp" "${loader_sources[@]}"
"$out/loader_numbers" "${numbers[@]}" >"$out/numbers.desktop.txt" 2>/dev/null
node "$site/../tools/loader_numbers.js" "${numbers[@]}" >"$out/numbers.web.txt" 2>/dev/null
loader_verdict=ok
cmp -s "$out/numbers.desktop.txt" "$out/numbers.web.txt" || loader_verdict=FAIL
echo "loader numbers: $(grep -c '^v' "$out/numbers.desktop.txt") vertices and normals  $loader_verdict"

echo "== Serving $site on 127.0.0.1"
server_log="$out/server.log"
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$site" >"$server_log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true' EXIT
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$server_log" | head -n 1)
  [[ -n "$port" ]] && break
  sleep 0.1
done
[[ -n "$port" ]] || { echo "the web server did not start: $(cat "$server_log")" >&2; exit 1; }

echo "== Browser: ${scenes[*]}"
node "$here/browser_shots.mjs" "http://127.0.0.1:$port" "$out/browser" "${scenes[@]}"
echo "== The pages' own behaviour"
checks_verdict=ok
node "$here/page_checks.mjs" "http://127.0.0.1:$port" | tee "$out/page-checks.txt" || checks_verdict=FAIL
echo "== Desktop on Xvfb"
"$here/desktop_shots.sh" "$out/desktop" "${scenes[@]}" >"$out/desktop.log" 2>&1 ||
  { cat "$out/desktop.log" >&2; exit 1; }

echo "== Pixels differing by more than 10% (at most 1% of the window may)"
passed=0 failed=0
if [[ $loader_verdict == ok ]]; then passed=1; else failed=1; fi
page_passed=$(sed -n 's/^checks: \([0-9]*\) passed.*/\1/p' "$out/page-checks.txt")
passed=$((passed + ${page_passed:-0}))
[[ $checks_verdict == ok ]] || failed=$((failed + 1))
for picture in "$out"/desktop/*.png; do
  name=$(basename "$picture" .png)
  size=$(/usr/bin/convert "$picture" -format '%w %h' info:)
  read -r width height <<<"$size"
  differing=$(compare -metric AE -fuzz 10% "$picture" "$out/browser/$name.png" \
                "$out/difference/$name.png" 2>&1 || true)
  differing=${differing%% *}
  limit=$((width * height / 100))
  if [[ "$differing" =~ ^[0-9]+$ ]] && ((differing <= limit)); then
    verdict=ok passed=$((passed + 1))
  else
    verdict=FAIL failed=$((failed + 1))
  fi
  printf '%-28s %8s of %d  %s\n' "$name" "$differing" $((width * height)) "$verdict"
done

echo "== The Revolva page's curve panel: a sample opened, edited, its STL downloaded for admesh"
rm -f "$out/files/revolva.stl"
files_verdict=FAIL
if status_line=$(node "$here/revolva_files_scene.mjs" "http://127.0.0.1:$port" "$out/files") &&
   admesh "$out/files/revolva.stl" >"$out/files/admesh.txt" 2>&1 &&
   grep -Eq 'Total disconnected facets +: +0 ' "$out/files/admesh.txt" &&
   grep -Eq 'Number of parts +: +1 ' "$out/files/admesh.txt" &&
   grep -Eq 'Backwards edges +: +0$' "$out/files/admesh.txt" &&
   [[ "$status_line" == *"160 triangles, closed"* ]]; then
  files_verdict=ok passed=$((passed + 1))
else
  failed=$((failed + 1))
fi
echo "curve panel: ${status_line:-no status}  $files_verdict"

echo "== A real scanned mesh through subdivo-export, read by assimp and checked by admesh"
if "$here/real_mesh_check.sh" "$build/subdivo_export/subdivo-export" "$out/real-mesh"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi
echo "browser: $passed passed, $failed failed"
((failed == 0))
