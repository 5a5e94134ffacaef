#!/usr/bin/env bash
# Builds and starts one of the programs.
#   scripts/run.sh [revolva]          the surface-of-revolution editor (default)
#   scripts/run.sh subdivo [MODEL]    the Doo-Sabin viewer, with models/poly.obj by default
# Revolva starts in revolution/, where its lighting file controles.txt lies; Subdivo starts in
# models/, where its default model poly.obj lies. Without a display, the program runs on a
# private virtual display for a few seconds and a screenshot is saved instead.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
program="${1:-revolva}"
model="${2:-}"

case "$program" in
  revolva) binary="$build/revolution/Revolva"; folder="$root/revolution"; arguments=() ;;
  subdivo)
    binary="$build/polymodel/Subdivo"; folder="$root/models"; arguments=()
    if [[ -n "$model" ]]; then arguments=("$(realpath "$model")"); fi ;;
  *) echo "usage: scripts/run.sh [revolva | subdivo [model.obj]]" >&2; exit 2 ;;
esac

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "$folder"

if [[ -n "${DISPLAY:-}" ]] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  echo "== Starting $program in $folder"
  exec "$binary" "${arguments[@]}"
fi

echo "== No display: starting $program on a private virtual display"
shots="$build/screenshots"
mkdir -p "$shots"
display_file=$(mktemp)
Xvfb -displayfd 5 -noreset -screen 0 1280x1024x24 -nolisten tcp 5>"$display_file" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [[ -s "$display_file" ]] && break; sleep 0.1; done
export DISPLAY=":$(tr -d '[:space:]' <"$display_file")"
rm -f "$display_file"
LIBGL_ALWAYS_SOFTWARE=1 "$binary" "${arguments[@]}" &
app=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
sleep 4
if ! kill -0 "$app" 2>/dev/null; then
  wait "$app" && status=0 || status=$?
  echo "== $program ended with status $status" >&2
  exit "$status"
fi
picture="$shots/$program.png"
if [[ "$program" == revolva ]]; then
  import -silent -window root -crop 1250x650+0+0 +repage "$picture"
else
  import -silent -window root -crop 600x600+200+100 +repage "$picture"
fi
echo "== $program ran for 4 seconds; its screenshot is $picture"
