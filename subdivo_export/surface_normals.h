// The normals an export writes: those of the written surface itself, one per vertex, as other
// programs shade a mesh; not the blended normals the subdivision keeps for its own lighting.
#pragma once

#include <vector>

#include "obj_model.h"

// One unit normal per vertex: the sum of the area-weighted normals (Newell's) of the faces of
// three or more corners around it, scaled to unit length. Where those cancel (a sheet folded
// back onto itself, say), the normal of the largest of its faces; a vertex without a face of
// any area gets (0, 1, 0), the way up in Subdivo. Positions are taken as x, y, z.
std::vector<Vec3f> surfaceVertexNormals(const ObjModel& model);
