#!/usr/bin/env bash
# revolva-export as a user runs it: exit status and one line on the error stream for every kind
# of wrong command line, unreadable or malformed curve, with no file left behind; then every
# sample curve written as binary STL and read by admesh (no open edge, no backwards edge, no
# normal to fix, one part) and as OBJ read by assimp, with the counts the tool reports.
source "$E2E_LIB"
[[ -n "${REVOLVA_EXPORT_BIN:-}" ]] || e2e_fail "REVOLVA_EXPORT_BIN is not set"
tool=$REVOLVA_EXPORT_BIN
for checker in admesh assimp; do
    command -v "$checker" >/dev/null || e2e_fail "$checker is not installed (scripts/install-deps.sh)"
done

work="$E2E_TMP/work"
mkdir -p "$work"
cp "$PROJECT_ROOT"/curves/*.curve "$work/"
cd "$work"
printf '0.2 0.2 1\n0.5 0.5\n' >bad.curve
printf '0.2 0.2 1\n' >point.curve

folder_untouched() {
    [[ "$(ls -A "$work" | tr '\n' ' ')" == \
       "bad.curve bowl.curve goblet.curve point.curve quarter_circle.curve ring.curve vase.curve " ]]
}

# --- Refusals: status 2 for the command line, 1 for the curve; one line; nothing written ------
while IFS='|' read -r expected_status arguments expected; do
    # shellcheck disable=SC2086  # the arguments are split on purpose
    e2e_run_tool $arguments
    e2e_check "'$arguments': status $expected_status (got $status)" test "$status" -eq "$expected_status"
    e2e_check "'$arguments': one line saying '$expected'" e2e_one_error_line "$expected"
    e2e_check "'$arguments': nothing written" folder_untouched
done <<'ROWS'
2||no curve file named
2|vase.curve ring.curve -o x.stl|one curve file only; 'ring.curve' is one too many
2|--curve-samples 1 vase.curve -o x.stl|--curve-samples must be a whole number from 2 up, not '1'
2|--turn-samples 4 vase.curve -o x.stl|--turn-samples must be a whole number from 5 up, not '4'
2|--size -3 vase.curve -o x.stl|--size must be a number of millimetres above 0, not '-3'
2|--size 50 vase.curve -o x.obj|--size applies to STL only
2|vase.curve -o x.ply|cannot tell the format of 'x.ply'
2|--format ply vase.curve|--format is obj or stl, not 'ply'
1|missing.curve -o x.stl|cannot read missing.curve: No such file or directory; nothing written
1|bad.curve -o x.stl|bad.curve: line 2: expected three numbers, x z weight, found 2
1|point.curve -o x.stl|point.curve holds 1 control point; a surface needs two or more
ROWS
mkdir taken.stl
e2e_run_tool -q vase.curve -o taken.stl
rmdir taken.stl
e2e_check "a target that is a folder: status 1 (got $status)" test "$status" -eq 1
e2e_check "... one line naming it, and no file left" e2e_one_error_line "cannot write"
e2e_check "... nothing written" folder_untouched
e2e_run_tool --version
e2e_check "--version: one line with the name" grep -q '^revolva-export [0-9]' "$E2E_TMP/run.out"

# --- Every sample as STL for admesh and as OBJ for assimp ------------------------------------
admesh_accepts() {
    local report=$1
    grep -Eq 'Total disconnected facets +: +0 ' "$report" &&
        grep -Eq 'Number of parts +: +1 ' "$report" &&
        grep -Eq 'Backwards edges +: +0$' "$report" &&
        grep -Eq 'Normals fixed +: +0$' "$report" &&
        grep -Eq 'Degenerate facets +: +0$' "$report"
}
for curve in vase goblet bowl ring; do
    for options in "" "--caps --round --turn-samples 33 --curve-samples 24"; do
        # shellcheck disable=SC2086  # the options are split on purpose
        e2e_run_tool $options "$curve.curve" -o "$E2E_TMP/$curve.stl"
        e2e_check "$curve $options: written and reported closed" \
            grep -q 'triangles, closed, volume' "$E2E_TMP/run.err"
        triangles=$(sed -n 's/.* \([0-9]*\) triangles.*/\1/p' "$E2E_TMP/run.err")
        admesh "$E2E_TMP/$curve.stl" >"$E2E_TMP/$curve.admesh" 2>&1
        e2e_check "admesh accepts $curve.stl $options" admesh_accepts "$E2E_TMP/$curve.admesh"
        e2e_check "... with its $triangles triangles" \
            grep -Eq "Number of facets +: +$triangles " "$E2E_TMP/$curve.admesh"
    done
    "$tool" -q "$curve.curve" -o "$E2E_TMP/$curve.obj"
    assimp info "$E2E_TMP/$curve.obj" 2>&1 | grep -v '%$' >"$E2E_TMP/$curve.assimp"
    faces=$(grep -c '^f ' "$E2E_TMP/$curve.obj")
    e2e_check "assimp reads $curve.obj: $faces triangles" \
        grep -Eq "^Faces: +$faces$" "$E2E_TMP/$curve.assimp"
