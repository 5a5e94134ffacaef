#!/usr/bin/env bash
# Middle clicks delete control points: deleting the selected point leaves no red marker, and
# deleting every point leaves an empty editor that keeps running and drawing.
source "$E2E_LIB"

red() { e2e_count_color "$1" 255 0 0; }
yellow() { e2e_count_color "$1" 255 255 0; }

e2e_start_display
e2e_start_revolva "$E2E_TMP"
wid=$editor

e2e_click "$wid" 480 480 2
shot=$(e2e_snap "$wid" one-left "$E2E_TMP/editor-start.png")
e2e_check "deleting the selected point leaves no red marker" test "$(red "$shot")" -eq 0
e2e_check "the other point keeps its yellow marker" test "$(yellow "$shot")" -ge 60

# Weight keys without a selection have nothing to change.
e2e_key "$wid" plus minus minus
e2e_click "$wid" 120 120 2
shot=$(e2e_snap "$wid" empty "$shot")
e2e_check "deleting the last point leaves no markers" test "$(red "$shot")" -eq 0 -a "$(yellow "$shot")" -eq 0
e2e_click "$wid" 300 300 1
e2e_drag "$wid" 300 300 200 200 1
e2e_key "$wid" plus 9 0
e2e_click "$wid" 300 100 3
shot=$(e2e_snap "$wid" new-point "$shot")
e2e_check "Revolva survives an empty curve" kill -0 "$revolva_pid"
e2e_check "a point appended to the empty curve shows its yellow marker" test "$(yellow "$shot")" -ge 60
e2e_pass
