// The surface window's own display toggles and what its keys do to them and to the shared
// editor state, kept apart from GLUT so that it can be exercised without a display.
#pragma once

#include "editor_state.h"

// How the surface window draws the surface; both start off.
struct SurfaceToggles {
    bool wireframe = false;        // polygons as lines instead of filled
    bool backFaceCulling = false;  // back faces culled while the surface is drawn
};

// The surface window's toggles: changed by its keys, read by each surface frame.
extern SurfaceToggles surfaceToggles;

// The weight and sample-count keys shared with the editor, "w"/"W" toggling wireframeMode and
// "k"/"K" toggling culling. Returns true when the key is one of them; other keys change nothing.
bool applySurfaceKey(EditorState& state, bool& wireframeMode, bool& culling, unsigned char key);
