#!/usr/bin/env bash
# Subdivo's command line: one argument names the model; two are refused with status 1; a
# missing file and broken files end the program with status 1 and the loader's message.
source "$E2E_LIB"
[[ -n "${SUBDIVO_BIN:-}" ]] || e2e_fail "SUBDIVO_BIN is not set"

e2e_start_display
cp "$PROJECT_ROOT"/models/*.obj "$E2E_TMP/"
cd "$E2E_TMP"

# Runs Subdivo with the arguments and waits for it to end; its output is in $E2E_TMP/NAME.*.
run_to_exit() {
    local name=$1
    shift
    e2e_launch "$name" "$SUBDIVO_BIN" "$@"
    e2e_wait_exit "$E2E_LAST_PID" 20
}

run_to_exit two a.obj b.obj
e2e_check "two arguments end with status 1 (got $E2E_EXIT_STATUS)" test "$E2E_EXIT_STATUS" -eq 1
e2e_check "two arguments print only 'Erro: Muitos argumentos' (got: $(cat "$E2E_TMP/two.out"))" \
    test "$(cat "$E2E_TMP/two.out")" = "Erro: Muitos argumentos"

run_to_exit missing nothere.obj
e2e_check "a missing file ends with status 1 (got $E2E_EXIT_STATUS)" test "$E2E_EXIT_STATUS" -eq 1
e2e_check "a missing file prints the model notice" \
    test "$(cat "$E2E_TMP/missing.out")" = "Modelo: nothere.obj"
e2e_check "a missing file is named on the error stream (got: $(cat "$E2E_TMP/missing.err"))" \
    grep -Fxq 'Error: couldn'"'"'t open "nothere.obj"!' "$E2E_TMP/missing.err"

printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2\n' >"$E2E_TMP/two_corners.obj"
run_to_exit two_corners two_corners.obj
e2e_check "a face of two corners ends with status 1 (got $E2E_EXIT_STATUS)" test "$E2E_EXIT_STATUS" -eq 1
e2e_check "a face of two corners gives the loader's message (got: $(cat "$E2E_TMP/two_corners.err"))" \
    grep -Fxq 'Error: a face must have at least 3 vertices!' "$E2E_TMP/two_corners.err"

printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 7\n' >"$E2E_TMP/bad_index.obj"
run_to_exit bad_index bad_index.obj
e2e_check "an index past the vertices ends with status 1 (got $E2E_EXIT_STATUS)" test "$E2E_EXIT_STATUS" -eq 1
e2e_check "an index past the vertices is named with its line (got: $(cat "$E2E_TMP/bad_index.err"))" \
    grep -Fxq 'Error: face on line 4 refers to vertex 7, but the file has only 3!' "$E2E_TMP/bad_index.err"

e2e_launch torus "$SUBDIVO_BIN" torus.obj
e2e_wait_window '^Superf' >/dev/null
e2e_settle
e2e_check "one argument prints 'Modelo: torus.obj' before the report" \
    test "$(head -n 2 "$E2E_TMP/torus.out")" = "$(printf 'Modelo: torus.obj\nfirst pass results: found')"
e2e_check "the torus's 128 faces are read" grep -Fxq '   * 128 faces' "$E2E_TMP/torus.out"
e2e_check "Subdivo keeps running with a good model" kill -0 "$E2E_LAST_PID"

# Tabs after "f" do not hide the face from the count, but do not separate its corners either.
printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\nf\t1\t2\t3\n' >"$E2E_TMP/tab_face.obj"
run_to_exit tab_face tab_face.obj
e2e_check "a tab-separated face ends with status 1 (got $E2E_EXIT_STATUS)" test "$E2E_EXIT_STATUS" -eq 1
e2e_check "a tab-separated face gives the loader's message (got: $(cat "$E2E_TMP/tab_face.err"))" \
    grep -Fxq 'Error: a face must have at least 3 vertices!' "$E2E_TMP/tab_face.err"
e2e_pass
