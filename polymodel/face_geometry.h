// The geometry of a polygon model's faces: the shared formulas (vector3.h,
// face_normal_formulas.h) applied to a face's corners in the model's vertex array.
#pragma once

#include <cstdint>

#include "face_normal_formulas.h"
#include "obj_model.h"
#include "vector3.h"

// Newell's normal of the face (see newellNormal), summed in double. The face's indices must
// lie in `vertices`.
inline Vec3f newellNormal(const ObjFace& face, const Vec4f* vertices) {
    return newellNormal(face.numVertices,
                        [&](int j) -> const Vec4f& { return vertices[face.vertexIndices[j]]; });
}

// Newell's normal of the face summed in single precision (see newellNormalFloat).
inline Vec3f newellNormalFloat(const ObjFace& face, const Vec4f* vertices) {
    return newellNormalFloat(face.numVertices, [&](int j) -> const Vec4f& {
        return vertices[face.vertexIndices[j]];
    });
}

// Centroid of the face's corners (see centroidWeighingEachCorner). Requires one corner.
inline Vec4f faceCentroid(const ObjFace& face, const Vec4f* vertices) {
    return centroidWeighingEachCorner<Vec4f>(face.numVertices, [&](int j) -> const Vec4f& {
        return vertices[face.vertexIndices[j]];
    });
}
