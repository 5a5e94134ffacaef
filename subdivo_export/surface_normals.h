// The normals an export writes: those of the written surface itself, one per vertex, as other
// programs shade a mesh; not the blended normals the subdivision keeps for its own lighting.
#pragma once

#include <cstddef>
#include <vector>

#include "obj_model.h"

// One unit normal per vertex, from the faces of three or more corners and some area around it
// (their normals by Newell's formula; positions taken as x, y, z):
// - the sum of those faces' area-weighted normals, scaled to unit length, when it lies on the
//   front side of every one of them (at a smooth vertex, always);
// - else (a fold, or faces that cancel, as a sheet folded back onto itself) the direction that
//   points most nearly into all of them: of each face's own normal, the bisector of every two
//   and the direction equally far from every three, the one whose largest angle to a face's
//   normal is smallest (the first such in that order). When any direction faces all the faces,
//   this one does. The search is cubic in the vertex's faces, so it is made only for a vertex
//   of at most `foldSearchFaceLimit` faces (every vertex after a subdivision step has four);
//   a busier fold keeps the sum, or, when the sum has no length, its first face's normal;
// - (0, 1, 0), the way up in Subdivo, for a vertex on no such face.
constexpr std::size_t foldSearchFaceLimit = 16;

std::vector<Vec3f> surfaceVertexNormals(const ObjModel& model);
