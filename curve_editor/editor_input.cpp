// Mouse and key edits of the generatrix editor, free of GLUT so that tests drive them directly.
#include "editor_input.h"

#include <cmath>

namespace {

// Rounds to single precision and keeps the result within [0, 1].
double roundAndClampUnit(double value) {
    const double rounded = static_cast<float>(value);
    if (rounded < 0.0) return 0.0;
    if (rounded >= 1.0) return 1.0;
    return rounded;
}

void recordLastEvent(EditorState& state, int px, int py) {
    state.dragLastX = px;
    state.dragLastY = editorWindowSize - py;
}

}  // namespace

Point3d curvePointAtPixel(int px, int py) {
    return {1.0 - px / editorPixelSpan, 0.0, (editorWindowSize - py) / editorPixelSpan};
}

std::optional<std::size_t> pickPointAt(const GeneratrixCurve& curve, int px, int py) {
    const double mouseX = 1.0 - static_cast<float>(px / editorPixelSpan);
    const double mouseZ = static_cast<float>((editorWindowSize - py) / editorPixelSpan);
    for (std::size_t i = 0; i < curve.pointCount(); ++i) {
        const Point3d& p = curve.controlPoints[i];
        if (std::fabs(p.x - mouseX) <= pickTolerance && std::fabs(p.z - mouseZ) <= pickTolerance)
            return i;
    }
    return std::nullopt;
}

void pressLeftButton(EditorState& state, int px, int py) {
    const std::optional<std::size_t> hit = pickPointAt(state.generatrix, px, py);
    if (!hit) return;
    state.selection = hit;
    state.dragPoint = hit;
    recordLastEvent(state, px, py);
}

void pressMiddleButton(EditorState& state, int px, int py) {
    const std::optional<std::size_t> hit = pickPointAt(state.generatrix, px, py);
    if (!hit) return;
    if (state.selection == hit) state.selection.reset();
    state.generatrix.removePoint(*hit);
    state.selection = positionWithinCurve(state.selection, state.generatrix);
    state.dragPoint = positionWithinCurve(state.dragPoint, state.generatrix);
}

void pressRightButton(EditorState& state, int px, int py) {
    state.generatrix.appendPoint(curvePointAtPixel(px, py), 1.0);
}

void releaseButton(EditorState& state) { state.dragPoint.reset(); }

void dragTo(EditorState& state, int px, int py) {
    state.dragPoint = positionWithinCurve(state.dragPoint, state.generatrix);
    if (state.dragPoint) {
        Point3d& point = state.generatrix.controlPoints[*state.dragPoint];
        point.x = roundAndClampUnit(point.x - (px - state.dragLastX) / editorPixelSpan);
        const int upwardsY = editorWindowSize - py;
        point.z = roundAndClampUnit(point.z + (upwardsY - state.dragLastY) / editorPixelSpan);
    }
    recordLastEvent(state, px, py);
}

CursorChoice cursorForHover(const EditorState& state, int px, int py) {
    if (state.generatrix.pointCount() == 0) return CursorChoice::unchanged;
    return pickPointAt(state.generatrix, px, py) ? CursorChoice::spray : CursorChoice::arrow;
}

bool applyEditorKey(EditorState& state, unsigned char key) {
    if (applySharedEditKey(state, key)) return true;
    switch (key) {
        case 'q':
        case 'Q': state.showControlPolygon = !state.showControlPolygon; return true;
        case 'w':
        case 'W': state.showControlPoints = !state.showControlPoints; return true;
        case 'e':
        case 'E': state.showLabels = !state.showLabels; return true;
        default: return false;
    }
}

void placeInitialPoints(EditorState& state) {
    state.generatrix.appendPoint({0.2, 0.0, 0.2}, 1.0);
    state.generatrix.appendPoint({0.8, 0.0, 0.8}, 1.0);
    state.selection = 0;
    state.dragPoint.reset();
}
