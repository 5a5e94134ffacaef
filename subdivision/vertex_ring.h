// Ordering of a V-face by the positions of its corners alone: the new vertices gathered around
// one old vertex, put counter-clockwise about the vertex's reference normal as seen from the
// first one. That is a proper polygon only where the ring, seen along the normal, lies on one
// side of every line through its first corner; the step therefore uses it only at vertices
// whose faces do not form one fan (vertex_fan.h), where the faces give no order of their own.
#pragma once

#include <cstdint>
#include <vector>

#include "obj_model.h"

// Scratch of the ordering, kept by a caller that orders many rings to spare allocations.
struct RingScratch {
    std::vector<Vec3f> positions;         // the corners' positions, read once
    std::vector<std::int32_t> order;      // list positions in their new order
    std::vector<std::int32_t> remaining;  // list positions not yet placed, in list order
    std::vector<double> angles;
    std::vector<std::int32_t> reordered;
};

// Reorders the face's corners in place: corner 0 stays first; each next position takes the
// earliest remaining corner (in list order) that leaves every other remaining corner to its
// left or on its line, seen from the anchor along `normal`. When no corner qualifies, the whole
// ring is ordered by orderRingByAngle instead. Positions are the x, y, z of `model.vertices`
// at the face's vertexIndices; normalIndices, when present, get the same permutation.
void orderVertexRing(ObjFace& face, Vec3f normal, const ObjModel& model);
void orderVertexRing(ObjFace& face, Vec3f normal, const ObjModel& model, RingScratch& scratch);

// Reorders the face's corners in place by their angle about the ring's centroid,
// counter-clockwise about `normal`, starting at corner 0; equal angles keep list order. For
// rings whose anchor is not a corner of their convex hull. A zero or broken normal keeps the
// list order. normalIndices, when present, get the same permutation. The step reaches it only
// through orderVertexRing; it is declared for the tests, whose plain reference step must fall
// back exactly as orderVertexRing does.
void orderRingByAngle(ObjFace& face, Vec3f normal, const ObjModel& model);
