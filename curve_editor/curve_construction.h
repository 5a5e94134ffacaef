// The rational de Casteljau construction of the generatrix at one parameter, in homogeneous
// form: each control point lifted to (w x, w y, w z, w), then, round after round, each pair of
// neighbours blended (1 - t) : t, until one homogeneous point is left, whose projection is the
// curve point. Every intermediate point keeps its weight, so a view can show what a weight does.
#pragma once

#include <vector>

#include "generatrix_curve.h"

// A point of the construction in homogeneous form: the weighted point and its weight. Named
// apart from the surface's HomogeneousPoint (surface_evaluation.h): both live in one program.
struct ConstructionPoint {
    Point3d weighted;
    double weight;
};

// rounds[0] holds the lifted control points; round k holds one point fewer than round k - 1;
// the last round holds the one point that projects to the curve point. Empty for an empty curve.
struct CurveConstruction {
    std::vector<std::vector<ConstructionPoint>> rounds;
};

CurveConstruction constructCurvePoint(const GeneratrixCurve& curve, double t);

// The point a homogeneous point stands for: weighted / weight. Not guarded: a zero weight
// gives non-finite coordinates, as the curve itself does where its weight sum is zero.
Point3d projectedPoint(const ConstructionPoint& point);
