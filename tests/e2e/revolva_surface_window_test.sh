#!/usr/bin/env bash
# Both Revolva windows open with their exact title bytes, positions and sizes; with the
# sample controls file the surface is lit in warm colours, and without any controls file the
# same pixels of the surface stay black.
source "$E2E_LIB"

credit=$(sed -n 's/^#define AUTHORS_CREDIT "\(.*\)"$/\1/p' "$PROJECT_ROOT/viewer/credits.h")
[[ -n "$credit" ]] || e2e_fail "no AUTHORS_CREDIT in viewer/credits.h"
# Pixels that the start surface covers when seen from the start camera.
surface_pixels=("420 100" "350 230" "480 180" "250 200")

hex() { od -An -tx1 | tr -d ' \n'; }

# Succeeds when the pixel is lit and warm: clearly red, with less blue than red.
warm_pixel() {
    local r g b
    read -r r g b <<<"$(e2e_pixel "$1" "$2" "$3")"
    ((r >= 40 && r > b + 20))
}

black_pixel() {
    test "$(e2e_pixel "$1" "$2" "$3")" = "0 0 0"
}

e2e_start_display

echo "# with the sample controls file"
e2e_start_revolva

title=$(e2e_window_title "$surface")
e2e_check "surface title bytes are 'Superf\\xEDcie - Por: $credit'" \
    test "$(printf '%s' "$title" | hex)" = "$(printf 'Superf\xedcie - Por: %s' "$credit" | hex)"
title=$(e2e_window_title "$editor")
e2e_check "editor title bytes are 'Geratriz - Por: $credit'" \
    test "$(printf '%s' "$title" | hex)" = "$(printf 'Geratriz - Por: %s' "$credit" | hex)"
geometry=$(e2e_window_geometry "$surface")
e2e_check "surface window at (650, 50), 600x600 (got $geometry)" test "$geometry" = "650 50 600 600"
geometry=$(e2e_window_geometry "$editor")
e2e_check "editor window at (0, 50), 600x600 (got $geometry)" test "$geometry" = "0 50 600 600"

cp "$E2E_TMP/surface-start.png" "$E2E_TMP/lit.png"
for pixel in "${surface_pixels[@]}"; do
    e2e_check "surface pixel ($pixel) is lit warm (got $(e2e_pixel "$E2E_TMP/lit.png" $pixel))" \
        warm_pixel "$E2E_TMP/lit.png" $pixel
done
e2e_check "the ground outside the surface stays black" black_pixel "$E2E_TMP/lit.png" 300 560
e2e_stop "$revolva_pid"

echo "# without a controls file"
mkdir "$E2E_TMP/dark"
e2e_start_revolva "$E2E_TMP/dark"
cp "$E2E_TMP/surface-start.png" "$E2E_TMP/dark.png"
for pixel in "${surface_pixels[@]}"; do
    e2e_check "unlit surface pixel ($pixel) is black (got $(e2e_pixel "$E2E_TMP/dark.png" $pixel))" \
        black_pixel "$E2E_TMP/dark.png" $pixel
done
e2e_check "grid lines still show in grey" \
    test "$(e2e_count_color "$E2E_TMP/dark.png" 128 128 128 10)" -gt 500
e2e_check "Revolva is still running" kill -0 "$E2E_LAST_PID"
e2e_pass
