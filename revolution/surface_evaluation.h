// Points, weight sums and unit normals of the surface of revolution: the turning parameter
// u in [0, 4] picks one quarter-turn patch, which is evaluated as a rational tensor-product
// Bezier patch; its normal comes in closed form from homogeneous sub-net sums.
#pragma once

#include <cstddef>
#include <vector>

#include "point3d.h"
#include "revolution_surface.h"

// A control point in homogeneous form (w x, w y, w z, w).
struct HomogeneousPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double w = 0.0;
};

// The patch that owns turning parameter u and the parameter s within it.
struct PatchParameter {
    std::size_t patch;
    double s;
};

// Normals are normalised only when longer than this; shorter ones are returned as computed.
constexpr double shortestNormalizedLength = 1e-8;

// Patch k owns (k, k + 1], patch 0 owns [0, 1]: a boundary belongs to the lower patch.
// Parameters below 0 extend patch 0 and those above 4 (or not a number) extend patch 3.
PatchParameter selectPatch(double u);

// The signed 3 x 3 minors of the rows P, Q, R; for w = 1 this is (Q - P) x (R - P).
Point3d tripleProduct(const HomogeneousPoint& p, const HomogeneousPoint& q,
                      const HomogeneousPoint& r);

// The patch point at (s, v); weightSum receives the denominator, sign included. Rows must
// have equal length. A zero weight sum gives non-finite coordinates.
Point3d patchPoint(const SurfacePatch& patch, double s, double v, double& weightSum);
// The patch normal at (s, v): along (d/ds x d/dv) where the weight sum is positive, of unit
// length unless shorter than shortestNormalizedLength (then returned unnormalised).
Point3d patchNormal(const SurfacePatch& patch, double s, double v);

// patchPoint from basis values already at hand: basisS[i] = bernstein(rows - 1, i, s) for
// every row i, basisV[j] = bernstein(N - 1, j, v) for every column j.
Point3d patchPointFromBasis(const SurfacePatch& patch, const double* basisS, const double* basisV,
                            double& weightSum);

// The control points of a patch in homogeneous form, row after row.
struct HomogeneousNet {
    int rows = 0;
    int columns = 0;
    std::vector<HomogeneousPoint> points;  // point (i, j) at i * columns + j
};
// The homogeneous net of `patch`, whose rows must have equal length.
HomogeneousNet homogeneousNet(const SurfacePatch& patch);
// patchNormal from the patch's homogeneous net and basis values one degree lower:
// basisS1[i] = bernstein(rows - 2, i, s), basisV2[j] = bernstein(N - 2, j, v).
Point3d patchNormalFromBasis(const HomogeneousNet& net, double s, double v, const double* basisS1,
                             const double* basisV2);

// Point and normal of `surface` at (u, v), u in [0, 4], v in [0, 1]. The surface must have its
// four patches, as emptyRevolutionSurface and rebuildSurface leave it. Each call computes
// every basis value afresh: this is the reference arithmetic that the frame's tessellation,
// which reuses basis values, must match bit for bit.
Point3d surfacePoint(const RevolutionSurface& surface, double u, double v, double& weightSum);
Point3d surfaceNormal(const RevolutionSurface& surface, double u, double v);
// The same on `revolutionSurface` as left by the last rebuild: one sample of the program's own
// surface. The surface window draws through tessellateSurface instead, so today only tests
// call these; they stay as the way to read the program's surface at one parameter pair.
Point3d surfacePoint(double u, double v, double& weightSum);
Point3d surfaceNormal(double u, double v);
