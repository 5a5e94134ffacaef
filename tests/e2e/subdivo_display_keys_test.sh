#!/usr/bin/env bash
# The display switches on poly.obj: "l" lights the model with the material instead of the face
# colour, "w" leaves only the faces' outlines, "n" adds white normal lines that "0" lengthens
# and "9" shortens; each key's other character undoes or repeats it the same way.
source "$E2E_LIB"

e2e_start_display
e2e_start_subdivo

# press STEP KEYSYM...: types the keys and saves STEP.png once the picture has changed from
# the last step's and holds still.
last_step=start
press() {
    local step=$1
    shift
    e2e_key "$wid" "$@"
    e2e_snap "$wid" "$step" "$E2E_TMP/$last_step.png" >/dev/null
    last_step=$step
}
loader_pixels() { e2e_count_color "$E2E_TMP/$1.png" 255 217 102 3; }
white_pixels() { e2e_count_color "$E2E_TMP/$1.png" 255 255 255 3; }
# Pixels darker than 3% grey: the background, and any face drawn black.
dark_pixels() {
    "$E2E_CONVERT" "$E2E_TMP/$1.png" -alpha off -colorspace gray -threshold 3% \
        -format '%[fx:int((1-mean)*w*h+0.5)]\n' info:
}

cp "$E2E_TMP/subdivo-start.png" "$E2E_TMP/start.png"
start_loader=$(loader_pixels start)
start_dark=$(dark_pixels start)

# Lighting: the material replaces the face colour, and the lit model is not dark.
press lit l
e2e_check "'l': no pixel keeps the face colour once lit ($(loader_pixels lit))" \
    test "$(loader_pixels lit)" -lt 100
e2e_check "'l': the lit model is not drawn black ($(dark_pixels lit) dark pixels, $start_dark unlit)" \
    test "$(dark_pixels lit)" -lt $((start_dark + 2000))
press unlit L
e2e_check "'L': unlit again, the picture is the start's" \
    e2e_same_picture "$E2E_TMP/start.png" "$E2E_TMP/unlit.png"

# Wireframe: only outlines keep the face colour.
press wire w
wire_loader=$(loader_pixels wire)
e2e_check "'w': outlines only ($wire_loader face-colour pixels, $start_loader filled)" \
    test "$wire_loader" -gt 200 -a "$wire_loader" -lt $((start_loader / 5))
press filled W
e2e_check "'W': filled again, the picture is the start's" \
    e2e_same_picture "$E2E_TMP/start.png" "$E2E_TMP/filled.png"

# Normal lines: white, unlit; longer after "0" and ")", shorter after "9" and "(".
e2e_check "no white pixel before the normal lines ($(white_pixels start))" test "$(white_pixels start)" -lt 20
press normals n
normal_white=$(white_pixels normals)
e2e_check "'n': white normal lines appear ($normal_white pixels)" test "$normal_white" -gt 150
press longer 0 0 0 0 0 0 0 0 0 0 parenright parenright parenright parenright parenright parenright parenright parenright parenright parenright
longer_white=$(white_pixels longer)
e2e_check "'0' and ')': longer normal lines ($longer_white white pixels, $normal_white before)" \
    test "$longer_white" -gt $((normal_white + 50))
press shorter 9 9 9 9 9 9 9 9 9 9 parenleft parenleft parenleft parenleft parenleft parenleft parenleft parenleft parenleft parenleft
e2e_check "'9' and '(': back to the first length" \
    e2e_same_picture "$E2E_TMP/normals.png" "$E2E_TMP/shorter.png"
press no_normals N
e2e_check "'N': the normal lines are gone" \
    e2e_same_picture "$E2E_TMP/start.png" "$E2E_TMP/no_normals.png"

e2e_check "Subdivo is still running" kill -0 "$E2E_LAST_PID"
e2e_pass
