// Curves shared by the surface tests: the editor's start curve, seeded random curves, and
// the surface revolved from a curve.
#pragma once

#include <random>

#include "generatrix_curve.h"
#include "revolution_surface.h"

// The generatrix the editor starts with: (0.2, 0, 0.2) and (0.8, 0, 0.8), weights 1.
inline GeneratrixCurve startCurve() {
    GeneratrixCurve curve;
    curve.appendPoint({0.2, 0.0, 0.2}, 1.0);
    curve.appendPoint({0.8, 0.0, 0.8}, 1.0);
    return curve;
}

// A curve of `count` points in the editor's unit square with weights drawn from
// [minWeight, maxWeight].
inline GeneratrixCurve randomCurve(std::mt19937& random, int count, double minWeight,
                                   double maxWeight) {
    std::uniform_real_distribution<double> coordinate(0.0, 1.0);
    std::uniform_real_distribution<double> weight(minWeight, maxWeight);
    GeneratrixCurve curve;
    for (int i = 0; i < count; ++i) {
        const double x = coordinate(random);
        const double z = coordinate(random);
        curve.appendPoint({x, 0.0, z}, weight(random));
    }
    return curve;
}

// The surface revolved from `curve`, which must outlive it.
inline RevolutionSurface builtFrom(const GeneratrixCurve& curve) {
    RevolutionSurface surface = emptyRevolutionSurface();
    surface.source = &curve;
    rebuildSurface(surface);
    return surface;
}
