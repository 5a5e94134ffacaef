// Normal vectors of the subdivision step: safe normalisation, a face's geometric normal, and
// the normal of a new vertex with its fallbacks for sums that cancel out. Sums are formed in
// single precision in a fixed order, so that a step's output is the same bit for bit however
// its topology was gathered.
#pragma once

#include <cmath>

#include "obj_model.h"

// `v` divided by its Euclidean length (single precision); `fallback` when that length is zero
// or not finite, so that no NaN ever comes out of a cancelled or broken sum.
inline Vec3f normalizedOr(Vec3f v, Vec3f fallback) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(length > 0.0f) || !std::isfinite(length)) return fallback;
    return {v.x / length, v.y / length, v.z / length};
}

// Newell's normal of the face's polygon (x, y, z of its corners in `vertices`): twice its area
// long, pointing to the side from which the corners turn counter-clockwise. Zero for a face of
// fewer than 3 corners or a degenerate one. The face's indices must lie in `vertices`.
Vec3f newellNormal(const ObjFace& face, const Vec4f* vertices);

// The unit normal of a new vertex whose corner normal and face normal cancel out: the face
// normal; failing that the face's Newell normal; failing that the y axis.
Vec3f cancelledCornerNormal(Vec3f faceNormal, const ObjFace& face, const Vec4f* vertices);

// The unit normal of a new vertex: the half-sum of its corner's normal and its face's normal,
// normalised; cancelledCornerNormal when that sum has no length. Never NaN.
inline Vec3f newCornerNormal(Vec3f cornerNormal, Vec3f faceNormal, const ObjFace& face,
                             const Vec4f* vertices) {
    const Vec3f sum = {0.5f * cornerNormal.x + 0.5f * faceNormal.x,
                       0.5f * cornerNormal.y + 0.5f * faceNormal.y,
                       0.5f * cornerNormal.z + 0.5f * faceNormal.z};
    const float length = std::sqrt(sum.x * sum.x + sum.y * sum.y + sum.z * sum.z);
    if (length > 0.0f && std::isfinite(length)) {
        return {sum.x / length, sum.y / length, sum.z / length};
    }
    return cancelledCornerNormal(faceNormal, face, vertices);
}
