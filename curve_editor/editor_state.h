// The state of the generatrix editor and the edits that change it. The GLUT callbacks of
// both Revolva windows translate their input into these functions; unit tests call them
// directly, without a display.
#pragma once

#include <cstddef>
#include <optional>

#include "generatrix_curve.h"

// The fewest samples the keys allow along the generatrix and around the axis.
constexpr int minCurveSampleCount = 2;
constexpr int minRevolutionSampleCount = 5;

struct EditorState {
    GeneratrixCurve generatrix;            // the edited curve
    std::optional<std::size_t> selection;  // position whose weight the weight keys change
    std::optional<std::size_t> dragPoint;  // position being dragged
    int dragLastX = 0;                     // mouse x at the last hit or motion event
    int dragLastY = 0;                     // window height minus the mouse y at that event
    bool showControlPolygon = true;
    bool showControlPoints = true;
    bool showLabels = true;
    int curveSampleCount = 10;       // samples along the generatrix, never below 2
    int revolutionSampleCount = 10;  // samples around the axis, never below 5
};

// The editor's state, which the surface window reads and changes too.
extern EditorState editorState;

// The weight and sample-count keys that both windows share ("+", "=", "-", "_", "9", "(",
// "0", ")", "7", "&", "8", "*"). Returns true when the key is one of them.
bool applySharedEditKey(EditorState& state, unsigned char key);

// The selection or drag position when it still lies within the curve, else none: positions
// are not references, so a removal can leave one pointing past the end.
std::optional<std::size_t> positionWithinCurve(const std::optional<std::size_t>& position,
                                               const GeneratrixCurve& curve);
