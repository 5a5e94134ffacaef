// The corner topology and V-faces of a Doo-Sabin step's result, taken from those of the model
// it was made from when that model is a closed manifold, instead of gathered again from the
// result's faces: every new face is an F-face (a face), a V-face (a vertex's fan) or an E-face
// (an edge), so each new corner's edges, and each new vertex's fan of four, are known at once.
#pragma once

#include <cstdint>

#include "corner_topology.h"
#include "doo_sabin.h"

// Fills `topology` and `vertexFaces` with what gatherCornerTopology and the V-face gathering
// find in the model that the step planned by `parent` builds, when the model planned is a closed
// manifold (isClosedManifold): the same arrays, entry for entry. False, the outputs left
// unspecified, when the result would have more than 2^31 - 1 corners. std::bad_alloc passes
// through.
bool deriveDooSabinChildTopology(const CornerTopology& parent, const VertexFaces& parentFaces,
                                 CornerTopology& topology, VertexFaces& vertexFaces);
