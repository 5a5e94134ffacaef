// The swept circle over the surface's picture, from the surface's own evaluation.
#include "swept_circle.h"

#include <GL/freeglut.h>

#include <cmath>
#include <vector>

#include "surface_evaluation.h"

namespace {

constexpr int stepsPerQuarterTurn = 24;

// The surface's points at curve parameter t for u from 0 to 4; empty where the weight sum is
// zero and the point lies at infinity.
std::vector<Point3d> sweptPath(double t) {
    std::vector<Point3d> path;
    for (int k = 0; k <= 4 * stepsPerQuarterTurn; ++k) {
        double weightSum = 0.0;
        const Point3d p = surfacePoint(static_cast<double>(k) / stepsPerQuarterTurn, t, weightSum);
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return {};
        path.push_back(p);
    }
    return path;
}

void drawPath(const std::vector<Point3d>& path) {
    glBegin(GL_LINE_STRIP);
    for (const Point3d& p : path) glVertex3d(p.x, p.y, p.z);
    glEnd();
}

// A small cross of three axis-parallel strokes at the curve point itself (u = 0).
void drawPointCross(const Point3d& p) {
    constexpr double reach = 0.04;
    glBegin(GL_LINES);
    glVertex3d(p.x - reach, p.y, p.z);
    glVertex3d(p.x + reach, p.y, p.z);
    glVertex3d(p.x, p.y - reach, p.z);
    glVertex3d(p.x, p.y + reach, p.z);
    glVertex3d(p.x, p.y, p.z - reach);
    glVertex3d(p.x, p.y, p.z + reach);
    glEnd();
}

}  // namespace

void drawSweptCircle(double t) {
    const std::vector<Point3d> path = sweptPath(t);
    if (path.empty()) return;
    glLineWidth(3.0f);
    // First all of it, dim and over everything; then bright where the surface is behind it.
    glDisable(GL_DEPTH_TEST);
    glColor3f(0.45f, 0.45f, 0.45f);
    drawPath(path);
    glEnable(GL_DEPTH_TEST);
    glColor3f(1.0f, 1.0f, 1.0f);
    drawPath(path);
    glDisable(GL_DEPTH_TEST);
    drawPointCross(path.front());
    glEnable(GL_DEPTH_TEST);
    glLineWidth(1.0f);
}
