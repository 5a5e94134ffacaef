// The plain data of the frame every 3D window shares: the window's size, the aspect ratio of
// its projection and the lines of the ground grid.
#pragma once

#include <array>

#include "scene_profile.h"

// The 3D window's size in pixels; written only by reshapeScene3d.
extern int windowWidth;
extern int windowHeight;

// The aspect ratio for the projection; a collapsed window (height 0 or less) counts as one
// pixel high, so the ratio stays finite.
double perspectiveAspect(int width, int height);

// The ground grid: a square of side gridSize centred on the origin, cut into gridDivisions
// strips each way, so gridDivisions + 1 lines run in each direction.
constexpr int gridDivisions = 30;
constexpr double gridSize = 5.0;
constexpr double gridHalfSize = gridSize / 2;
constexpr int gridLineCount = 2 * (gridDivisions + 1);

// One line of the ground grid, as two single-precision end points.
struct GridLine {
    std::array<float, 3> from;
    std::array<float, 3> to;
};
using GroundGrid = std::array<GridLine, gridLineCount>;

// The lines of the ground grid in drawing order, in the plane normal to the up axis: for
// i = 0..gridDivisions, the line at offset c_i along the first axis, then the one at c_i
// along the second.
GroundGrid groundGridLines(UpAxis upAxis);
