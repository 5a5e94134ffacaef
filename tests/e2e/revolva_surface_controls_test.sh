#!/usr/bin/env bash
# The controls file is read again on F1 in the surface window: a bluish material written into
# "controles.txt" turns the warm surface blue on the next frames; F1 in the editor does
# nothing; a deleted file keeps the last values.
source "$E2E_LIB"

# Succeeds when the pixel's red exceeds its blue by 20 (warm), or the reverse (cool).
warm_pixel() { local r g b; read -r r g b <<<"$(e2e_pixel "$@")"; ((r > b + 20)); }
cool_pixel() { local r g b; read -r r g b <<<"$(e2e_pixel "$@")"; ((b > r + 20)); }

e2e_start_display
e2e_start_revolva
cp "$E2E_TMP/surface-start.png" "$E2E_TMP/warm.png"
e2e_check "the surface starts warm (got $(e2e_pixel "$E2E_TMP/warm.png" 420 100))" \
    warm_pixel "$E2E_TMP/warm.png" 420 100

# Same light, a blue material.
cat >controles.txt <<'CONTROLS'
0.05 0.10 0.30 1   0.15 0.35 0.95 1   0.5 0.5 0.6 1   30
-1 2.5 3.5 1   0.3 0.3 0.3 1   1 1 1 1   1 1 1 1
CONTROLS

echo "# F1 in the editor window"
e2e_key "$editor" F1
e2e_screenshot "$surface" "$E2E_TMP/after_editor_f1.png"
e2e_check "F1 in the editor leaves the surface warm" warm_pixel "$E2E_TMP/after_editor_f1.png" 420 100

echo "# F1 in the surface window"
e2e_key "$surface" F1
e2e_screenshot "$surface" "$E2E_TMP/cool.png" "$E2E_TMP/warm.png"
e2e_check "the surface turns blue (got $(e2e_pixel "$E2E_TMP/cool.png" 420 100))" \
    cool_pixel "$E2E_TMP/cool.png" 420 100
e2e_check "and stays blue elsewhere (got $(e2e_pixel "$E2E_TMP/cool.png" 350 230))" \
    cool_pixel "$E2E_TMP/cool.png" 350 230

echo "# F1 without a file"
rm controles.txt
e2e_key "$surface" F1
e2e_screenshot "$surface" "$E2E_TMP/kept.png"
e2e_check "a missing file keeps the last values" cool_pixel "$E2E_TMP/kept.png" 420 100

e2e_check "Revolva is still running" kill -0 "$E2E_LAST_PID"
e2e_pass
