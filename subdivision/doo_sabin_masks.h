// Doo-Sabin's one mask, for any data held at the corners of faces (positions, texture
// coordinates): every corner of a face makes a new point, halfway between the corner's value
// and the face's centroid. The step places its vertices with it, and the refinement core's
// routine (refineVertexData) any other data.
#pragma once

#include "mesh_topology.h"
#include "vector3.h"

// The new values of the `count` corners of one face (count >= 1), corner j's value given by
// `cornerAt(j)`, into placed[0] to placed[count - 1]. The centroid weighs each corner by
// 1/count as it is added (centroidWeighingEachCorner), then each value and the centroid are
// mixed by halfway: that single-precision order fixes the step's positions bit for bit.
template <typename Data, typename CornerAt>
void placeFaceCornerPoints(int count, CornerAt cornerAt, Data* placed) {
    const Data centroid = centroidWeighingEachCorner<Data>(count, cornerAt);
    for (int j = 0; j < count; ++j) placed[j] = halfway(cornerAt(j), centroid);
}

// The mask over every face of `faces`: child[c] for each corner c (the child's vertices are
// the parent's corners, numbered in face order) from `parent`, one entry per vertex of
// `faces`. A face without corners places nothing.
void placeDooSabinPoints(const FaceVertexArrays& faces, const Vec4f* parent, Vec4f* child);
void placeDooSabinPoints(const FaceVertexArrays& faces, const Vec3f* parent, Vec3f* child);
