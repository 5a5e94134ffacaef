// What the surface window's keys do to the shared editor state and the window's own
// toggles, kept apart from GLUT so that it can be exercised without a display.
#pragma once

#include "editor_state.h"

// The weight and sample-count keys shared with the editor, "w"/"W" toggling wireframeMode and
// "k"/"K" toggling culling. Returns true when the key is one of them; other keys change nothing.
bool applySurfaceKey(EditorState& state, bool& wireframeMode, bool& culling, unsigned char key);
