#!/usr/bin/env bash
# The editor's "q", "w" and "e" keys hide the control polygon, the point markers and the
# labels, each leaving the rest of the picture alone; a second press shows them again.
source "$E2E_LIB"

green() { e2e_count_color "$1" 0 255 0; }
red() { e2e_count_color "$1" 255 0 0; }
yellow() { e2e_count_color "$1" 255 255 0; }
# The labels start right of the points at (480, 480) and (120, 120), above their baselines;
# these boxes hold label text and none of the curve, which runs down-right between the points.
label_blue() {
    echo $(($(e2e_count_color_in_box "$1" 498 462 102 20 0 0 255) + $(e2e_count_color_in_box "$1" 138 102 102 20 0 0 255)))
}

e2e_start_display
e2e_start_revolva "$E2E_TMP"
wid=$editor
# A third point bends the curve away from the polygon, which the straight starting curve hides.
e2e_click "$wid" 500 100 3

shot=$(e2e_snap "$wid" start "$E2E_TMP/editor-start.png")
e2e_check "the control polygon shows in green" test "$(green "$shot")" -ge 100
e2e_check "the markers show in red and yellow" test "$(red "$shot")" -ge 60 -a "$(yellow "$shot")" -ge 60
e2e_check "the labels show in blue" test "$(label_blue "$shot")" -ge 40

e2e_key "$wid" q
shot=$(e2e_snap "$wid" no-polygon "$shot")
e2e_check "q hides the control polygon" test "$(green "$shot")" -eq 0
e2e_check "q leaves the markers" test "$(red "$shot")" -ge 60 -a "$(yellow "$shot")" -ge 60
e2e_check "q leaves the labels" test "$(label_blue "$shot")" -ge 40

e2e_key "$wid" w
shot=$(e2e_snap "$wid" no-markers "$shot")
e2e_check "w hides the red and yellow markers" test "$(red "$shot")" -eq 0 -a "$(yellow "$shot")" -eq 0
e2e_check "w leaves the labels" test "$(label_blue "$shot")" -ge 40

e2e_key "$wid" e
shot=$(e2e_snap "$wid" no-labels "$shot")
e2e_check "e hides the label text" test "$(label_blue "$shot")" -eq 0
e2e_check "the curve still shows in blue" test "$(e2e_count_color "$shot" 0 0 255)" -ge 100

e2e_key "$wid" Q W E
shot=$(e2e_snap "$wid" all-back "$shot")
e2e_check "Q shows the polygon again" test "$(green "$shot")" -ge 100
e2e_check "W shows the markers again" test "$(red "$shot")" -ge 60 -a "$(yellow "$shot")" -ge 60
e2e_check "E shows the labels again" test "$(label_blue "$shot")" -ge 40

e2e_pass
