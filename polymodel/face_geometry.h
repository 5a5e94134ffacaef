// The geometry of polygon faces and of the vectors they are made of: edge vectors, cross and
// dot products, scaling to unit length with a fallback, Newell's normal and the centroid. Each
// is written here once, so that every module that needs one forms it in the same order of
// operations and gets the same bits.
#pragma once

#include <cmath>
#include <cstdint>

#include "obj_model.h"

// The vector from `from` to `to` in single precision (x, y, z; a w component is ignored).
template <typename Point>
Vec3f between(const Point& from, const Point& to) {
    return {to.x - from.x, to.y - from.y, to.z - from.z};
}

// a × b in the precision of the components (any record with x, y and z).
template <typename Vector>
Vector cross(const Vector& a, const Vector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// a · b in the precision of the components, summed x, y, z in that order.
template <typename Vector>
auto dot(const Vector& a, const Vector& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Divides `v` by its Euclidean length (single precision) and returns true; returns false and
// leaves `v` alone when that length is zero or not finite, so that no NaN comes out of a
// cancelled or broken sum.
inline bool scaleToUnit(Vec3f& v) {
    const float length = std::sqrt(dot(v, v));
    if (!(length > 0.0f) || !std::isfinite(length)) return false;
    v = {v.x / length, v.y / length, v.z / length};
    return true;
}

// `v` scaled to unit length; `fallback` when it has no usable length (see scaleToUnit).
inline Vec3f normalizedOr(Vec3f v, Vec3f fallback) { return scaleToUnit(v) ? v : fallback; }

// Newell's normal of the face's polygon (x, y, z of its corners in `vertices`): twice its area
// long, pointing to the side from which the corners turn counter-clockwise, so that no choice
// of three corners can make it vanish while the face has area. Zero for a face of fewer than 3
// corners. The face's indices must lie in `vertices`.
// The sum is formed in `Sum`: double by default, so that large flat polygons keep their
// direction (the subdivision's fallback normals depend on it); the drawing of models without
// normals sums in float, which is what its normals have always been formed with, so that both
// keep their bits while the formula has one home.
template <typename Sum = double>
Vec3f newellNormal(const ObjFace& face, const Vec4f* vertices) {
    const std::int32_t n = face.numVertices;
    if (n < 3) return {0.0f, 0.0f, 0.0f};
    Sum x = 0, y = 0, z = 0;
    for (std::int32_t j = 0; j < n; ++j) {
        const Vec4f& p = vertices[face.vertexIndices[j]];
        const Vec4f& q = vertices[face.vertexIndices[j + 1 == n ? 0 : j + 1]];
        x += (Sum(p.y) - Sum(q.y)) * (Sum(p.z) + Sum(q.z));
        y += (Sum(p.z) - Sum(q.z)) * (Sum(p.x) + Sum(q.x));
        z += (Sum(p.x) - Sum(q.x)) * (Sum(p.y) + Sum(q.y));
    }
    return {float(x), float(y), float(z)};
}

// Centroid of the face's corners in `vertices` (x, y, z and w alike), each corner weighted by
// 1/n in single precision as it is added. Requires at least one corner.
inline Vec4f faceCentroid(const ObjFace& face, const Vec4f* vertices) {
    const float q = 1.0f / static_cast<float>(face.numVertices);
    Vec4f centroid = {0.0f, 0.0f, 0.0f, 0.0f};
    for (std::int32_t j = 0; j < face.numVertices; ++j) {
        const Vec4f& a = vertices[face.vertexIndices[j]];
        centroid = {centroid.x + q * a.x, centroid.y + q * a.y, centroid.z + q * a.z,
                    centroid.w + q * a.w};
    }
    return centroid;
}
