// The editor's state instance and the edits that both Revolva windows share: the weight of
// the selected point and the two sampling densities.
#include "editor_state.h"

namespace {

constexpr double weightStep = 0.1;

// Adds delta to the selected point's weight; without a selection nothing changes.
void changeSelectedWeight(EditorState& state, double delta) {
    state.selection = positionWithinCurve(state.selection, state.generatrix);
    if (state.selection) state.generatrix.weightAt(*state.selection) += delta;
}

void decreaseDownTo(int& count, int lowest) {
    if (count > lowest) --count;
}

}  // namespace

EditorState editorState;

std::optional<std::size_t> positionWithinCurve(const std::optional<std::size_t>& position,
                                               const GeneratrixCurve& curve) {
    if (position && *position < curve.pointCount()) return position;
    return std::nullopt;
}

bool applySharedEditKey(EditorState& state, unsigned char key) {
    switch (key) {
        case '+':
        case '=': changeSelectedWeight(state, weightStep); return true;
        case '-':
        case '_': changeSelectedWeight(state, -weightStep); return true;
        case '9':
        case '(': decreaseDownTo(state.curveSampleCount, minCurveSampleCount); return true;
        case '0':
        case ')': ++state.curveSampleCount; return true;
        case '7':
        case '&':
            decreaseDownTo(state.revolutionSampleCount, minRevolutionSampleCount);
            return true;
        case '8':
        case '*': ++state.revolutionSampleCount; return true;
        default: return false;
    }
}
