# Harness for the end-to-end tests: sourced by every tests/e2e/*_test.sh.
# It runs the real programs in real windows on a private Xvfb display with Mesa's software
# renderer, drives them with xdotool (real pointer and keyboard events through XTEST) and reads
# titles, geometry and pixels back. Everything started here is stopped when the script exits;
# on failure the screenshots are kept under $E2E_ARTIFACTS/<test name>/.
#
# Functions:
#   e2e_start_display                 start Xvfb on a free display; exports DISPLAY
#   e2e_launch NAME CMD...            start a program in the background in the current folder;
#                                     stdout/stderr go to $E2E_TMP/NAME.out / NAME.err; sets
#                                     E2E_LAST_PID
#   e2e_launch_traced NAME TRACE CMD... the same, recording every GL call into the apitrace
#                                     file TRACE; stop the program with e2e_stop to flush it,
#                                     then read it with `apitrace dump TRACE`
#   e2e_stop PID                      end a program with SIGTERM and wait for it
#   e2e_wait_window REGEX [SECONDS]   print the id of the first visible window whose title
#                                     matches REGEX (fails after SECONDS, default 20)
#   e2e_window_title WID              print the title's raw bytes
#   e2e_window_geometry WID           print "X Y WIDTH HEIGHT" (position relative to the root)
#   e2e_screenshot WID FILE           save the window's picture as a PNG
#   e2e_pixel FILE X Y                print "R G B" (0..255) of one pixel of a screenshot
#   e2e_count_color FILE R G B [FUZZ] print how many pixels are within FUZZ% (default 8) of a colour
#   e2e_count_color_in_box FILE X Y W H R G B
#                                     the same, within the W x H box whose top left is (X, Y)
#   e2e_snap NAME                     let a few frames pass, save window $wid as
#                                     $E2E_TMP/NAME.png and print that path
#   e2e_differs FILE1 FILE2           succeed when the two pictures differ in any pixel
#   e2e_click WID X Y [BUTTON]        press and release a mouse button at window pixel (X, Y)
#   e2e_drag WID X1 Y1 X2 Y2 [BUTTON] drag with a button held, in small steps
#   e2e_key WID KEYSYM...             focus the window (pointer inside it) and type keys
#   e2e_settle [SECONDS]              let the programs draw a few frames (default 0.8)
#   e2e_wait_exit PID [SECONDS]       wait for a process to end; sets E2E_EXIT_STATUS
#   e2e_crop FILE OUT GEOMETRY        crop a screenshot to GEOMETRY (WIDTHxHEIGHT+X+Y)
#   e2e_same_picture FILE1 FILE2      succeed when the two pictures are identical
#   e2e_drawn_pixels FILE             print how many pixels are not black
#   e2e_start_revolva                 start Revolva in $E2E_TMP with the sample controls file
#                                     and wait for both windows: sets $surface and $editor
#   e2e_start_subdivo [ARG...]        start Subdivo in $E2E_TMP, which holds a copy of the
#                                     sample models, and wait for its window: sets $wid
#   e2e_fail MESSAGE                  print the message and end the test with status 1
#   e2e_check DESCRIPTION COMMAND...  run COMMAND; fail with DESCRIPTION when it fails
#   e2e_pass                          print the closing line of a passed test
set -euo pipefail

E2E_NAME=$(basename "${BASH_SOURCE[1]:-$0}" .sh)
E2E_TMP=$(mktemp -d "/tmp/${E2E_NAME}.XXXXXX")
E2E_PIDS=()
E2E_XVFB_PID=""
E2E_CONVERT=/usr/bin/convert   # ImageMagick's own convert, whatever else is first on PATH
E2E_CHECKS=0
export LIBGL_ALWAYS_SOFTWARE=1

