// The masks of the subdivision steps, applied to any data held per vertex: the same
// routine places the new positions and the new texture coordinates.
#pragma once

#include "mesh_topology.h"
#include "refinement_scheme.h"
#include "vector3.h"

// Fills `child` (one entry per child vertex, laid out as refineFaces numbers them) from
// `parent` (one entry per parent vertex) by the scheme's rules, in single precision:
// - face point (Catmull-Clark): the mean of the face's corners;
// - edge point: on an edge of two faces, Catmull-Clark's (ends + face points of both faces) / 4,
//   Loop's 3/8 of each end + 1/8 of each opposite vertex; on a crease edge, the midpoint;
// - vertex point: by the vertex's rule: smooth, Catmull-Clark's ((n - 2) V + mean of the n
//   neighbours + mean of the face points) / n, Loop's (1 - n b) V + b (sum of the n neighbours)
//   with b = (5/8 - (3/8 + cos(2 pi / n) / 4)^2) / n; crease, 3/4 V + 1/8 of each neighbour
//   along its two crease edges; corner, V itself.
// Doo-Sabin (placeDooSabinPoints) places a child entry per corner of `faces`, halfway between
// the corner's entry and its face's centroid, and reads no topology.
// Catmull-Clark's and Loop's points are split over `threads` threads by ranges of each kind;
// every entry is formed as on one thread.
void refineVertexData(const FaceVertexArrays& faces, const MeshTopology& topology,
                      SchemeKind scheme, const Vec4f* parent, Vec4f* child, int threads = 1);
void refineVertexData(const FaceVertexArrays& faces, const MeshTopology& topology,
                      SchemeKind scheme, const Vec3f* parent, Vec3f* child, int threads = 1);
