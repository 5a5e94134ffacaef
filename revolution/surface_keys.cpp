// Keys of the surface window and the toggles they change.
#include "surface_keys.h"

SurfaceToggles surfaceToggles;

bool applySurfaceKey(EditorState& state, bool& wireframeMode, bool& culling, unsigned char key) {
    if (applySharedEditKey(state, key)) return true;
    switch (key) {
        case 'w':
        case 'W': wireframeMode = !wireframeMode; return true;
        case 'k':
        case 'K': culling = !culling; return true;
        default: return false;
    }
}