# Ends a process: SIGTERM, then SIGKILL if it is still there after five seconds.
e2e_end_process() {
    local pid=$1 i
    kill -TERM "$pid" 2>/dev/null || return 0
    for i in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

e2e_cleanup() {
    local status=$?
    local pid
    for pid in "${E2E_PIDS[@]}"; do e2e_end_process "$pid"; done
    [[ -n "$E2E_XVFB_PID" ]] && e2e_end_process "$E2E_XVFB_PID"
    if [[ $status -ne 0 && -n "${E2E_ARTIFACTS:-}" ]]; then
        mkdir -p "$E2E_ARTIFACTS/$E2E_NAME"
        cp "$E2E_TMP"/*.png "$E2E_TMP"/*.out "$E2E_TMP"/*.err "$E2E_ARTIFACTS/$E2E_NAME/" 2>/dev/null || true
        echo "artifacts kept in $E2E_ARTIFACTS/$E2E_NAME" >&2
    fi
    rm -rf "$E2E_TMP"
    exit $status
}
trap e2e_cleanup EXIT

e2e_fail() {
    echo "FAIL [$E2E_NAME]: $*" >&2
    exit 1
}

e2e_check() {
    local description=$1
    shift
    E2E_CHECKS=$((E2E_CHECKS + 1))
    if "$@"; then
        echo "ok - $description"
    else
        e2e_fail "$description"
    fi
}

e2e_pass() {
    echo "PASS [$E2E_NAME]: $E2E_CHECKS checks"
}

e2e_start_display() {
    local fdfile="$E2E_TMP/display"
    : >"$fdfile"
    # Its output goes to a file, so that neither Xvfb nor the keymap compiler it starts keeps
    # the test runner's output open.
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$fdfile" >"$E2E_TMP/xvfb.out" 2>"$E2E_TMP/xvfb.err" </dev/null &
    E2E_XVFB_PID=$!
    local i
    for i in $(seq 100); do
        [[ -s "$fdfile" ]] && break
        sleep 0.1
    done
    [[ -s "$fdfile" ]] || e2e_fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.err")"
    export DISPLAY=":$(tr -d '[:space:]' <"$fdfile")"
    xdotool getdisplaygeometry >/dev/null 2>&1 || e2e_fail "display $DISPLAY does not answer"
}

e2e_launch() {
    local name=$1
    shift
    "$@" >"$E2E_TMP/$name.out" 2>"$E2E_TMP/$name.err" </dev/null &
    E2E_LAST_PID=$!
    E2E_PIDS+=("$E2E_LAST_PID")
}

e2e_launch_traced() {
    local name=$1 trace=$2
    shift 2
    local wrapper
    wrapper=$(dpkg -L apitrace-tracers 2>/dev/null | grep '/glxtrace.so$' | head -n 1)
    [[ -n "$wrapper" ]] || e2e_fail "apitrace's GLX wrapper (package apitrace-tracers) is missing"
    LD_PRELOAD="$wrapper" TRACE_FILE="$trace" "$@" >"$E2E_TMP/$name.out" 2>"$E2E_TMP/$name.err" &
    E2E_LAST_PID=$!
    E2E_PIDS+=("$E2E_LAST_PID")
}

e2e_stop() {
    e2e_end_process "$1"
}

e2e_wait_window() {
    local pattern=$1 seconds=${2:-20}
    local deadline=$((SECONDS + seconds)) wid
    while ((SECONDS < deadline)); do
        wid=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
        if [[ -n "$wid" ]]; then
            echo "$wid"
            return 0
        fi
        sleep 0.2
    done
    e2e_fail "no window titled /$pattern/ within ${seconds}s"
}

e2e_window_title() {
    xdotool getwindowname "$1"
}

e2e_window_geometry() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$X $Y $WIDTH $HEIGHT"
}

e2e_screenshot() {
    import -silent -window "$1" "$2"
}

e2e_pixel() {
    "$E2E_CONVERT" "$1" -crop "1x1+$2+$3" +repage -depth 8 -format '%[fx:int(255*r+0.5)] %[fx:int(255*g+0.5)] %[fx:int(255*b+0.5)]\n' info:
}

e2e_count_color() {
    local file=$1 r=$2 g=$3 b=$4 fuzz=${5:-8}
    local solid="$E2E_TMP/solid-$$.png" size different
    size=$("$E2E_CONVERT" "$file" -format '%w %h' info:)
    "$E2E_CONVERT" "$file" -alpha off -fill "rgb($r,$g,$b)" -colorize 100 "$solid"
    # compare counts the pixels farther than the fuzz from the solid picture of the colour.
    different=$(compare -metric AE -fuzz "$fuzz%" "$file" "$solid" null: 2>&1 || true)
    rm -f "$solid"
    read -r width height <<<"$size"
    echo $((width * height - ${different%% *}))
}

e2e_count_color_in_box() {
    local file=$1 x=$2 y=$3 w=$4 h=$5 r=$6 g=$7 b=$8
    "$E2E_CONVERT" "$file" -crop "${w}x${h}+${x}+${y}" +repage "$E2E_TMP/box.png"
    e2e_count_color "$E2E_TMP/box.png" "$r" "$g" "$b"
}

e2e_snap() {
    e2e_settle
    e2e_screenshot "$wid" "$E2E_TMP/$1.png"
    echo "$E2E_TMP/$1.png"
}

e2e_differs() {
    local metric
    metric=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
    [[ "${metric%% *}" != "0" ]]
}

e2e_crop() {
    "$E2E_CONVERT" "$1" -crop "$3" +repage "$2"
}

e2e_same_picture() {
    ! e2e_differs "$1" "$2"
}

e2e_drawn_pixels() {
    "$E2E_CONVERT" "$1" -alpha off -fuzz 3% -fill white +opaque black \
        -format '%[fx:int(mean*w*h+0.5)]\n' info:
}

e2e_start_revolva() {
    [[ -n "${REVOLVA_BIN:-}" ]] || e2e_fail "REVOLVA_BIN is not set"
    cp "$PROJECT_ROOT/revolution/controles.txt" "$E2E_TMP/"
    cd "$E2E_TMP"
    e2e_launch revolva "$REVOLVA_BIN"
    surface=$(e2e_wait_window '^Superf')
    editor=$(e2e_wait_window '^Geratriz')
    e2e_settle 1.5
}

e2e_start_subdivo() {
    [[ -n "${SUBDIVO_BIN:-}" ]] || e2e_fail "SUBDIVO_BIN is not set"
    cp "$PROJECT_ROOT"/models/*.obj "$E2E_TMP/"
    cd "$E2E_TMP"
    e2e_launch subdivo "$SUBDIVO_BIN" "$@"
    wid=$(e2e_wait_window '^Superf')
    e2e_settle
}

e2e_click() {
    local wid=$1 x=$2 y=$3 button=${4:-1}
    xdotool mousemove --window "$wid" "$x" "$y"
    sleep 0.1
    xdotool mousedown "$button"
    sleep 0.1
    xdotool mouseup "$button"
}

e2e_drag() {
    local wid=$1 x1=$2 y1=$3 x2=$4 y2=$5 button=${6:-1}
    local steps=10 i
    xdotool mousemove --window "$wid" "$x1" "$y1"
    sleep 0.1
    xdotool mousedown "$button"
    for i in $(seq 1 $steps); do
        xdotool mousemove --window "$wid" $((x1 + (x2 - x1) * i / steps)) $((y1 + (y2 - y1) * i / steps))
        sleep 0.05
    done
    xdotool mouseup "$button"
}

e2e_key() {
    local wid=$1
    shift
    local geometry width height
    geometry=$(e2e_window_geometry "$wid")
    read -r _ _ width height <<<"$geometry"
    # With no window manager the keyboard follows the focus that is set here; the pointer goes
    # inside too, so that no other window takes the keys.
    xdotool mousemove --window "$wid" $((width - 5)) $((height - 5))
    xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
    sleep 0.1
    local key
    for key in "$@"; do
        xdotool key --clearmodifiers "$key"
        sleep 0.05
    done
}

e2e_settle() {
    sleep "${1:-0.8}"
}

e2e_wait_exit() {
    local pid=$1 seconds=${2:-20}
    local deadline=$((SECONDS + seconds))
    while ((SECONDS < deadline)); do
        if ! kill -0 "$pid" 2>/dev/null; then
            E2E_EXIT_STATUS=0
            wait "$pid" || E2E_EXIT_STATUS=$?
            return 0
        fi
        sleep 0.1
    done
    e2e_fail "process $pid still running after ${seconds}s"
}
