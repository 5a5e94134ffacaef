#!/usr/bin/env bash
# One surface frame as recorded by apitrace: the frame set-up, light then material from the
# controls file, one GL_TRIANGLE_STRIP per band with a normal before every vertex, the earlier
# column's vertex first in each pair, the closing band ending on column 0, and the frame end.
# With 5 samples around the axis and 2 along the curve the four bands join the ring rows.
source "$E2E_LIB"
command -v apitrace >/dev/null || e2e_fail "apitrace is not installed"

# The calls of the last complete surface frame (the editor never clears the depth buffer),
# without their call numbers.
last_surface_frame() {
    apitrace dump --color=never "$1" | sed 's/^[0-9]* //' | awk '
        /^glClear\(mask = GL_DEPTH_BUFFER_BIT \| GL_COLOR_BUFFER_BIT\)/ { inside = 1; frame = "" }
        inside { frame = frame $0 "\n" }
        inside && /^glXSwapBuffers/ { inside = 0; last = frame }
        END { printf "%s", last }'
}

# "x y z" of every glVertex3f (or glNormal3f with NAME=glNormal3f) call, one per line.
coordinates() {
    grep "^$2(" "$1" | sed 's/^[^(]*(//; s/)$//; s/[a-z]* = //g; s/,//g'
}

# Succeeds when two lists of "x y z" lines agree within 1e-6 everywhere.
same_coordinates() {
    paste -d' ' "$1" "$2" | awk 'NF != 6 { bad = 1 }
        { for (k = 1; k <= 3; ++k) { d = $k - $(k + 3); if (d < -1e-6 || d > 1e-6) bad = 1 } }
        END { exit bad }' || return 1
    [[ $(wc -l <"$1") -eq $(wc -l <"$2") ]]
}

e2e_start_display
trace="$E2E_TMP/revolva.trace"
e2e_start_revolva -t "$trace"
# Down to 5 samples around the axis and 2 along the generatrix.
e2e_key "$surface" 7 7 7 7 7 7 9 9 9 9 9 9 9 9 9
e2e_screenshot "$surface" "$E2E_TMP/coarse.png" "$E2E_TMP/surface-start.png"
e2e_stop "$revolva_pid"
last_surface_frame "$trace" >"$E2E_TMP/frame.txt"
[[ -s "$E2E_TMP/frame.txt" ]] || e2e_fail "no complete surface frame in the trace"

echo "# frame set-up"
e2e_check "the frame starts with the modelview identity and the camera transform" \
    test "$(sed -n '2,4p' "$E2E_TMP/frame.txt" | cut -d'(' -f1 | tr '\n' ' ')" = \
    "glMatrixMode glLoadIdentity glTranslated "
grep -v -e '^glVertex3fv' -e '^glBegin(mode = GL_LINES)' -e '^glEnd' -e '^glNormal3f' \
    -e '^glVertex3f' -e '^glBegin(mode = GL_TRIANGLE_STRIP)' "$E2E_TMP/frame.txt" |
    sed -n '/^glPolygonMode/,$p' >"$E2E_TMP/state_calls.txt"
cat >"$E2E_TMP/expected_state_calls.txt" <<'CALLS'
glPolygonMode(face = GL_FRONT_AND_BACK, mode = GL_FILL)
glLineWidth(width = 1)
glColor3f(red = 1, green = 0, blue = 0)
glLightModeli(pname = GL_LIGHT_MODEL_TWO_SIDE, param = 1)
glEnable(cap = GL_LIGHTING)
glEnable(cap = GL_LIGHT0)
glLightfv(light = GL_LIGHT0, pname = GL_POSITION, params = {-1, 2.5, 3.5, 1})
glLightfv(light = GL_LIGHT0, pname = GL_AMBIENT, params = {0.3, 0.3, 0.3, 1})
glLightfv(light = GL_LIGHT0, pname = GL_DIFFUSE, params = {1, 0.95, 0.9, 1})
glLightfv(light = GL_LIGHT0, pname = GL_SPECULAR, params = {1, 1, 1, 1})
glMaterialfv(face = GL_FRONT_AND_BACK, pname = GL_AMBIENT, params = {0.25, 0.12, 0.05, 1})
glMaterialfv(face = GL_FRONT_AND_BACK, pname = GL_DIFFUSE, params = {0.9, 0.5, 0.2, 1})
glMaterialfv(face = GL_FRONT_AND_BACK, pname = GL_SPECULAR, params = {0.6, 0.55, 0.45, 1})
glMaterialfv(face = GL_FRONT_AND_BACK, pname = GL_SHININESS, params = &40)
glDisable(cap = GL_CULL_FACE)
glDisable(cap = GL_LIGHTING)
glPolygonMode(face = GL_FRONT_AND_BACK, mode = GL_FILL)
glFlush()
CALLS
e2e_check "polygon mode, line width, colour, light then material, and the frame end in order" \
    test "$(sed -n '1,18p' "$E2E_TMP/state_calls.txt")" = "$(cat "$E2E_TMP/expected_state_calls.txt")"

echo "# strips"
sed -n '/^glBegin(mode = GL_TRIANGLE_STRIP)/,$p' "$E2E_TMP/frame.txt" |
    grep -e '^glBegin' -e '^glEnd' -e '^glNormal3f' -e '^glVertex3f(' |
    cut -d'(' -f1 | tr '\n' ' ' >"$E2E_TMP/shape.txt"
strip="glBegin$(printf ' glNormal3f glVertex3f%.0s' 1 2 3 4) glEnd"
e2e_check "four strips of four normal-vertex pairs" \
    test "$(cat "$E2E_TMP/shape.txt")" = "$strip $strip $strip $strip "

sed -n '/^glBegin(mode = GL_TRIANGLE_STRIP)/,$p' "$E2E_TMP/frame.txt" >"$E2E_TMP/strips.txt"
coordinates "$E2E_TMP/strips.txt" glVertex3f >"$E2E_TMP/vertices.txt"
coordinates "$E2E_TMP/strips.txt" glNormal3f >"$E2E_TMP/normals.txt"
# Ring k of each generatrix point, earlier column first, sample 0 then sample 1.
cat >"$E2E_TMP/expected_vertices.txt" <<'POINTS'
0.2 0 0.2
0 0.2 0.2
0.8 0 0.8
0 0.8 0.8
0 0.2 0.2
-0.2 0 0.2
0 0.8 0.8
-0.8 0 0.8
-0.2 0 0.2
0 -0.2 0.2
-0.8 0 0.8
0 -0.8 0.8
0 -0.2 0.2
0.2 0 0.2
0 -0.8 0.8
0.8 0 0.8
POINTS
e2e_check "vertices run along the ring rows, earlier column first, closing on column 0" \
    same_coordinates "$E2E_TMP/vertices.txt" "$E2E_TMP/expected_vertices.txt"
h=0.7071068
printf '%s\n' "$h 0 -$h" "0 $h -$h" "$h 0 -$h" "0 $h -$h" "0 $h -$h" "-$h 0 -$h" "0 $h -$h" \
    "-$h 0 -$h" "-$h 0 -$h" "0 -$h -$h" "-$h 0 -$h" "0 -$h -$h" "0 -$h -$h" "$h 0 -$h" \
    "0 -$h -$h" "$h 0 -$h" >"$E2E_TMP/expected_normals.txt"
e2e_check "each vertex carries its own unit normal" \
    same_coordinates "$E2E_TMP/normals.txt" "$E2E_TMP/expected_normals.txt"
e2e_pass
