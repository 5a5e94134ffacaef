#!/usr/bin/env bash
# Edits in the editor show in the surface window without any notification: a right click in
# the editor appends a control point, and the surface's picture changes on the next frames;
# sample-count keys pressed in the editor change the surface too.
source "$E2E_LIB"

e2e_start_display
e2e_start_revolva
cp "$E2E_TMP/surface-start.png" "$E2E_TMP/before.png"
# A single capture a few frames later: holding still is what is checked here.
sleep 0.3
e2e_grab "$surface" "$E2E_TMP/before_again.png"
e2e_check "the surface picture is steady between frames" \
    e2e_same_picture "$E2E_TMP/before.png" "$E2E_TMP/before_again.png"

echo "# right click in the editor"
# Appends (1 - 100/599, 0, 500/599): the surface grows a wide, high rim.
e2e_click "$editor" 100 100 3
e2e_screenshot "$surface" "$E2E_TMP/appended.png" "$E2E_TMP/before.png"
e2e_check "the surface picture changes" e2e_differs "$E2E_TMP/before.png" "$E2E_TMP/appended.png"
before_drawn=$(e2e_drawn_pixels "$E2E_TMP/before.png")
after_drawn=$(e2e_drawn_pixels "$E2E_TMP/appended.png")
e2e_check "the surface covers more of the window ($before_drawn drawn pixels before, $after_drawn after)" \
    test "$after_drawn" -gt $((before_drawn + 1000))

echo "# sample-count key in the editor"
e2e_key "$editor" 8 8 8
e2e_screenshot "$surface" "$E2E_TMP/finer.png" "$E2E_TMP/appended.png"
e2e_check "more samples around the axis change the surface" \
    e2e_differs "$E2E_TMP/appended.png" "$E2E_TMP/finer.png"

echo "# deleting every control point"
# Middle clicks on the three markers: (0.2, 0.2), (0.8, 0.8) and the appended point.
e2e_click "$editor" 479 480 2
e2e_click "$editor" 120 121 2
e2e_click "$editor" 100 100 2
e2e_screenshot "$surface" "$E2E_TMP/empty.png" "$E2E_TMP/finer.png"
e2e_check "Revolva keeps running with a surface of not-a-number vertices" kill -0 "$E2E_LAST_PID"
e2e_check "no lit surface is left over the grid" \
    test "$(e2e_count_color "$E2E_TMP/empty.png" 250 138 56 25)" -eq 0
e2e_check "the grid is still drawn" test "$(e2e_count_color "$E2E_TMP/empty.png" 128 128 128 10)" -gt 500

# A curve whose weight sum vanishes at its middle sample: weights 1 and -1 (ten "-" presses
# bring a weight of 1 to about 0, ten more to about -1).
e2e_click "$editor" 300 300 3
e2e_click "$editor" 150 100 3
e2e_click "$editor" 150 100 1
e2e_key "$editor" minus minus minus minus minus minus minus minus minus minus \
    minus minus minus minus minus minus minus minus minus minus
e2e_settle "$surface"
e2e_check "Revolva keeps running when the weight sum changes sign" kill -0 "$E2E_LAST_PID"
e2e_pass