done

# --- Standard input and output, quiet, and a curve whose weight sum changes sign --------------
status=0
"$tool" -q --format stl - <vase.curve >"$E2E_TMP/piped.stl" 2>"$E2E_TMP/run.err" || status=$?
e2e_check "'-' reads standard input; --format stl to standard output: status 0" test "$status" -eq 0
"$tool" -q vase.curve -o "$E2E_TMP/named.stl"
e2e_check "... the same triangles as a named file (after the 80-byte header)" \
    cmp -s -i 80 "$E2E_TMP/piped.stl" "$E2E_TMP/named.stl"
e2e_check "... and --quiet says nothing" test ! -s "$E2E_TMP/run.err"
printf '0 0.1 1\n0.5 0.5 -3\n0 0.9 1\n' >"$E2E_TMP/pole.curve"
e2e_run_tool --caps "$E2E_TMP/pole.curve" -o "$E2E_TMP/pole.stl"
e2e_check "a change of sign of the weight sum is written open, and says why" \
    grep -q 'not a closed solid: the weight sum changes sign' "$E2E_TMP/run.err"

# --- Closed only for a solid: what the report says, and what admesh finds in the file ---------
# A curve pulled across the axis and one whose weight sum touches zero between samples are
# written open; the trough closes into a ring (one part, no open edge); the cone on its tip is
# told so, and stands on its base after --flip.
while IFS='|' read -r points options report; do
    printf '%b' "$points" >"$E2E_TMP/hard.curve"
    # shellcheck disable=SC2086  # the options are split on purpose
    e2e_run_tool $options "$E2E_TMP/hard.curve" -o "$E2E_TMP/hard.stl"
    e2e_check "'$points' $options: status 0 (got $status)" test "$status" -eq 0
    e2e_check "... reports '$report'" grep -qF -- "$report" "$E2E_TMP/run.err"
    admesh "$E2E_TMP/hard.stl" >"$E2E_TMP/hard.admesh" 2>&1
    if grep -q 'triangles, closed' "$E2E_TMP/run.err"; then
        e2e_check "... and admesh accepts the solid" admesh_accepts "$E2E_TMP/hard.admesh"
    fi
done <<'ROWS'
0.1 0 1\n0.5 0.5 -0.3\n0.1 1 1\n|--caps|not a closed solid: the curve crosses the axis near t = 0.28.
0.2 0.2 1\n0.5 0.5 -1\n0.8 0.4 1\n|--caps|not a closed solid: the weight sum is zero near t = 0.50, where the curve runs off to infinity.
0.3 0.5 1\n0.3 0 1\n0.7 0 1\n0.7 0.5 1\n|--caps|90 vertices, 180 triangles, closed, volume
0.3 0.5 1\n0.3 0 1\n0.7 0 1\n0.7 0.5 1\n||(--caps closes them with a band joining them)
0 0 1\n0.5 1 1\n|--caps|stands on a single point at its lowest z; the vertices next to it are 11.1 mm higher (--flip turns it upside down).
0 0 1\n0.5 1 1\n|--caps --flip --curve-samples 40 --turn-samples 30|hard.curve, 40 x 30 samples, caps, flipped: 
ROWS
e2e_check "... and the flipped cone stands on its base: its tip at the top, z = 0" \
    grep -Eq 'Max Z = +0\.000000' "$E2E_TMP/hard.admesh"
e2e_check "... of which nothing is said" test "$(grep -c 'single point' "$E2E_TMP/run.err")" -eq 0
e2e_pass
