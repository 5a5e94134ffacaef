// The surface swept by turning the generatrix once about the z axis, held as four
// quarter-turn rational Bezier patches of three rows each, rebuilt from the curve's
// control polygon on every surface frame.
#pragma once

#include <vector>

#include "generatrix_curve.h"

// Rows of one quarter-turn patch: the ring at the start angle, the corner row, the ring at
// the end angle. Each row is an independent curve with one point per generatrix point.
using SurfacePatch = std::vector<GeneratrixCurve>;

struct RevolutionSurface {
    const GeneratrixCurve* source = nullptr;  // the revolved curve; not owned
    std::vector<SurfacePatch> patches;        // 4 patches of 3 rows, patch k from k * 90 degrees
};

// Weight factor of a corner row: 0.71 in single precision (not cos 45 degrees), which makes
// each quarter bulge slightly outwards.
constexpr double cornerWeightFactor = static_cast<double>(0.71f);
// Weight factor of a ring row: it keeps the weights of the corner row before it.
constexpr double ringWeightFactor = 1.0;
constexpr int surfacePatchCount = 4;
constexpr int patchRowCount = 3;

// The program's surface; starts as 4 x 3 empty rows with no source.
extern RevolutionSurface revolutionSurface;

// A surface of 4 patches of 3 empty rows and no source.
RevolutionSurface emptyRevolutionSurface();

// A copy of `curve` with each point (x, y, z) moved to (x, y + x, z) when addXToY is set,
// else to (x - y, y, z), and each weight multiplied by weightFactor.
GeneratrixCurve shiftCurve(const GeneratrixCurve& curve, bool addXToY, double weightFactor);
// The two values of addXToY, named after the axis along which they move a point.
constexpr bool moveAlongY = true;   // (x, y, z) to (x, y + x, z)
constexpr bool moveAlongX = false;  // (x, y, z) to (x - y, y, z)

// Replaces all 12 rows of `surface` from its source; a surface without a source is left as
// it is. Restores the 4 x 3 shape if it was lost.
void rebuildSurface(RevolutionSurface& surface);
// Rebuilds `revolutionSurface` from the curve it points at.
void rebuildSurface();

// Weight factor of a corner row of the round surface: cos 45 degrees, which makes every
// quarter turn an exact circular arc.
constexpr double roundCornerWeightFactor = 0.70710678118654752440;

// Replaces the rows of `surface` from its source as a true surface of revolution: the ring
// rows keep the generatrix's weights (each reached by two shifts of factor 1) and each corner
// row is shifted from the ring before it with roundCornerWeightFactor, so the rows of every
// patch carry 1, cos 45 degrees, 1. The control points are those of rebuildSurface; only the
// weights differ. A surface without a source is left as it is.
void rebuildRoundSurface(RevolutionSurface& surface);
