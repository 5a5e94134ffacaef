// The refinement core's view of a polygon mesh: faces as flat face-vertex arrays, and the
// topology of each level (corners, numbered edges, the corners and edges at each vertex, and
// the rule each vertex follows), gathered from them or taken from the level below
// (child_topology). Works on any index arrays: the positions'
// and, built a second time, the texture coordinates'.
#pragma once

#include <cstdint>
#include <vector>

// Faces as corner runs: face f holds the corners faceStart[f] to faceStart[f + 1] - 1, and
// corner c lies at vertex cornerVertex[c], a number below numVertices.
struct FaceVertexArrays {
    std::int32_t numVertices = 0;
    std::vector<std::int32_t> faceStart{0};  // numFaces + 1 entries, the last is the corners
    std::vector<std::int32_t> cornerVertex;
};

inline std::int32_t faceCount(const FaceVertexArrays& faces) {
    return static_cast<std::int32_t>(faces.faceStart.size()) - 1;
}

// How a vertex moves in a Catmull-Clark or Loop step. A crease edge is one that is not walked
// by exactly two faces: a boundary edge (one face) or a non-manifold one (three or more).
// smooth: no crease edge, or one (a dart); crease: exactly two, and the vertex lies in more
//   than one face: it follows the cubic B-spline of that crease polygon;
// corner: stays put: a vertex in one face, at three or more crease edges, or on no edge.
enum class VertexRule : std::uint8_t { smooth, crease, corner };

// A corner "walks" the edge from its vertex to the next corner's. Edges are numbered by their
// lower vertex, then in the order their first walker is met there.
struct MeshTopology {
    std::int32_t numEdges = 0;
    std::vector<std::int32_t> cornerFace;       // per corner: its face
    std::vector<std::int32_t> cornerEdge;       // per corner: the edge it walks
    std::vector<std::int32_t> edgeVertices;     // per edge: its lower vertex, then the other
    std::vector<std::int32_t> edgeWalkers;      // per edge: how many corners walk it
    std::vector<std::int32_t> edgeCorners;      // per edge: its first two walkers, -1 when missing
    std::vector<std::int32_t> vertexStart;      // numVertices + 1: the runs of the two lists below
    std::vector<std::int32_t> vertexCorners;    // the corners at each vertex, increasing
    std::vector<std::int32_t> vertexEdgeStart;  // numVertices + 1
    std::vector<std::int32_t> vertexEdges;      // the edges at each vertex (a loop once)
    std::vector<std::int32_t> vertexEdgeEnds;   // beside vertexEdges: the other end of each
    std::vector<VertexRule> vertexRule;
};

// Gathers the topology of `faces`, whose indices must lie in range, in time linear in its
// size: no sort and no hashing. The lists kept per face or per vertex are filled over
// `threads` threads by ranges; the numbering stays on one. std::bad_alloc passes through to
// the caller.
void buildMeshTopology(const FaceVertexArrays& faces, MeshTopology& topology, int threads = 1);

// The corners of every face when all have one number of them, else 0: a corner's face, and the
// corners around it, then follow from its number alone.
std::int32_t uniformFaceSize(const FaceVertexArrays& faces);

// The two halves of buildMeshTopology around its numbering of the edges, for a caller that
// numbers them by other means (a step's child, from its parent) exactly as it would.
// gatherCorners fills cornerFace, vertexStart and vertexCorners and sets numEdges to 0; once the
// caller has filled numEdges, cornerEdge, edgeVertices, edgeWalkers and edgeCorners,
// gatherEdges fills vertexEdgeStart, vertexEdges, vertexEdgeEnds and vertexRule.
void gatherCorners(const FaceVertexArrays& faces, MeshTopology& topology, int threads = 1);
void gatherEdges(const FaceVertexArrays& faces, MeshTopology& topology, int threads = 1);

// Heap bytes buildMeshTopology takes at most for a mesh of these counts.
std::uint64_t meshTopologyBytes(std::int64_t vertices, std::int64_t edges, std::int64_t corners);

// The corner before `corner` in its face, cyclically.
inline std::int32_t cornerBefore(const FaceVertexArrays& faces, const MeshTopology& topology,
                                 std::int32_t corner) {
    const std::int32_t face = topology.cornerFace[corner];
    return corner == faces.faceStart[face] ? faces.faceStart[face + 1] - 1 : corner - 1;
}

// The corner after `corner` in its face, cyclically.
inline std::int32_t cornerAfter(const FaceVertexArrays& faces, const MeshTopology& topology,
                                std::int32_t corner) {
    const std::int32_t face = topology.cornerFace[corner];
    return corner + 1 == faces.faceStart[face + 1] ? faces.faceStart[face] : corner + 1;
}

// The corners after and before `corner` among faces of `size` corners each, laid end to end.
inline std::int32_t cornerAfterIn(std::int32_t size, std::int32_t corner) {
    return corner % size == size - 1 ? corner - size + 1 : corner + 1;
}
inline std::int32_t cornerBeforeIn(std::int32_t size, std::int32_t corner) {
    return corner % size == 0 ? corner + size - 1 : corner - 1;
}

// The vertex at the other end of `edge` from `vertex` (itself for a loop).
inline std::int32_t otherEnd(const MeshTopology& topology, std::int32_t edge, std::int32_t vertex) {
    const std::int32_t low = topology.edgeVertices[2 * edge];
    return low == vertex ? topology.edgeVertices[2 * edge + 1] : low;
}

// Records that `corner` walks `edge`: its first two walkers are kept, in this order.
inline void addWalker(MeshTopology& topology, std::int32_t edge, std::int32_t corner) {
    topology.cornerEdge[corner] = edge;
    const std::int32_t walkers = topology.edgeWalkers[edge]++;
    if (walkers < 2) topology.edgeCorners[2 * edge + walkers] = corner;
}

inline bool isCreaseEdge(const MeshTopology& topology, std::int32_t edge) {
    return topology.edgeWalkers[edge] != 2;
}
