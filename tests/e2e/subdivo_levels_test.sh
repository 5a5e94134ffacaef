#!/usr/bin/env bash
# The level keys on poly.obj: "+" (and "=") shows level 1 with red faces from faces, green from
# edges and blue from vertices; "-" (and "_") goes back to the loaded model in its colour (1.0,
# 0.85, 0.4); "-" at level 0 changes nothing.
source "$E2E_LIB"

e2e_start_display
e2e_start_subdivo

# Prints "loader red green blue": pixel counts of the four face colours in a screenshot.
face_colors() {
    local shot=$1
    echo "$(e2e_count_color "$shot" 255 217 102 3) $(e2e_count_color "$shot" 255 0 0 3)" \
         "$(e2e_count_color "$shot" 0 255 0 3) $(e2e_count_color "$shot" 0 0 255 3)"
}

# Takes a screenshot named after the step, once it differs from the picture UNLIKE if one is
# given, and sets loader, red, green and blue from it.
shoot() {
    e2e_snap "$wid" "$1" "${2:-}" >/dev/null
    read -r loader red green blue <<<"$(face_colors "$E2E_TMP/$1.png")"
}

shoot level0
base_loader=$loader base_red=$red base_green=$green base_blue=$blue
e2e_check "level 0 shows the loaded model in its colour ($loader pixels)" test "$loader" -gt 20000

e2e_key "$wid" minus
e2e_screenshot "$wid" "$E2E_TMP/minus_at_0.png"
e2e_check "'-' at level 0 leaves the picture as it was" \
    e2e_same_picture "$E2E_TMP/level0.png" "$E2E_TMP/minus_at_0.png"

for raise_key in plus equal; do
    e2e_key "$wid" "$raise_key"
    shoot "level1_$raise_key" "$E2E_TMP/level0.png"
    # The axes are red, green and blue too: each face kind must add far more than they do.
    e2e_check "'$raise_key': red faces from faces ($red pixels, $base_red before)" \
        test "$red" -gt $((base_red + 3000))
    e2e_check "'$raise_key': green faces from edges ($green pixels, $base_green before)" \
        test "$green" -gt $((base_green + 3000))
    e2e_check "'$raise_key': blue faces from vertices ($blue pixels, $base_blue before)" \
        test "$blue" -gt $((base_blue + 3000))
    e2e_check "'$raise_key': no face keeps the loader's colour ($loader pixels)" test "$loader" -lt 100

    lower_key=$([[ $raise_key == plus ]] && echo minus || echo underscore)
    e2e_key "$wid" "$lower_key"
    shoot "level0_$lower_key" "$E2E_TMP/level1_$raise_key.png"
    e2e_check "'$lower_key': back to the loader's colour ($loader pixels, $base_loader at start)" \
        test "$loader" -eq "$base_loader"
done

e2e_check "Subdivo is still running" kill -0 "$E2E_LAST_PID"
e2e_pass
