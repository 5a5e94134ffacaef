#!/usr/bin/env bash
# The editor's "q", "w" and "e" keys hide the control polygon, the point markers and the
# labels, each leaving the rest of the picture alone; a second press shows them again.
source "$E2E_LIB"
[[ -n "${REVOLVA_BIN:-}" ]] || e2e_fail "REVOLVA_BIN is not set"

count_in_box() {
    local file=$1 x=$2 y=$3 w=$4 h=$5 r=$6 g=$7 b=$8
    "$E2E_CONVERT" "$file" -crop "${w}x${h}+${x}+${y}" +repage "$E2E_TMP/box.png"
    e2e_count_color "$E2E_TMP/box.png" "$r" "$g" "$b"
}
green() { e2e_count_color "$1" 0 255 0; }
red() { e2e_count_color "$1" 255 0 0; }
yellow() { e2e_count_color "$1" 255 255 0; }
# The labels start right of the points at (480, 480) and (120, 120), above their baselines;
# these boxes hold label text and none of the curve, which runs down-right between the points.
label_blue() {
    echo $(($(count_in_box "$1" 498 462 102 20 0 0 255) + $(count_in_box "$1" 138 102 102 20 0 0 255)))
}

snap() {
    e2e_settle
    e2e_screenshot "$wid" "$E2E_TMP/$1.png"
    echo "$E2E_TMP/$1.png"
}

e2e_start_display
cd "$E2E_TMP"
e2e_launch revolva "$REVOLVA_BIN"
wid=$(e2e_wait_window '^Geratriz')
# A third point bends the curve away from the polygon, which the straight starting curve hides.
e2e_click "$wid" 500 100 3

shot=$(snap start)
e2e_check "the control polygon shows in green" test "$(green "$shot")" -ge 100
e2e_check "the markers show in red and yellow" test "$(red "$shot")" -ge 60 -a "$(yellow "$shot")" -ge 60
e2e_check "the labels show in blue" test "$(label_blue "$shot")" -ge 40

e2e_key "$wid" q
shot=$(snap no-polygon)
e2e_check "q hides the control polygon" test "$(green "$shot")" -eq 0
e2e_check "q leaves the markers" test "$(red "$shot")" -ge 60 -a "$(yellow "$shot")" -ge 60
e2e_check "q leaves the labels" test "$(label_blue "$shot")" -ge 40

e2e_key "$wid" w
shot=$(snap no-markers)
e2e_check "w hides the red and yellow markers" test "$(red "$shot")" -eq 0 -a "$(yellow "$shot")" -eq 0
e2e_check "w leaves the labels" test "$(label_blue "$shot")" -ge 40

e2e_key "$wid" e
shot=$(snap no-labels)
e2e_check "e hides the label text" test "$(label_blue "$shot")" -eq 0
e2e_check "the curve still shows in blue" test "$(e2e_count_color "$shot" 0 0 255)" -ge 100

e2e_key "$wid" Q W E
shot=$(snap all-back)
e2e_check "Q shows the polygon again" test "$(green "$shot")" -ge 100
e2e_check "W shows the markers again" test "$(red "$shot")" -ge 60 -a "$(yellow "$shot")" -ge 60
e2e_check "E shows the labels again" test "$(label_blue "$shot")" -ge 40

e2e_pass
