// The Doo-Sabin step written out plainly: every edge looked up by scanning the edge table,
// boundary vertices by scanning it again, the corners at a vertex gathered by scanning all
// faces and split into fans of faces by scanning them again for each edge (a V-face per fan of
// three corners or more), or else ordered by trying every corner against every other.
// Quadratic, for comparison only.
#pragma once

#include "edge_table.h"
#include "obj_model.h"

// Fills `output` (holding no arrays) from a valid `input`; the edge table goes to `edges`.
void referenceDooSabinStep(const ObjModel& input, ObjModel& output, EdgeTable& edges);

// The ring ordering by its plain rule: for each position, every remaining corner tried in list
// order against every other; the whole ring by angle when none qualifies.
void referenceOrderVertexRing(ObjFace& face, Vec3f normal, const ObjModel& model);
