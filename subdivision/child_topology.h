// The topology of a Catmull-Clark or Loop step's child taken from its parent's: which child
// corners lie at each child vertex follows from the parent's corners and edges, so the child's
// edges are numbered without a search around every child vertex.
#pragma once

#include "mesh_topology.h"
#include "refinement_scheme.h"

// Fills `topology` with what buildMeshTopology(child) gives, for `child` made by refineFaces
// from `parent` and `parentTopology` with the same scheme (so, for Loop, a parent of
// triangles only). Where an edge of the parent has
// more than two faces it builds it from `child` alone. The lists kept per face or per vertex
// are filled over `threads` threads. std::bad_alloc passes through.
void buildChildTopology(const FaceVertexArrays& parent, const MeshTopology& parentTopology,
                        SchemeKind scheme, const FaceVertexArrays& child, MeshTopology& topology,
                        int threads = 1);
