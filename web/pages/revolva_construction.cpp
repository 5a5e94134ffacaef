// The Revolva page's construction view: the switch and the parameter t that the page's
// controls set, the figures the page writes beside them, and the drawing over both pictures.
// The drawing goes in at the end of each window's display, just before its buffers are
// swapped: the page's link wraps glutSwapBuffers (web/CMakeLists.txt), so that the program's
// display stays as it is and, with the view off, draws what the desktop draws.
#include <GL/freeglut.h>
#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "construction_picture.h"
#include "curve_construction.h"
#include "editor_state.h"
#include "editor_view.h"
#include "editor_window.h"
#include "surface_window.h"
#include "swept_circle.h"

namespace {

struct ConstructionView {
    bool shown = false;
    double t = 0.5;
};

ConstructionView constructionView;

// Asks both windows for a new picture (a picture made over several turns starts again).
void redrawBothWindows() {
    const int current = glutGetWindow();
    for (const int window : {editorWindow, surfaceWindow}) {
        glutSetWindow(window);
        glutPostRedisplay();
    }
    glutSetWindow(current);
}

std::string number(double value) { return formatLabelNumber(value, 2); }

// The weights of each round, rounds apart by " | ".
std::string roundWeights(const CurveConstruction& construction) {
    std::string text;
    for (const std::vector<ConstructionPoint>& round : construction.rounds) {
        if (!text.empty()) text += " | ";
        for (std::size_t i = 0; i < round.size(); ++i)
            text += (i > 0 ? ", " : "") + number(round[i].weight);
    }
    return text;
}

// What the pictures show, in words, for the line under the controls.
std::string constructionFigures() {
    const CurveConstruction construction =
        constructCurvePoint(editorState.generatrix, constructionView.t);
    if (construction.rounds.empty()) return "No control points: nothing to construct.";
    const ConstructionPoint& last = construction.rounds.back()[0];
    const Point3d point = projectedPoint(last);
    std::string text = "At t = " + number(constructionView.t) + ": ";
    if (std::isfinite(point.x) && std::isfinite(point.z))
        text += "the curve point x = " + number(point.x) + ", z = " + number(point.z) +
                ", weight " + number(last.weight) + ".";
    else
        text += "the weight is 0, so the curve point lies at infinity.";
    return text + " Weights, round by round: " + roundWeights(construction) + ".";
}

}  // namespace

extern "C" {

void __real_glutSwapBuffers(void);

// glutSwapBuffers as the program calls it: the construction first, while the view is shown.
void __wrap_glutSwapBuffers(void) {
    if (constructionView.shown) {
        const int window = glutGetWindow();
        if (window == editorWindow)
            drawConstructionInEditor(editorState.generatrix, constructionView.t);
        else if (window == surfaceWindow)
            drawSweptCircle(constructionView.t);
    }
    __real_glutSwapBuffers();
}

// Shows (1) or hides (0) the construction in both pictures.
EMSCRIPTEN_KEEPALIVE void revolvaShowConstruction(int shown) {
    constructionView.shown = shown != 0;
    redrawBothWindows();
}

// Moves the construction to parameter t, kept within [0, 1].
EMSCRIPTEN_KEEPALIVE void revolvaConstructionParameter(double t) {
    constructionView.t = std::isfinite(t) ? std::fmin(1.0, std::fmax(0.0, t)) : 0.5;
    redrawBothWindows();
}

// The curve point of the construction in `point`: x, z and its weight. Returns 1 when it
// is a finite point, 0 for an empty curve or a weight of 0.
EMSCRIPTEN_KEEPALIVE int revolvaConstructionPoint(double* point) {
    const CurveConstruction construction =
        constructCurvePoint(editorState.generatrix, constructionView.t);
    if (construction.rounds.empty()) return 0;
    const ConstructionPoint& last = construction.rounds.back()[0];
    const Point3d p = projectedPoint(last);
    point[0] = p.x;
    point[1] = p.z;
    point[2] = last.weight;
    return std::isfinite(p.x) && std::isfinite(p.z) ? 1 : 0;
}

// The construction in words, into `text` (at most `capacity` bytes with the closing 0, cut
// short if longer); returns its length.
EMSCRIPTEN_KEEPALIVE int revolvaConstructionFigures(char* text, int capacity) {
    if (capacity <= 0) return 0;
    const std::string figures = constructionFigures();
    const std::size_t length = std::min(figures.size(), static_cast<std::size_t>(capacity - 1));
    std::memcpy(text, figures.data(), length);
    text[length] = '\0';
    return static_cast<int>(length);
}

}  // extern "C"
