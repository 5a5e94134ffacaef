#!/usr/bin/env bash
# Frames per second of Subdivo at levels 3 to 5 on cube.obj and torus.obj: the desktop
# program on Xvfb (Mesa's llvmpipe; frames counted by swap_counter.c) beside the web page in
# headless Chromium (SwiftShader WebGL; main loop uncapped, each frame finished before the
# next). A measurement, not a test: it prints a table and fails only when something breaks.
#   tests/web/frame_rates.sh SITE_DIR [SECONDS]      (SECONDS per measurement, default 6)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
site="$(realpath "$1")"
seconds="${2:-6}"
build="${BUILD_DIR:-$root/build}"
export PROJECT_ROOT="$root"
SUBDIVO_BIN="$build/polymodel/Subdivo"
[[ -x "$SUBDIVO_BIN" ]] || "$root/scripts/build.sh"
source "$root/tests/e2e/e2e_lib.sh"

counter="$E2E_TMP/swap_counter.so"
cc -O2 -shared -fPIC -o "$counter" "$here/swap_counter.c" -ldl

python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$site" >"$E2E_TMP/server.log" 2>&1 &
E2E_PIDS+=("$!")
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$E2E_TMP/server.log" | head -n 1)
  [[ -n "$port" ]] && break
  sleep 0.1
done
[[ -n "$port" ]] || e2e_fail "the web server did not start"

e2e_start_display
cp "$root"/models/*.obj "$E2E_TMP/"

# Frames per second of the desktop Subdivo on MODEL at LEVEL, the counter's last report, into
# `rate`; the window is looked up by the process, so that no earlier one is taken for it.
desktop_rate() {
  local model=$1 level=$2 i
  cd "$E2E_TMP"
  e2e_launch subdivo env LD_PRELOAD="$counter" SWAP_COUNTER_SECONDS=$((seconds / 2)) "$SUBDIVO_BIN" "$model"
  local pid=$E2E_LAST_PID
  wid=""
  for i in $(seq 100); do
    wid=$(xdotool search --onlyvisible --pid "$pid" --name '^Superf' 2>/dev/null | head -n 1 || true)
    [[ -n "$wid" ]] && break
    sleep 0.2
  done
  [[ -n "$wid" ]] || e2e_fail "no Subdivo window"
  e2e_settle "$wid"
  for i in $(seq "$level"); do e2e_key "$wid" plus; e2e_settle "$wid"; done
  sleep "$seconds"
  e2e_stop "$pid"
  rate=$(sed -n 's/^fps //p' "$E2E_TMP/subdivo.err" | tail -n 1)
}

printf '%-10s %-6s %14s %14s %18s\n' model level 'desktop fps' 'browser fps' 'first frame (ms)'
for model in cube.obj torus.obj; do
  for level in 3 4 5; do
    desktop_rate "$model" "$level"
    desktop=$rate
    read -r browser first_frame < <(node "$here/browser_shots.mjs" "http://127.0.0.1:$port" --frame-rate "$model" "$level" "$seconds")
    printf '%-10s %-6s %14s %14s %18s\n' "$model" "$level" "$desktop" "$browser" "$first_frame"
  done
done
