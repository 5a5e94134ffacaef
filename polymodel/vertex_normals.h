// Normals of a loaded model, computed from its faces: the file's normals serve only as the
// pattern in which corners share them.
#pragma once

#include "obj_model.h"

// Replaces every normal that a face refers to by the normalised sum of those faces' normals
// (from corners 0, 1, 2) and scales the others to unit length. A sum of zero length falls back
// to the normal's own value, else to (0, 1, 0). Requires a filled model.
void computeVertexNormals(ObjModel* model);
