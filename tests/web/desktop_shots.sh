#!/usr/bin/env bash
# Plays the browser test's scenes (scenes.mjs) with the desktop programs on a private Xvfb
# display, through the end-to-end harness, and saves each window's picture as
# OUT_DIR/SCENE-N.png (N: 1 Subdivo's window or Revolva's editor, 2 Revolva's surface).
#   desktop_shots.sh OUT_DIR SCENE...
# Needs PROJECT_ROOT, REVOLVA_BIN and SUBDIVO_BIN, as the end-to-end tests do.
here="$(cd "$(dirname "$0")" && pwd)"
out="$(realpath "$1")"
shift
source "$PROJECT_ROOT/tests/e2e/e2e_lib.sh"

e2e_start_display

# Runs one step (a key or a click) on a window, then waits until the window has changed and
# holds still again (or has stayed the same for a while: some steps change nothing there).
step_on() {
  local wid=$1
  shift
  e2e_screenshot "$wid" "$E2E_TMP/before-step.png"
  "$@"
  e2e_screenshot "$wid" "$E2E_TMP/after-step.png" "$E2E_TMP/before-step.png"
}

# Plays one scene's steps on the program started for it; windows[N] is window N's id.
play_steps() {
  local kind window x y button text line
  while read -r kind window x y button; do
    case "$kind" in
      windows) ;;
      key) step_on "${windows[$window]}" e2e_key "${windows[$window]}" "$x" ;;
      click) step_on "${windows[$window]}" e2e_click "${windows[$window]}" "$x" "$y" "$button" ;;
      controls)
        text=""
        while IFS= read -r line && [[ "$line" != end ]]; do text+="$line"$'\n'; done
        printf '%s' "$text" >controles.txt ;;
    esac
  done
}

for scene in "$@"; do
  steps=$(node "$here/scene_steps.mjs" "$scene")
  if [[ "$scene" == revolva-* ]]; then
    e2e_start_revolva
    windows=("" "$editor" "$surface")
  else
    e2e_start_subdivo
    windows=("" "$wid")
  fi
  play_steps <<<"$steps"
  e2e_settle "${windows[@]:1}"
  count=$(head -n 1 <<<"$steps" | cut -d' ' -f2)
  for id in $(seq 1 "$count"); do e2e_screenshot "${windows[$id]}" "$out/$scene-$id.png"; done
  e2e_stop "$E2E_LAST_PID"
  cd "$here"
done
