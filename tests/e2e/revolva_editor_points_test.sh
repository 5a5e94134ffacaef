#!/usr/bin/env bash
# Control points in the editor: the starting markers (red selected, yellow other) where the
# points lie, a right click that appends a yellow marker under the mouse, and a left drag
# that carries the red marker along by the mouse travel.
source "$E2E_LIB"

# Marker pixels around window pixel (X, Y): the square's outline lies 12 pixels out.
red_near() { e2e_count_color_in_box "$1" $(($2 - 16)) $(($3 - 16)) 33 33 255 0 0; }
yellow_near() { e2e_count_color_in_box "$1" $(($2 - 16)) $(($3 - 16)) 33 33 255 255 0; }

e2e_start_display
e2e_start_revolva "$E2E_TMP"
wid=$editor

# (0.2, 0, 0.2) shows at window (0.8, 0.2): pixel (480, 480); (0.8, 0, 0.8) at pixel (120, 120).
shot="$E2E_TMP/editor-start.png"
e2e_check "the selected first point has a red marker" test "$(red_near "$shot" 480 480)" -ge 60
e2e_check "the first point has no yellow marker" test "$(yellow_near "$shot" 480 480)" -eq 0
e2e_check "the second point has a yellow marker" test "$(yellow_near "$shot" 120 120)" -ge 60
e2e_check "the second point has no red marker" test "$(red_near "$shot" 120 120)" -eq 0
e2e_check "nothing is marked at (300, 100) yet" test "$(yellow_near "$shot" 300 100)" -eq 0

e2e_click "$wid" 300 100 3
shot=$(e2e_snap "$wid" appended "$shot")
e2e_check "a right click appends a yellow marker under the mouse" \
    test "$(yellow_near "$shot" 300 100)" -ge 60
e2e_check "the appended point is not selected" test "$(red_near "$shot" 300 100)" -eq 0
e2e_check "the first point stays selected" test "$(red_near "$shot" 480 480)" -ge 60

e2e_drag "$wid" 480 480 380 400 1
shot=$(e2e_snap "$wid" dragged "$shot")
e2e_check "the dragged red marker left its old place" test "$(red_near "$shot" 480 480)" -eq 0
e2e_check "the red marker moved with the mouse to (380, 400)" \
    test "$(red_near "$shot" 380 400)" -ge 60

e2e_check "Revolva is still running" kill -0 "$E2E_LAST_PID"
e2e_pass
