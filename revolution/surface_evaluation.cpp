// Evaluation of the quarter-turn patches: points from the rational tensor-product form,
// normals from the last de Casteljau step of the homogeneous patch.
#include "surface_evaluation.h"

#include <cmath>
#include <vector>

namespace {

double determinant3(double a0, double a1, double a2, double b0, double b1, double b2, double c0,
                    double c1, double c2) {
    return a0 * (b1 * c2 - b2 * c1) - a1 * (b0 * c2 - b2 * c0) + a2 * (b0 * c1 - b1 * c0);
}

int columnCount(const SurfacePatch& patch) {
    return patch.empty() ? 0 : static_cast<int>(patch[0].pointCount());
}

void accumulate(HomogeneousPoint& sum, double coefficient, const HomogeneousPoint& point) {
    sum.x += coefficient * point.x;
    sum.y += coefficient * point.y;
    sum.z += coefficient * point.z;
    sum.w += coefficient * point.w;
}

}  // namespace

PatchParameter selectPatch(double u) {
    if (u <= 1.0) return {0, u};
    if (u <= 2.0) return {1, u - 1.0};
    if (u <= 3.0) return {2, u - 2.0};
    return {3, u - 3.0};
}

Point3d tripleProduct(const HomogeneousPoint& p, const HomogeneousPoint& q,
                      const HomogeneousPoint& r) {
    return {determinant3(p.y, p.z, p.w, q.y, q.z, q.w, r.y, r.z, r.w),
            -determinant3(p.x, p.z, p.w, q.x, q.z, q.w, r.x, r.z, r.w),
            determinant3(p.x, p.y, p.w, q.x, q.y, q.w, r.x, r.y, r.w)};
}

Point3d patchPointFromBasis(const SurfacePatch& patch, const double* basisS, const double* basisV,
                            double& weightSum) {
    const int rows = static_cast<int>(patch.size());
    const int columns = columnCount(patch);
    RationalSum sum;
    for (int i = 0; i < rows; ++i) {
        const GeneratrixCurve& row = patch[static_cast<std::size_t>(i)];
        for (int j = 0; j < columns; ++j) {
            const auto column = static_cast<std::size_t>(j);
            addRationalTerm(sum, basisS[i] * basisV[j] * row.weights[column],
                            row.controlPoints[column]);
        }
    }
    weightSum = sum.weightSum;
    return rationalPoint(sum);
}

Point3d patchPoint(const SurfacePatch& patch, double s, double v, double& weightSum) {
    const std::vector<double> basisS = bernsteinValues(static_cast<int>(patch.size()) - 1, s);
    const std::vector<double> basisV = bernsteinValues(columnCount(patch) - 1, v);
    return patchPointFromBasis(patch, basisS.data(), basisV.data(), weightSum);
}

HomogeneousNet homogeneousNet(const SurfacePatch& patch) {
    HomogeneousNet net;
    net.rows = static_cast<int>(patch.size());
    net.columns = columnCount(patch);
    net.points.reserve(static_cast<std::size_t>(net.rows * net.columns));
    for (const GeneratrixCurve& row : patch) {
        for (std::size_t j = 0; j < static_cast<std::size_t>(net.columns); ++j) {
            const Point3d& p = row.controlPoints[j];
            const double w = row.weights[j];
            net.points.push_back({w * p.x, w * p.y, w * p.z, w});
        }
    }
    return net;
}

Point3d patchNormalFromBasis(const HomogeneousNet& net, double s, double v, const double* basisS1,
                             const double* basisV2) {
    const int rows = net.rows;
    const int columns = net.columns;

    // The four points of the last de Casteljau step: h[a][b] shifts the row by a, the column by b.
    HomogeneousPoint h[2][2];
    for (int i = 0; i + 1 < rows; ++i) {
        const HomogeneousPoint* row = net.points.data() + i * columns;
        const HomogeneousPoint* nextRow = row + columns;
        for (int j = 0; j + 1 < columns; ++j) {
            const double c = basisS1[i] * basisV2[j];
            accumulate(h[0][0], c, row[j]);
            accumulate(h[1][0], c, nextRow[j]);
            accumulate(h[0][1], c, row[j + 1]);
            accumulate(h[1][1], c, nextRow[j + 1]);
        }
    }

    // Blend the triple products of the four triangles of that step bilinearly.
    const Point3d t1 = tripleProduct(h[0][0], h[1][0], h[0][1]);
    const Point3d t2 = tripleProduct(h[0][0], h[1][0], h[1][1]);
    const Point3d t3 = tripleProduct(h[0][0], h[1][1], h[0][1]);
    const Point3d t4 = tripleProduct(h[1][0], h[1][1], h[0][1]);
    const double a1 = (1.0 - s) * (1.0 - v);
    const double a2 = s * (1.0 - v);
    const double a3 = (1.0 - s) * v;
    const double a4 = s * v;
    const double degrees = static_cast<double>((rows - 1) * (columns - 1));
    const Point3d n = {degrees * (a1 * t1.x + a2 * t2.x + a3 * t3.x + a4 * t4.x),
                       degrees * (a1 * t1.y + a2 * t2.y + a3 * t3.y + a4 * t4.y),
                       degrees * (a1 * t1.z + a2 * t2.z + a3 * t3.z + a4 * t4.z)};
    return normalizedByReciprocalIfLongerThan(n, shortestNormalizedLength);
}

Point3d patchNormal(const SurfacePatch& patch, double s, double v) {
    const std::vector<double> basisS1 = bernsteinValues(static_cast<int>(patch.size()) - 2, s);
    const std::vector<double> basisV2 = bernsteinValues(columnCount(patch) - 2, v);
    return patchNormalFromBasis(homogeneousNet(patch), s, v, basisS1.data(), basisV2.data());
}

Point3d surfacePoint(const RevolutionSurface& surface, double u, double v, double& weightSum) {
    const PatchParameter at = selectPatch(u);
    return patchPoint(surface.patches[at.patch], at.s, v, weightSum);
}

Point3d surfaceNormal(const RevolutionSurface& surface, double u, double v) {
    const PatchParameter at = selectPatch(u);
    return patchNormal(surface.patches[at.patch], at.s, v);
}

Point3d surfacePoint(double u, double v, double& weightSum) {
    return surfacePoint(revolutionSurface, u, v, weightSum);
}

Point3d surfaceNormal(double u, double v) { return surfaceNormal(revolutionSurface, u, v); }
