// The formulas that fix the normal of a polygon face, each written once and named after what
// it computes. The corners come through `cornerAt(j)` (any record with x, y and z), the
// corners' own normals through `normalAt(j)`.
#pragma once

#include "vector3.h"

// (P1 - P0) × (P2 - P1) of the first three corners in single precision, not normalised, so
// that larger faces weigh more in a sum; further corners take no part. The loader's vertex
// normals are sums of these.
template <typename Point>
Vec3f firstCornersNormal(const Point& p0, const Point& p1, const Point& p2) {
    return cross(between(p0, p1), between(p1, p2));
}

// (b - a) × (c - a) of single-precision corners, worked out in double: the export tools' facet
// normals and area weights.
inline Vec3d crossOfCornersInDouble(const Vec3f& a, const Vec3f& b, const Vec3f& c) {
    const Vec3d from = toDouble(a);
    return cross(between(from, toDouble(b)), between(from, toDouble(c)));
}

// The running mean of the corners' normals, each weighed by 1/count in single precision and
// renormalised after every corner, so that later corners weigh more. A sum that cancels is
// kept as it is until a later corner mends it. The subdivision step's face normal.
template <typename NormalAt>
Vec3f runningFaceNormal(int count, NormalAt normalAt) {
    const float q = 1.0f / static_cast<float>(count);
    Vec3f normal = {0.0f, 0.0f, 0.0f};
    for (int j = 0; j < count; ++j) {
        const Vec3f& n = normalAt(j);
        normal = {normal.x + q * n.x, normal.y + q * n.y, normal.z + q * n.z};
        normal = normalizedOr(normal, normal);
    }
    return normal;
}

// Newell's normal of a polygon of `count` corners, summed in `Sum`: twice its area long,
// pointing to the side from which the corners turn counter-clockwise, so that no choice of
// three corners can make it vanish while the polygon has area. Zero below 3 corners.
template <typename Sum, typename CornerAt>
Vec3f newellNormalSummedIn(int count, CornerAt cornerAt) {
    if (count < 3) return {0.0f, 0.0f, 0.0f};
    Sum x = 0, y = 0, z = 0;
    for (int j = 0; j < count; ++j) {
        const auto& p = cornerAt(j);
        const auto& q = cornerAt(j + 1 == count ? 0 : j + 1);
        x += (Sum(p.y) - Sum(q.y)) * (Sum(p.z) + Sum(q.z));
        y += (Sum(p.z) - Sum(q.z)) * (Sum(p.x) + Sum(q.x));
        z += (Sum(p.x) - Sum(q.x)) * (Sum(p.y) + Sum(q.y));
    }
    return {float(x), float(y), float(z)};
}

// Newell's normal summed in double precision, so that large flat polygons keep their
// direction: the subdivision's fallback normals and the export's vertex normals use it.
template <typename CornerAt>
Vec3f newellNormal(int count, CornerAt cornerAt) {
    return newellNormalSummedIn<double>(count, cornerAt);
}

// Newell's normal summed in single precision: the flat normals Subdivo hands to OpenGL for a
// model without normals, whose drawn pixels are fixed in float.
template <typename CornerAt>
Vec3f newellNormalFloat(int count, CornerAt cornerAt) {
    return newellNormalSummedIn<float>(count, cornerAt);
}
