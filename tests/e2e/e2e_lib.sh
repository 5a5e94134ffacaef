# Harness for the end-to-end tests: sourced by every tests/e2e/*_test.sh.
# It runs the real programs in real windows on a private Xvfb display with Mesa's software
# renderer, drives them with xdotool (real pointer and keyboard events through XTEST) and reads
# titles, geometry and pixels back. Everything started here is stopped when the script exits;
# on failure the screenshots are kept under $E2E_ARTIFACTS/<test name>/.
#
# The tests hold on a busy machine, beside other Xvfb servers that come and go: the display
# number is drawn from a private range and taken only once the server owns it, the server never
# resets between clients, and every wait polls for its condition (a window, a still picture, a
# geometry, an exit) instead of sleeping a fixed time.
#
# Functions:
#   e2e_start_display                 start Xvfb on a free display of a private range; exports
#                                     DISPLAY
#   e2e_launch NAME CMD...            start a program in the background in the current folder,
#                                     once the display answers; stdout/stderr go to
#                                     $E2E_TMP/NAME.out / NAME.err; sets E2E_LAST_PID
#   e2e_launch_traced NAME TRACE CMD... the same, recording every GL call into the apitrace
#                                     file TRACE; stop the program with e2e_stop to flush it,
#                                     then read it with `apitrace dump TRACE`
#   e2e_stop PID                      end a program with SIGTERM and wait for it
#   e2e_wait_window REGEX [SECONDS]   print the id of the first visible window whose title
#                                     matches REGEX (fails after SECONDS, default 60, or at
#                                     once when the program started last has ended)
#   e2e_window_title WID              print the title's raw bytes
#   e2e_window_geometry WID           print "X Y WIDTH HEIGHT" (position relative to the root)
#   e2e_wait_geometry WID GEOMETRY    wait (up to 10 s) until the window has GEOMETRY ("X Y
#                                     WIDTH HEIGHT"); print the geometry it has then
#   e2e_screenshot WID FILE [UNLIKE]  save the window's picture as a PNG once it holds still;
#                                     with UNLIKE, once it also differs from that screenshot
#                                     (for a step that changes it: up to 10 s, then the still
#                                     picture is kept for the test's own check)
#   e2e_snap WID NAME [UNLIKE]        the same into $E2E_TMP/NAME.png; prints that path
#   e2e_grab WID FILE                 save one capture of the window as it is now
#   e2e_settle WID...                 wait until each window's picture holds still
#   e2e_wait_drawn WID FILE           wait until the window shows a still picture that is not
#                                     all black (its first frames are drawn); save it as FILE
#   e2e_pixel FILE X Y                print "R G B" (0..255) of one pixel of a screenshot
#   e2e_count_color FILE R G B [FUZZ] print how many pixels are within FUZZ% (default 8) of a colour
#   e2e_count_color_in_box FILE X Y W H R G B
#                                     the same, within the W x H box whose top left is (X, Y)
#   e2e_differs FILE1 FILE2           succeed when the two pictures differ in any pixel
#   e2e_same_picture FILE1 FILE2      succeed when the two pictures are identical
#   e2e_click WID X Y [BUTTON]        press and release a mouse button at window pixel (X, Y)
#   e2e_drag WID X1 Y1 X2 Y2 [BUTTON] drag with a button held, in small steps
#   e2e_key WID KEYSYM...             focus the window (pointer inside it) and type keys
#   e2e_wait_exit PID [SECONDS]       wait for a process to end; sets E2E_EXIT_STATUS
#   e2e_crop FILE OUT GEOMETRY        crop a screenshot to GEOMETRY (WIDTHxHEIGHT+X+Y)
#   e2e_drawn_pixels FILE             print how many pixels are not black
#   e2e_enter_models                  copy the sample models into $E2E_TMP and go there
#   e2e_start_revolva [-t TRACE] [FOLDER]
#                                     start Revolva and wait until both windows are drawn:
#                                     sets $surface, $editor and $revolva_pid and keeps their
#                                     first pictures as $E2E_TMP/surface-start.png and
#                                     editor-start.png. Without FOLDER it runs in $E2E_TMP with
#                                     the sample controls file; with FOLDER, there with whatever
#                                     controls file it holds. -t records its GL calls into TRACE
#   e2e_start_subdivo [ARG...]        start Subdivo in $E2E_TMP, which holds a copy of the
#                                     sample models, and wait until its window is drawn: sets
#                                     $wid and $subdivo_pid, keeps the first picture as
#                                     $E2E_TMP/subdivo-start.png
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
# Only the display started here is ever used, never the one of whoever runs the tests.
unset DISPLAY

