// Normal vectors of the subdivision step: the normal of a new vertex with its fallbacks for
// sums that cancel out. Sums are formed in single precision in a fixed order, so that a step's
// output is the same bit for bit however its topology was gathered.
#pragma once

#include "face_geometry.h"
#include "obj_model.h"

// The unit normal of a new vertex whose corner normal and face normal cancel out: the face
// normal; failing that the face's Newell normal; failing that the y axis.
Vec3f canceledCornerNormal(Vec3f faceNormal, const ObjFace& face, const Vec4f* vertices);

// The unit normal of a new vertex: the half-sum of its corner's normal and its face's normal,
// normalised; canceledCornerNormal when that sum has no length. Never NaN.
inline Vec3f newCornerNormal(Vec3f cornerNormal, Vec3f faceNormal, const ObjFace& face,
                             const Vec4f* vertices) {
    Vec3f sum = {0.5f * cornerNormal.x + 0.5f * faceNormal.x,
                 0.5f * cornerNormal.y + 0.5f * faceNormal.y,
                 0.5f * cornerNormal.z + 0.5f * faceNormal.z};
    if (scaleToUnit(sum)) return sum;
    return canceledCornerNormal(faceNormal, face, vertices);
}
