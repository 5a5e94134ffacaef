// The subdivision schemes as data: their names, the kinds of the faces they make, how a
// Catmull-Clark or Loop step forms its child faces from the parent's topology, and the exact
// counts of a refinement, so that a level can be forecast before any of it is built.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh_topology.h"

enum class SchemeKind { dooSabin, catmullClark, loop };

// The scheme named on a command line ("doo-sabin", "catmull-clark", "loop"); false for any
// other name.
bool schemeByName(const char* name, SchemeKind& scheme);
const char* schemeName(SchemeKind scheme);

// What a new face was made from. Doo-Sabin makes all three; Catmull-Clark makes every quad
// inside a parent face (from a face); Loop makes a corner triangle at each parent vertex (from
// a vertex) and a middle triangle inside each parent face (from a face).
enum class FaceKind : std::uint8_t { fromFace, fromVertex, fromEdge };
constexpr int faceKindCount = 3;

// The faces begin to end - 1 of a level are of one kind.
struct FaceKindRange {
    FaceKind kind;
    std::int32_t begin;
    std::int32_t end;
};

// "from_face", "from_vertex", "from_edge": the names of the materials written per kind.
const char* faceKindName(FaceKind kind);
// The colour a face of that kind is drawn with, the Doo-Sabin step's own colours.
const float (&faceKindColor(FaceKind kind))[3];

// The kinds of the `faces` faces a Catmull-Clark or Loop step made, as ranges in face order.
std::vector<FaceKindRange> refinedFaceKinds(SchemeKind scheme, std::int32_t faces);

// The child faces of a Catmull-Clark or Loop step, on the child vertices laid out as the
// parent's vertices (their new places), then one per edge, then (Catmull-Clark) one per face.
// Catmull-Clark: a quad per parent corner (vertex, the edge it walks, its face, the edge it
// comes from), in corner order. Loop (triangles only): the three corner triangles of every
// face in corner order, then the middle triangles in face order. Windings follow the parent.
// The parent's faces are split over `threads` threads, each writing its own faces' children.
void refineFaces(const FaceVertexArrays& parent, const MeshTopology& topology, SchemeKind scheme,
                 FaceVertexArrays& child, int threads = 1);

// Counts of a mesh, in 64 bits so that forecasts never overflow.
struct MeshCounts {
    std::int64_t vertices = 0;
    std::int64_t edges = 0;
    std::int64_t faces = 0;
    std::int64_t corners = 0;
};

// The counts after one Catmull-Clark or Loop step: exact for any mesh whose faces do not
// walk one edge twice, an upper bound otherwise (each edge splits in two; each face adds an
// inner edge per corner). Saturates far above any 32-bit count.
MeshCounts refinedCounts(SchemeKind scheme, const MeshCounts& parent);

// The faces Loop refuses: those of other than three corners.
std::int64_t facesOtherThanTriangles(const FaceVertexArrays& faces);
