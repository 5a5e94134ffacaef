#!/usr/bin/env bash
# The web build of Revolva and Subdivo: the same sources compiled to WebAssembly with
# Emscripten, as a static site in build-web/site/ (index.html, revolva.html, subdivo.html).
#   scripts/web.sh [build]        install what is missing and build the site
#   scripts/web.sh serve [PORT]   build, then serve the site on http://127.0.0.1:PORT/ (8000)
#   scripts/web.sh test           build, then compare the pages with the desktop programs in
#                                 headless Chromium (tests/web/browser_test.sh)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${WEB_BUILD_DIR:-$root/build-web}"
command="${1:-build}"

"$root/scripts/install-deps.sh" --web

# Debian's emcc finds its JavaScript parser (acorn) among Debian's node modules.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"

echo "== Taking the 8x13 bitmap font from freeglut"
mkdir -p "$build/font"
cc -O1 -o "$build/font/bitmap_font_table" "$root/web/platform/tools/bitmap_font_table.c" -lglut
"$build/font/bitmap_font_table" >"$build/font/bitmap_font_8x13.h.new"
mv "$build/font/bitmap_font_8x13.h.new" "$build/font/bitmap_font_8x13.h"

echo "== Configuring the web build in $build"
emcmake cmake -S "$root/web" -B "$build" -DWEB_FONT_DIR="$build/font" >/dev/null
echo "== Building with 2 jobs"
cmake --build "$build" -j2
echo "== Site: $build/site ($(du -sh "$build/site" | cut -f1))"

case "$command" in
  build) ;;
  serve)
    port="${2:-8000}"
    echo "== Serving $build/site on http://127.0.0.1:$port/ (Ctrl-C ends)"
    exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$build/site"
    ;;
  test) exec "$root/tests/web/browser_test.sh" "$build/site" ;;
  *) echo "usage: scripts/web.sh [build | serve [PORT] | test]" >&2; exit 2 ;;
esac
