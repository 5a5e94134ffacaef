#!/usr/bin/env bash
# The editor window opens with its exact title at (0, 50), 600x600, and snaps back to
# 600x600 when it is resized.
source "$E2E_LIB"

credit=$(sed -n 's/^#define AUTHORS_CREDIT "\(.*\)"$/\1/p' "$PROJECT_ROOT/viewer/credits.h")
[[ -n "$credit" ]] || e2e_fail "no AUTHORS_CREDIT in viewer/credits.h"
expected_title="Geratriz - Por: $credit"

e2e_start_display
e2e_start_revolva "$E2E_TMP"
wid=$editor

title=$(e2e_window_title "$wid")
e2e_check "title is exactly '$expected_title' (got '$title')" \
    test "$(printf '%s' "$title" | od -An -tx1)" = "$(printf '%s' "$expected_title" | od -An -tx1)"

geometry=$(e2e_window_geometry "$wid")
e2e_check "opens at (0, 50) with 600x600 (got $geometry)" test "$geometry" = "0 50 600 600"

xdotool windowsize "$wid" 400 300
geometry=$(e2e_wait_geometry "$wid" "0 50 600 600")
e2e_check "snaps back to 600x600 after a resize (got $geometry)" test "$geometry" = "0 50 600 600"

xdotool windowsize "$wid" 900 800
geometry=$(e2e_wait_geometry "$wid" "0 50 600 600")
e2e_check "snaps back to 600x600 after growing (got $geometry)" test "$geometry" = "0 50 600 600"

e2e_check "Revolva is still running" kill -0 "$E2E_LAST_PID"
e2e_pass
