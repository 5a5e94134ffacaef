#!/usr/bin/env bash
# subdivo-export as a user runs it: exit status and one line on the error stream for every kind
# of wrong command line, failed load, refused level and unwritable target, with no file left
# behind; the loader's report kept out of the OBJ text; progress only on a terminal. Then
# poly.obj at level 2 piped into a file that Subdivo loads and shows as the same mesh that it
# shows itself at level 2.
source "$E2E_LIB"
[[ -n "${SUBDIVO_EXPORT_BIN:-}" ]] || e2e_fail "SUBDIVO_EXPORT_BIN is not set"
tool=$SUBDIVO_EXPORT_BIN

work="$E2E_TMP/work"
mkdir -p "$work"
cp "$PROJECT_ROOT"/models/*.obj "$work/"
cd "$work"

# Only the sample models are in the folder (no output, no temporary file).
folder_untouched() {
    [[ "$(ls -A "$work" | tr '\n' ' ')" == "cube.obj grid.obj no_normals.obj poly.obj torus.obj " ]]
}

# --- Wrong command lines: status 2, one line, nothing written --------------------------------
while IFS='|' read -r arguments expected; do
    # shellcheck disable=SC2086  # the arguments are split on purpose
    e2e_run_tool $arguments
    e2e_check "'$arguments': status 2 (got $status)" test "$status" -eq 2
    e2e_check "'$arguments': one line saying '$expected'" e2e_one_error_line "$expected"
    e2e_check "'$arguments': nothing written" folder_untouched
done <<'ROWS'
|no model named
poly.obj cube.obj -o x.obj|one model only; 'cube.obj' is one too many
--colour poly.obj -o x.obj|unknown option '--colour'
poly.obj -l|option '-l' needs a value
-l two poly.obj -o x.obj|the level must be a whole number from 0 up, not 'two'
ROWS
e2e_run_tool -o '' poly.obj
e2e_check "an empty output name: status 2 (got $status)" test "$status" -eq 2
e2e_check "... one line saying so" e2e_one_error_line "the output file name is empty"
status=0
script -qec "$tool poly.obj" /dev/null >"$E2E_TMP/run.err" 2>&1 || status=$?
e2e_check "standard output on a terminal: status 2 (got $status)" test "$status" -eq 2
e2e_check "... and the line says how to name a file" grep -qF -- "-o FILE" "$E2E_TMP/run.err"

e2e_run_tool --help
e2e_check "--help: status 0 and the usage on standard output" \
    grep -q '^Usage: subdivo-export' "$E2E_TMP/run.out"
e2e_run_tool --version
e2e_check "--version: one line with the name" grep -q '^subdivo-export [0-9]' "$E2E_TMP/run.out"

# --- Failures after the command line: status 1, nothing written -----------------------------
e2e_run_tool missing.obj -o x.obj
e2e_check "a model that cannot be opened: status 1 (got $status)" test "$status" -eq 1
e2e_check "... the loader's error and one line of the tool" \
    grep -qF "missing.obj not loaded; nothing written" "$E2E_TMP/run.err"
e2e_check "... nothing written" folder_untouched
e2e_run_tool -q -l 40 cube.obj -o x.obj
e2e_check "a level beyond the record's counts: status 1 (got $status)" test "$status" -eq 1
e2e_check "... one line saying the level was not built" \
    e2e_one_error_line "Subdivision level 40 not built"
e2e_check "... nothing written" folder_untouched
mkdir "$work/taken.obj"
e2e_run_tool -q -l 2 poly.obj -o taken.obj
rmdir "$work/taken.obj"
e2e_check "a target that is a folder: status 1 (got $status)" test "$status" -eq 1
e2e_check "... one line naming it" e2e_one_error_line "cannot write taken.obj"
e2e_check "... no file left, neither temporary nor material library" folder_untouched
# An existing pair stays whole when the library cannot be written.
"$tool" -q -l 1 cube.obj -o pair.obj
cp pair.obj "$E2E_TMP/pair-before.obj"
rm pair.mtl && mkdir pair.mtl
e2e_run_tool -q -l 2 cube.obj -o pair.obj
e2e_check "a library target that is a folder: status 1 (got $status)" test "$status" -eq 1
e2e_check "... one line naming it" e2e_one_error_line "cannot write pair.mtl: Is a directory; nothing written"
e2e_check "... the model file kept as it was" cmp -s pair.obj "$E2E_TMP/pair-before.obj"
rm -r pair.obj pair.mtl
e2e_check "... and no temporary file left" folder_untouched
mkdir "$work/folder.obj"
e2e_run_tool -q folder.obj -o x.obj
rmdir "$work/folder.obj"
e2e_check "a folder as the model: status 1, said so" \
    sh -c "[ $status -eq 1 ] && grep -qF '\"folder.obj\" is a folder' '$E2E_TMP/run.err'"
printf 'v 0 0 0\nv 1 0 0\n' >"$E2E_TMP/points.obj"
e2e_run_tool -q "$E2E_TMP/points.obj" -o x.obj
e2e_check "a model without faces at level 1: status 1 (got $status)" test "$status" -eq 1
e2e_check "... one line saying so" e2e_one_error_line "has no faces: nothing to subdivide; nothing written"
e2e_check "... nothing written" folder_untouched
status=0
(ulimit -f 8 && exec "$tool" -q -l 5 cube.obj -o big.obj) 2>"$E2E_TMP/run.err" || status=$?
e2e_check "a file-size limit reached while writing ends the run (status $status)" \
    test "$status" -ne 0
e2e_check "... and leaves no part of the file behind" folder_untouched
e2e_run_tool -q poly.obj -o /dev/full
e2e_check "a full device: status 1 (got $status)" test "$status" -eq 1
status=0
"$tool" -q poly.obj >/dev/full 2>"$E2E_TMP/run.err" || status=$?
e2e_check "standard output on a full device: status 1 (got $status)" test "$status" -eq 1

# --- Where the text goes ----------------------------------------------------------------------
bytes=$("$tool" -q -l 1 cube.obj -o /dev/stdout | wc -c)
e2e_check "-o /dev/stdout into a pipe: the OBJ text arrives ($bytes bytes)" test "$bytes" -gt 1000
bytes=$("$tool" -l 1 cube.obj -o /dev/stdout 2>"$work/err.txt" | wc -c)
e2e_check "... with the error stream in a file too ($bytes bytes)" test "$bytes" -gt 1000
e2e_check "... which holds the report, not the OBJ, and gets no library" \
    sh -c "grep -q 'first pass' '$work/err.txt' && ! grep -q '^v ' '$work/err.txt' &&
           [ ! -e '$work/err.txt.mtl' ]"
rm "$work/err.txt"
cp cube.obj self.obj
e2e_run_tool -q -l 1 self.obj -o self.obj
e2e_check "the model file as the output: written, with a warning" \
    sh -c "[ $status -eq 0 ] && grep -q 'self.obj is the model file itself' '$E2E_TMP/run.err' &&
           grep -q '^f ' self.obj"
rm self.obj self.mtl
e2e_check "... no file left beside it" folder_untouched

# --- Reports and progress ----------------------------------------------------------------------
e2e_run_tool -l 1 poly.obj
e2e_check "to standard output: status 0" test "$status" -eq 0
e2e_check "... the OBJ text starts with its comment" \
    test "$(head -c 16 "$E2E_TMP/run.out")" = "# subdivo-export"
report_on_error_stream() {
    grep -q 'first pass results' "$E2E_TMP/run.err" && ! grep -q 'pass results' "$E2E_TMP/run.out"
}
e2e_check "... the loader's report is on the error stream, not in the text" report_on_error_stream
e2e_run_tool -q -l 1 poly.obj -o poly1.obj
e2e_check "--quiet: nothing on the error stream" test ! -s "$E2E_TMP/run.err"
e2e_check "... the model and its material library written" test -s poly1.obj -a -s poly1.mtl
e2e_check "... the model names its library" grep -qx "mtllib poly1.mtl" poly1.obj
rm -f poly1.obj poly1.mtl
script -qec "$tool -l 4 cube.obj -o cube4.obj" /dev/null >"$E2E_TMP/terminal.txt" 2>&1
e2e_check "on a terminal the steps show" grep -qF "step 4 of 4, 1538 faces" "$E2E_TMP/terminal.txt"
e2e_check "... and the writing" grep -qF "writing, 1538 of 1538 faces" "$E2E_TMP/terminal.txt"
e2e_run_tool -l 4 cube.obj -o cube4.obj
e2e_check "off a terminal no progress shows" sh -c "! grep -q 'step\|writing' '$E2E_TMP/run.err'"
rm -f cube4.obj cube4.mtl

# --- The written level in Subdivo ---------------------------------------------------------------
"$tool" "$PROJECT_ROOT/models/poly.obj" --level 2 >"$E2E_TMP/poly2.obj" 2>/dev/null
vertices=$(grep -c '^v ' "$E2E_TMP/poly2.obj")
faces=$(grep -c '^f ' "$E2E_TMP/poly2.obj")

e2e_start_display
e2e_start_subdivo
e2e_key "$wid" plus plus
e2e_screenshot "$wid" "$E2E_TMP/level2.png" "$E2E_TMP/subdivo-start.png"
e2e_stop "$E2E_LAST_PID"
e2e_launch exported "$SUBDIVO_BIN" "$E2E_TMP/poly2.obj"
wid=$(e2e_wait_window '^Superf')
e2e_wait_drawn "$wid" "$E2E_TMP/exported.png"
e2e_check "Subdivo reads the written level: $vertices vertices, $faces faces" \
    sh -c "grep -qx '   \* $vertices vertices' '$E2E_TMP/exported.out' &&
           grep -qx '   \* $faces faces' '$E2E_TMP/exported.out'"
e2e_check "... with nothing on the error stream" test ! -s "$E2E_TMP/exported.err"
shown=$(e2e_count_color "$E2E_TMP/exported.png" 255 217 102 3)
kinds=0
for color in "255 0 0" "0 255 0" "0 0 255"; do
    # shellcheck disable=SC2086  # the colour's three numbers
    kinds=$((kinds + $(e2e_count_color "$E2E_TMP/level2.png" $color 3)))
done
# The same mesh covers the same pixels; the level's colours also count the axes' few pixels.
e2e_check "it covers what level 2 covers ($shown pixels in its colour, $kinds in the kinds')" \
    test "$shown" -gt 20000 -a $((kinds - shown)) -ge 0 -a $((kinds - shown)) -lt $((shown / 50))
e2e_check "Subdivo is still running" kill -0 "$E2E_LAST_PID"
e2e_pass