# Succeeds while the process runs (a process that has ended but is not yet reaped does not).
e2e_running() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    [[ ${stat:0:1} != Z ]]
}

# Ends a process: SIGTERM, then SIGKILL if it is still there after five seconds.
e2e_end_process() {
    local pid=$1 deadline=$((SECONDS + 5))
    kill -TERM "$pid" 2>/dev/null || return 0
    while e2e_running "$pid" && ((SECONDS < deadline)); do sleep 0.1; done
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

e2e_display_answers() {
    xdotool getdisplaygeometry >/dev/null 2>&1
}

# Starts Xvfb on display NUMBER and waits until it owns it. Succeeds when it does; fails when
# the server ends first, which it does when another server already has that number.
# -displayfd makes it write the number only once it listens; -noreset keeps it from resetting
# whenever its last client leaves, which drops a client that connects meanwhile.
e2e_try_display() {
    local number=$1 fdfile="$E2E_TMP/display"
    : >"$fdfile"
    # Its output goes to a file, so that neither Xvfb nor the keymap compiler it starts keeps
    # the test runner's output open.
    Xvfb ":$number" -displayfd 5 -noreset -screen 0 1280x1024x24 -nolisten tcp \
        5>"$fdfile" >"$E2E_TMP/xvfb.out" 2>"$E2E_TMP/xvfb.err" </dev/null &
    E2E_XVFB_PID=$!
    local deadline=$((SECONDS + 30))
    until [[ -s "$fdfile" ]]; do
        if ! e2e_running "$E2E_XVFB_PID"; then
            wait "$E2E_XVFB_PID" 2>/dev/null || true
            E2E_XVFB_PID=""
            return 1
        fi
        ((SECONDS < deadline)) || e2e_fail "Xvfb did not take display :$number within 30s: $(cat "$E2E_TMP/xvfb.err")"
        sleep 0.05
    done
    [[ "$(tr -d '[:space:]' <"$fdfile")" == "$number" ]] ||
        e2e_fail "Xvfb reports display '$(cat "$fdfile")' instead of :$number"
}

# Desktops, hand-started servers and Xvfb's own -displayfd search use the low display numbers;
# the tests draw theirs at random from 100..999, so that consecutive tests rarely reuse one.
e2e_start_display() {
    local attempt number
    for attempt in $(seq 20); do
        number=$((100 + RANDOM % 900))
        if e2e_try_display "$number"; then
            export DISPLAY=":$number"
            local deadline=$((SECONDS + 10))
            until e2e_display_answers; do
                ((SECONDS < deadline)) || e2e_fail "display $DISPLAY does not answer"
                sleep 0.05
            done
            return 0
        fi
    done
    e2e_fail "Xvfb found no free display in 20 tries: $(cat "$E2E_TMP/xvfb.err")"
}

# Fails when the test's display is gone or does not answer, naming what Xvfb said.
e2e_require_display() {
    [[ -n "${DISPLAY:-}" ]] || e2e_fail "no display: call e2e_start_display first"
    e2e_running "$E2E_XVFB_PID" || e2e_fail "Xvfb on $DISPLAY has ended: $(cat "$E2E_TMP/xvfb.err")"
    e2e_display_answers || e2e_fail "display $DISPLAY does not answer"
}

e2e_launch() {
    local name=$1
    shift
    e2e_require_display
    "$@" >"$E2E_TMP/$name.out" 2>"$E2E_TMP/$name.err" </dev/null &
    E2E_LAST_PID=$! E2E_LAST_NAME=$name
    E2E_PIDS+=("$E2E_LAST_PID")
}

e2e_launch_traced() {
    local name=$1 trace=$2
    shift 2
    local wrapper
    wrapper=$(dpkg -L apitrace-tracers 2>/dev/null | grep '/glxtrace.so$' | head -n 1)
    [[ -n "$wrapper" ]] || e2e_fail "apitrace's GLX wrapper (package apitrace-tracers) is missing"
    e2e_require_display
    LD_PRELOAD="$wrapper" TRACE_FILE="$trace" "$@" >"$E2E_TMP/$name.out" 2>"$E2E_TMP/$name.err" </dev/null &
    E2E_LAST_PID=$! E2E_LAST_NAME=$name
    E2E_PIDS+=("$E2E_LAST_PID")
}

e2e_stop() {
    e2e_end_process "$1"
}

e2e_wait_window() {
    local pattern=$1 seconds=${2:-60}
    local deadline=$((SECONDS + seconds)) wid
    while ((SECONDS < deadline)); do
        wid=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
        if [[ -n "$wid" ]]; then
            echo "$wid"
            return 0
        fi
        if [[ -n "${E2E_LAST_PID:-}" ]] && ! e2e_running "$E2E_LAST_PID"; then
            e2e_fail "$E2E_LAST_NAME ended before a window titled /$pattern/ showed: $(cat "$E2E_TMP/$E2E_LAST_NAME.err")"
        fi
        sleep 0.1
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

e2e_wait_geometry() {
    local wid=$1 expected=$2 deadline=$((SECONDS + 10)) geometry
    geometry=$(e2e_window_geometry "$wid")
    while [[ "$geometry" != "$expected" ]] && ((SECONDS < deadline)); do
        sleep 0.05
        geometry=$(e2e_window_geometry "$wid")
    done
    echo "$geometry"
}

# One capture of the window as it is now. PNGs without time stamps: equal pictures give equal
# files, which cmp compares at no cost.
e2e_grab() {
    import -silent -window "$1" -define png:exclude-chunks=date,time "$2"
}

# The programs redraw all the time, so a picture that holds still between two captures is a
# finished frame with every earlier input handled.
e2e_screenshot() {
    local wid=$1 file=$2 unlike=${3:-}
    local previous="$E2E_TMP/previous-capture.png"
    local deadline=$((SECONDS + 30)) change_deadline=$((SECONDS + 10))
    e2e_grab "$wid" "$previous"
    while :; do
        sleep 0.1
        e2e_grab "$wid" "$file"
        if cmp -s "$previous" "$file"; then
            # Still: done, unless it is still the picture from before a change yet to show.
            if [[ -z "$unlike" ]] || ! cmp -s "$unlike" "$file" || ((SECONDS >= change_deadline)); then
                return 0
            fi
        fi
        ((SECONDS < deadline)) || e2e_fail "the picture of window $wid did not hold still within 30s"
        mv "$file" "$previous"
    done
}

e2e_snap() {
    e2e_screenshot "$1" "$E2E_TMP/$2.png" "${3:-}"
    echo "$E2E_TMP/$2.png"
}

e2e_settle() {
    (($# > 0)) || e2e_fail "e2e_settle takes the windows to wait for"
    local wid
    for wid in "$@"; do e2e_screenshot "$wid" "$E2E_TMP/settled.png"; done
}

e2e_wait_drawn() {
    local wid=$1 file=$2 deadline=$((SECONDS + 60))
    e2e_screenshot "$wid" "$file"
    until (($(e2e_drawn_pixels "$file") > 0)); do
        ((SECONDS < deadline)) || e2e_fail "window $wid shows nothing within 60s"
        e2e_screenshot "$wid" "$file"
    done
}

e2e_pixel() {
    "$E2E_CONVERT" "$1" -crop "1x1+$2+$3" +repage -depth 8 -format '%[fx:int(255*r+0.5)] %[fx:int(255*g+0.5)] %[fx:int(255*b+0.5)]\n' info:
}

e2e_count_color() {
    local file=$1 r=$2 g=$3 b=$4 fuzz=${5:-8}
    e2e_count_near "$fuzz" "rgb($r,$g,$b)" "$file"
}

e2e_count_color_in_box() {
    local file=$1 x=$2 y=$3 w=$4 h=$5 r=$6 g=$7 b=$8
    e2e_count_near 8 "rgb($r,$g,$b)" "$file" -crop "${w}x${h}+${x}+${y}" +repage
}

# Prints how many pixels of the picture that the convert arguments ARG... make lie within FUZZ%
# of COLOUR, in one convert: -compare counts those farther from a copy painted all in COLOUR.
e2e_count_near() {
    local fuzz=$1 color=$2 counts total different
    shift 2
    counts=$("$E2E_CONVERT" "$@" \( +clone -alpha off -fill "$color" -colorize 100 \) \
        -metric AE -fuzz "$fuzz%" -compare -format '%[fx:w*h] %[distortion]\n' info:)
    read -r total different <<<"$counts"
    echo $((total - different))
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

e2e_enter_models() {
    cp "$PROJECT_ROOT"/models/*.obj "$E2E_TMP/"
    cd "$E2E_TMP"
}

e2e_start_revolva() {
    [[ -n "${REVOLVA_BIN:-}" ]] || e2e_fail "REVOLVA_BIN is not set"
    local trace="" option
    OPTIND=1
    while getopts t: option; do
        [[ $option == t ]] || e2e_fail "e2e_start_revolva [-t TRACE] [FOLDER]"
        trace=$OPTARG
    done
    shift $((OPTIND - 1))
    if (($# == 0)); then
        cp "$PROJECT_ROOT/revolution/controles.txt" "$E2E_TMP/"
        set -- "$E2E_TMP"
    fi
    cd "$1"
    if [[ -n "$trace" ]]; then
        e2e_launch_traced revolva "$trace" "$REVOLVA_BIN"
    else
        e2e_launch revolva "$REVOLVA_BIN"
    fi
    revolva_pid=$E2E_LAST_PID
    surface=$(e2e_wait_window '^Superf')
    editor=$(e2e_wait_window '^Geratriz')
    e2e_wait_drawn "$surface" "$E2E_TMP/surface-start.png"
    e2e_wait_drawn "$editor" "$E2E_TMP/editor-start.png"
}

e2e_start_subdivo() {
    [[ -n "${SUBDIVO_BIN:-}" ]] || e2e_fail "SUBDIVO_BIN is not set"
    e2e_enter_models
    e2e_launch subdivo "$SUBDIVO_BIN" "$@"
    subdivo_pid=$E2E_LAST_PID
    wid=$(e2e_wait_window '^Superf')
    e2e_wait_drawn "$wid" "$E2E_TMP/subdivo-start.png"
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
    local geometry width height deadline=$((SECONDS + 10))
    geometry=$(e2e_window_geometry "$wid")
    read -r _ _ width height <<<"$geometry"
    # With no window manager the keyboard follows the focus that is set here; the pointer goes
    # inside too, so that no other window takes the keys.
    xdotool mousemove --window "$wid" $((width - 5)) $((height - 5))
    xdotool windowfocus "$wid"
    until [[ "$(xdotool getwindowfocus)" == "$wid" ]]; do
        ((SECONDS < deadline)) || e2e_fail "window $wid did not take the keyboard focus"
        sleep 0.05
    done
    local key
    for key in "$@"; do
        xdotool key --clearmodifiers "$key"
        sleep 0.05
    done
}

# Runs the program in `tool` (each export tool's script sets it) with ARGS, its streams in
# $E2E_TMP/run.out and run.err; sets `status` to its exit status.
e2e_run_tool() {
    status=0
    "$tool" "$@" >"$E2E_TMP/run.out" 2>"$E2E_TMP/run.err" || status=$?
}

# True when the last e2e_run_tool wrote exactly one line on its error stream, containing TEXT.
e2e_one_error_line() {
    [[ $(wc -l <"$E2E_TMP/run.err") -eq 1 ]] && grep -qF -- "$1" "$E2E_TMP/run.err"
}

e2e_wait_exit() {
    local pid=$1 seconds=${2:-20}
    local deadline=$((SECONDS + seconds))
    while ((SECONDS < deadline)); do
        if ! e2e_running "$pid"; then
            E2E_EXIT_STATUS=0
            wait "$pid" || E2E_EXIT_STATUS=$?
            return 0
        fi
        sleep 0.05
    done
    e2e_fail "process $pid still running after ${seconds}s"
}
