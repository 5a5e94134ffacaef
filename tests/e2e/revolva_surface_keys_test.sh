#!/usr/bin/env bash
# Keys of the surface window: "w" switches the surface to wire-frame and back without touching
# the editor's markers; "+" raises the selected point's weight, which the editor's label of
# that point shows on its next redraw.
source "$E2E_LIB"

e2e_start_display
e2e_start_revolva

cp "$E2E_TMP/surface-start.png" "$E2E_TMP/filled.png"
cp "$E2E_TMP/editor-start.png" "$E2E_TMP/editor_before.png"
filled_warm=$(e2e_count_color "$E2E_TMP/filled.png" 250 138 56 25)

echo "# \"w\" in the surface window"
e2e_key "$surface" w
e2e_screenshot "$surface" "$E2E_TMP/wire.png" "$E2E_TMP/filled.png"
e2e_screenshot "$editor" "$E2E_TMP/editor_after_w.png"
e2e_check "the surface picture changes" e2e_differs "$E2E_TMP/filled.png" "$E2E_TMP/wire.png"
wire_warm=$(e2e_count_color "$E2E_TMP/wire.png" 250 138 56 25)
e2e_check "wire-frame leaves far fewer lit pixels ($filled_warm filled, $wire_warm as lines)" \
    test $((wire_warm * 4)) -lt "$filled_warm"
e2e_check "an inside pixel of the filled surface turns dark between the lines" \
    test "$(e2e_pixel "$E2E_TMP/wire.png" 400 140)" != "$(e2e_pixel "$E2E_TMP/filled.png" 400 140)"
yellow=$(e2e_count_color "$E2E_TMP/editor_after_w.png" 255 255 0 10)
red=$(e2e_count_color "$E2E_TMP/editor_after_w.png" 255 0 0 10)
e2e_check "the editor still shows its markers (yellow $yellow, red $red pixels)" \
    test "$yellow" -gt 50 -a "$red" -gt 50
e2e_check "the editor's picture is untouched" e2e_same_picture "$E2E_TMP/editor_before.png" "$E2E_TMP/editor_after_w.png"

e2e_key "$surface" W
e2e_screenshot "$surface" "$E2E_TMP/filled_again.png" "$E2E_TMP/wire.png"
e2e_check "\"W\" switches back to filled polygons" \
    test "$(e2e_pixel "$E2E_TMP/filled_again.png" 400 140)" = "$(e2e_pixel "$E2E_TMP/filled.png" 400 140)"

echo "# \"+\" in the surface window"
# The selected first point (0.2, 0, 0.2) has its label at window position (0.8, 0.2).
label_area=130x40+470+450
e2e_crop "$E2E_TMP/editor_before.png" "$E2E_TMP/label_before.png" "$label_area"
e2e_key "$surface" plus
e2e_screenshot "$editor" "$E2E_TMP/editor_after_plus.png" "$E2E_TMP/editor_after_w.png"
e2e_crop "$E2E_TMP/editor_after_plus.png" "$E2E_TMP/label_after.png" "$label_area"
e2e_check "the selected point's label changes in the editor" \
    e2e_differs "$E2E_TMP/label_before.png" "$E2E_TMP/label_after.png"
e2e_check "the label is drawn in blue" \
    test "$(e2e_count_color "$E2E_TMP/label_after.png" 0 0 255 10)" -gt 20

e2e_check "Revolva is still running" kill -0 "$E2E_LAST_PID"
e2e_pass
