#!/usr/bin/env bash
# Started without an argument in a folder holding poly.obj, Subdivo prints its usage line, the
# default-model notice and the loader's report, and shows the model in its window: exact title
# bytes, at (200, 100), 600x600, faces in the loader's colour.
source "$E2E_LIB"

credit=$(sed -n 's/^#define AUTHORS_CREDIT "\(.*\)"$/\1/p' "$PROJECT_ROOT/viewer/credits.h")
[[ -n "$credit" ]] || e2e_fail "no AUTHORS_CREDIT in viewer/credits.h"
# The title is Windows-1252: the í is the single byte 0xED.
expected_title=$(printf 'Superf\xedcies de Doo-Sabin - Por: %s' "$credit")

e2e_start_display
e2e_start_subdivo

cat >"$E2E_TMP/expected.out" <<'REPORT'
Formato: Subdivo.exe <Modelo.obj>
Faltando <Modelo.obj>: Carregando modelo padrao poly.obj...
first pass results: found
   * 11 vertices
   * 0 texture coords.
   * 11 normal vectors
   * 11 faces
   * has texture coords.: no
   * has normals: yes
second pass results: read
   * 11 vertices
   * 0 texture coords.
   * 11 normal vectors
   * 11 faces
REPORT
e2e_check "console shows usage, default-model notice and both loader reports (kept as subdivo.out on failure)" \
    cmp -s "$E2E_TMP/expected.out" "$E2E_TMP/subdivo.out"
e2e_check "nothing on the error stream" \
    test ! -s "$E2E_TMP/subdivo.err"

title=$(e2e_window_title "$wid")
e2e_check "title bytes are exactly '$expected_title' in Windows-1252" \
    test "$(printf '%s' "$title" | od -An -tx1)" = "$(printf '%s' "$expected_title" | od -An -tx1)"

geometry=$(e2e_window_geometry "$wid")
e2e_check "opens at (200, 100) with 600x600 (got $geometry)" test "$geometry" = "200 100 600 600"

cp "$E2E_TMP/subdivo-start.png" "$E2E_TMP/start.png"
model_pixels=$(e2e_count_color "$E2E_TMP/start.png" 255 217 102 3)
e2e_check "poly.obj shows in the loader's colour (1.0, 0.85, 0.4) ($model_pixels pixels)" \
    test "$model_pixels" -gt 20000
grid_pixels=$(e2e_count_color "$E2E_TMP/start.png" 128 128 128 3)
e2e_check "the grey ground grid shows around it ($grid_pixels pixels)" test "$grid_pixels" -gt 2000

e2e_check "Subdivo is still running" kill -0 "$E2E_LAST_PID"
e2e_pass
