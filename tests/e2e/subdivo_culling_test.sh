#!/usr/bin/env bash
# Back-face culling and models without normals. The open grid, seen from below after an orbit,
# shows only its back faces: hidden while culling is on (the start), shown after "k", hidden
# again after "K". A model without normals still shows lit, not black.
source "$E2E_LIB"

e2e_start_display

loader_pixels() { e2e_count_color "$E2E_TMP/$1.png" 255 217 102 3; }
# Pixels darker than 3% grey: the background, and any face drawn black.
dark_pixels() {
    "$E2E_CONVERT" "$E2E_TMP/$1.png" -alpha off -colorspace gray -threshold 3% \
        -format '%[fx:int((1-mean)*w*h+0.5)]\n' info:
}

e2e_start_subdivo grid.obj
cp "$E2E_TMP/subdivo-start.png" "$E2E_TMP/above.png"
e2e_check "from above the grid shows its front faces ($(loader_pixels above) pixels)" \
    test "$(loader_pixels above)" -gt 10000

# Dragging 350 pixels up with the left button lowers the elevation by 70 degrees: to -25.
e2e_drag "$wid" 300 470 300 120 1
e2e_screenshot "$wid" "$E2E_TMP/below_culled.png" "$E2E_TMP/above.png"
e2e_check "from below, culled, the grid's back faces are hidden ($(loader_pixels below_culled) pixels)" \
    test "$(loader_pixels below_culled)" -lt 100
e2e_key "$wid" k
e2e_screenshot "$wid" "$E2E_TMP/below_shown.png" "$E2E_TMP/below_culled.png"
e2e_check "'k': culling off shows the back faces ($(loader_pixels below_shown) pixels)" \
    test "$(loader_pixels below_shown)" -gt 10000
e2e_key "$wid" K
e2e_screenshot "$wid" "$E2E_TMP/below_again.png" "$E2E_TMP/below_shown.png"
e2e_check "'K': culling on again hides them ($(loader_pixels below_again) pixels)" \
    test "$(loader_pixels below_again)" -lt 100
e2e_stop "$subdivo_pid"

e2e_start_subdivo no_normals.obj
cp "$E2E_TMP/subdivo-start.png" "$E2E_TMP/bare_unlit.png"
e2e_check "the model without normals shows in the face colour ($(loader_pixels bare_unlit) pixels)" \
    test "$(loader_pixels bare_unlit)" -gt 10000
e2e_key "$wid" l
e2e_screenshot "$wid" "$E2E_TMP/bare_lit.png" "$E2E_TMP/bare_unlit.png"
unlit_dark=$(dark_pixels bare_unlit)
lit_dark=$(dark_pixels bare_lit)
e2e_check "lit, the model without normals is shaded, not black ($lit_dark dark pixels, $unlit_dark unlit)" \
    test "$lit_dark" -lt $((unlit_dark + 2000))
e2e_check "lit, its faces are shaded by the material" test "$(loader_pixels bare_lit)" -lt 100
# Its two front faces, left and right of the apex, face the light differently.
brightness() { "$E2E_CONVERT" "$E2E_TMP/$1.png" -crop "1x1+$2+$3" -colorspace gray -format '%[fx:int(255*mean)]' info:; }
left=$(brightness bare_lit 220 300)
right=$(brightness bare_lit 380 300)
e2e_check "lit, its faces get shades of their own (left $left, right $right)" \
    test $((left > right ? left - right : right - left)) -gt 40
e2e_check "Subdivo is still running" kill -0 "$E2E_LAST_PID"
e2e_pass
