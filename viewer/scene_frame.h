// The frame every 3D window shares: one-time GL set-up, the reshape handler that keeps
// viewport and perspective in step with the window, and the ground grid and axes.
#pragma once

#include <array>

#include "scene_profile.h"

// The 3D window's size in pixels; written only by reshapeScene3d.
extern int windowWidth;
extern int windowHeight;

// The aspect ratio for the projection; a collapsed window (height 0 or less) counts as one
// pixel high, so the ratio stays finite.
double perspectiveAspect(int width, int height);

// One line of the ground grid, as two single-precision end points.
struct GridLine {
    std::array<float, 3> from;
    std::array<float, 3> to;
};
// The 62 lines of the ground grid, in drawing order (pairs for i = 0..30), in the plane
// normal to the up axis, covering the square from -2.5 to 2.5.
std::array<GridLine, 62> groundGridLines(UpAxis upAxis);

// One-time GL set-up of a 3D window, ending with the program's own set-up step.
void initScene3d();
// GLUT reshape callback of a 3D window.
void reshapeScene3d(int width, int height);
// Reference objects, drawn unlit right after the camera transform.
void drawGroundGrid();
void drawAxes();
