#!/usr/bin/env bash
# Middle clicks delete control points: deleting the selected point leaves no red marker, and
# deleting every point leaves an empty editor that keeps running and drawing.
source "$E2E_LIB"
[[ -n "${REVOLVA_BIN:-}" ]] || e2e_fail "REVOLVA_BIN is not set"

red() { e2e_count_color "$1" 255 0 0; }
yellow() { e2e_count_color "$1" 255 255 0; }

e2e_start_display
cd "$E2E_TMP"
e2e_launch revolva "$REVOLVA_BIN"
revolva_pid=$E2E_LAST_PID
wid=$(e2e_wait_window '^Geratriz')

e2e_click "$wid" 480 480 2
shot=$(e2e_snap one-left)
e2e_check "deleting the selected point leaves no red marker" test "$(red "$shot")" -eq 0
e2e_check "the other point keeps its yellow marker" test "$(yellow "$shot")" -ge 60

# Weight keys without a selection have nothing to change.
e2e_key "$wid" plus minus minus
e2e_click "$wid" 120 120 2
shot=$(e2e_snap empty)
e2e_check "deleting the last point leaves no markers" test "$(red "$shot")" -eq 0 -a "$(yellow "$shot")" -eq 0
e2e_click "$wid" 300 300 1
e2e_drag "$wid" 300 300 200 200 1
e2e_key "$wid" plus 9 0
e2e_click "$wid" 300 100 3
shot=$(e2e_snap new-point)
e2e_check "Revolva survives an empty curve" kill -0 "$revolva_pid"
e2e_check "a point appended to the empty curve shows its yellow marker" test "$(yellow "$shot")" -ge 60
e2e_pass
