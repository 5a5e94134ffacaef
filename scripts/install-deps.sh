#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when any is missing.
# Usage: scripts/install-deps.sh [--bench] [--fuzz] [--format] [--package] [--web]
#   --bench adds CGAL, a peer the benchmarks alone run beside ours,
#   --fuzz adds clang and its fuzzing runtime, --format the source formatter clang-format,
#   --package the tools that build and check the Debian package, --web Emscripten and Chromium
#   for the web build and its browser tests.
set -euo pipefail

packages=(
  cmake g++ make
  libgl-dev libglu1-mesa-dev freeglut3-dev libgl1-mesa-dri   # OpenGL, GLU, GLUT, Mesa's software renderer
  libgtest-dev libbenchmark-dev                               # unit tests and benchmarks
  xvfb xdotool imagemagick x11-utils                          # private displays, input, screenshots
  apitrace apitrace-tracers                                   # GL call traces
  admesh assimp-utils                                         # independent STL and OBJ readers
  libosd-dev                                                  # OpenSubdiv, the schemes' reference
)
for option in "$@"; do
  case "$option" in
    --bench) packages+=(libcgal-dev) ;;
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    --format) packages+=(clang-format) ;;
    --package) packages+=(dpkg-dev file lintian desktop-file-utils) ;;
    --web)
      packages+=(emscripten chromium)
      # npm may come with a nodejs that is not Debian's: any npm will do.
      command -v npm >/dev/null || packages+=(npm)
      ;;
    *) echo "usage: scripts/install-deps.sh [--bench] [--fuzz] [--format] [--package] [--web]" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$package")
  fi
done
if ((${#missing[@]} == 0)); then
  echo "== All needed packages are installed."
  exit 0
fi

echo "== Installing missing packages: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
