// The construction over the editor's picture, drawn with the GL 1.1 calls the editor uses.
// Points are drawn where they project (weighted point / weight); a point whose weight is 0
// stands at infinity and is left out, with the lines that would reach it.
#include "construction_picture.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "curve_construction.h"
#include "editor_input.h"
#include "editor_view.h"

namespace {

// One colour a round, again from the fifth round on: apart from the editor's green polygon,
// yellow and red markers and blue curve and labels, and bright on its black.
constexpr float roundColours[][3] = {{1.0f, 0.6f, 0.2f},
                                     {0.3f, 0.9f, 1.0f},
                                     {1.0f, 0.45f, 0.85f},
                                     {0.75f, 1.0f, 0.35f}};
constexpr std::size_t roundColourCount = sizeof roundColours / sizeof roundColours[0];
constexpr float curvePointColour[] = {1.0f, 1.0f, 1.0f};

// The unit square spans the window, so one pixel is this long.
constexpr double pixel = 1.0 / editorWindowSize;
constexpr int glyphWidth = 8;  // GLUT_BITMAP_8_BY_13
constexpr int glyphHeight = 13;

struct ShownPoint {
    WindowPoint at;
    double weight;
    bool finite;
};

std::vector<ShownPoint> shownRound(const std::vector<ConstructionPoint>& round) {
    std::vector<ShownPoint> shown;
    for (const ConstructionPoint& point : round) {
        const Point3d projected = projectedPoint(point);
        const bool finite = std::isfinite(projected.x) && std::isfinite(projected.z);
        shown.push_back({windowPosition(projected), point.weight, finite});
    }
    return shown;
}

void filledSquare(const WindowPoint& at, double halfSizeInPixels) {
    const double h = halfSizeInPixels * pixel;
    glBegin(GL_QUADS);
    glVertex2d(at.x - h, at.y - h);
    glVertex2d(at.x + h, at.y - h);
    glVertex2d(at.x + h, at.y + h);
    glVertex2d(at.x - h, at.y + h);
    glEnd();
}

// The segments between neighbours of one round: the points of the next round lie on them.
void drawRoundLines(const std::vector<ShownPoint>& round, const float* colour) {
    glColor3fv(colour);
    glBegin(GL_LINES);
    for (std::size_t i = 0; i + 1 < round.size(); ++i) {
        if (!round[i].finite || !round[i + 1].finite) continue;
        glVertex2d(round[i].at.x, round[i].at.y);
        glVertex2d(round[i + 1].at.x, round[i + 1].at.y);
    }
    glEnd();
}

// "w=0.85" above and right of the point on a black box, so that lines under it do not blur
// it; moved to the other side where it would leave the window.
void drawWeightLabel(const ShownPoint& point, const float* colour) {
    const std::string text = "w=" + formatLabelNumber(point.weight, 2);
    const double width = (glyphWidth * static_cast<double>(text.size())) * pixel;
    double left = point.at.x + 8 * pixel;
    double baseline = point.at.y + 7 * pixel;
    if (left + width > 1.0) left = point.at.x - 8 * pixel - width;
    if (baseline + glyphHeight * pixel > 1.0) baseline = point.at.y - 18 * pixel;
    glColor3f(0.0f, 0.0f, 0.0f);
    glBegin(GL_QUADS);
    glVertex2d(left - 2 * pixel, baseline - 4 * pixel);
    glVertex2d(left + width + 2 * pixel, baseline - 4 * pixel);
    glVertex2d(left + width + 2 * pixel, baseline + 12 * pixel);
    glVertex2d(left - 2 * pixel, baseline + 12 * pixel);
    glEnd();
    glColor3fv(colour);
    glRasterPos2f(static_cast<float>(left), static_cast<float>(baseline));
    for (const char c : text) glutBitmapCharacter(GLUT_BITMAP_8_BY_13, c);
}

void drawRoundPoints(const std::vector<ShownPoint>& round, const float* colour) {
    for (const ShownPoint& point : round) {
        if (!point.finite) continue;
        glColor3fv(colour);
        filledSquare(point.at, 4);
        drawWeightLabel(point, colour);
    }
}

// The curve point: larger, white, ringed in black to stand out on the lines through it.
void drawCurvePoint(const ShownPoint& point) {
    if (!point.finite) return;
    glColor3f(0.0f, 0.0f, 0.0f);
    filledSquare(point.at, 8);
    glColor3fv(curvePointColour);
    filledSquare(point.at, 6);
    drawWeightLabel(point, curvePointColour);
}

}  // namespace

void drawConstructionInEditor(const GeneratrixCurve& curve, double t) {
    const CurveConstruction construction = constructCurvePoint(curve, t);
    if (construction.rounds.size() < 2) return;  // one point or none: nothing is blended
    std::vector<std::vector<ShownPoint>> rounds;
    for (const std::vector<ConstructionPoint>& round : construction.rounds)
        rounds.push_back(shownRound(round));
    const std::size_t last = rounds.size() - 1;
    // Round 0 is the control polygon, which the editor draws (and labels) itself.
    glLineWidth(2.0f);
    for (std::size_t k = 1; k < last; ++k)
        drawRoundLines(rounds[k], roundColours[(k - 1) % roundColourCount]);
    glLineWidth(1.0f);
    for (std::size_t k = 1; k < last; ++k)
        drawRoundPoints(rounds[k], roundColours[(k - 1) % roundColourCount]);
    drawCurvePoint(rounds[last][0]);
}
