#!/usr/bin/env bash
# The programs of the Debian package as installed, unpacked under $INSTALL_ROOT (dpkg -x): each
# desktop entry starts its program from a folder that holds its files; started there, Revolva
# opens both windows and shows its surface lit by the sample controles.txt, Subdivo shows
# poly.obj, subdivo-export writes a level of a sample model and revolva-export the mesh of a
# sample curve. Run by scripts/package.sh.
source "$E2E_LIB"
[[ -d "${INSTALL_ROOT:-}/usr/bin" ]] || e2e_fail "INSTALL_ROOT does not hold an unpacked package"
bin="$INSTALL_ROOT/usr/bin"
applications="$INSTALL_ROOT/usr/share/applications"

# The folder a desktop entry starts its program in, within the scratch root.
start_folder() {
    echo "$INSTALL_ROOT$(sed -n 's/^Path=//p' "$applications/$1.desktop")"
}
e2e_check "Revolva's entry starts it in the folder of controles.txt" \
    test -f "$(start_folder revolva)/controles.txt"
e2e_check "Subdivo's entry starts it in the folder of poly.obj" \
    test -f "$(start_folder subdivo)/poly.obj"
for entry in revolva subdivo; do
    exec_line=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$applications/$entry.desktop")
    e2e_check "$entry's entry runs a program of the package ($exec_line)" \
        test -x "$INSTALL_ROOT$exec_line"
done

e2e_start_display

cd "$(start_folder revolva)"
e2e_launch revolva "$bin/Revolva"
surface=$(e2e_wait_window '^Superf')
editor=$(e2e_wait_window '^Geratriz')
e2e_wait_drawn "$surface" "$E2E_TMP/revolva_surface.png"
e2e_wait_drawn "$editor" "$E2E_TMP/revolva_editor.png"
lit=$(e2e_drawn_pixels "$E2E_TMP/revolva_surface.png")
e2e_check "Revolva's surface window shows the lit surface ($lit pixels drawn)" test "$lit" -gt 40000
drawn=$(e2e_drawn_pixels "$E2E_TMP/revolva_editor.png")
e2e_check "Revolva's editor window is not blank ($drawn pixels drawn)" test "$drawn" -gt 500
e2e_stop "$E2E_LAST_PID"

cd "$(start_folder subdivo)"
e2e_launch subdivo "$bin/Subdivo"
wid=$(e2e_wait_window '^Superf')
e2e_wait_drawn "$wid" "$E2E_TMP/subdivo.png"
model=$(e2e_count_color "$E2E_TMP/subdivo.png" 255 217 102 3)
e2e_check "Subdivo shows poly.obj in the loader's colour ($model pixels)" test "$model" -gt 20000
e2e_stop "$E2E_LAST_PID"

"$bin/subdivo-export" -q --level 3 poly.obj -o "$E2E_TMP/poly-3.obj"
e2e_check "subdivo-export writes poly.obj at level 3: 642 faces" \
    test "$(grep -c '^f ' "$E2E_TMP/poly-3.obj")" -eq 642
e2e_check "... with its material library" grep -q '^newmtl from_edge' "$E2E_TMP/poly-3.mtl"

e2e_check "Subdivo's entry opens OBJ files" \
    grep -qx 'MimeType=model/obj;' "$applications/subdivo.desktop"
cd "$(start_folder revolva)"
"$bin/revolva-export" -q goblet.curve -o "$E2E_TMP/goblet.stl"
e2e_check "revolva-export writes the sample goblet as a closed STL" \
    sh -c "admesh '$E2E_TMP/goblet.stl' | grep -Eq 'Total disconnected facets +: +0 '"
e2e_pass
