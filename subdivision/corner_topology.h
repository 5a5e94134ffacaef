// The corners of a polygon model gathered in time linear in its size: numbered across the
// faces in order, grouped by vertex in increasing corner number, and paired along each edge
// with the first and the last corner that walk it. The Doo-Sabin step is built on it.
#pragma once

#include <cstdint>
#include <vector>

#include "obj_model.h"

// `edgePartner` of a corner whose edge an earlier corner walked first.
constexpr std::int32_t laterMeeting = -2;

// Corner j of face f has the corner number faceStart[f] + j; a corner "walks" the edge from
// its vertex to the vertex of the next corner of its face. Plain 32-bit arrays, no per-vertex
// containers, so that millions of corners cost 20 bytes each.
struct CornerTopology {
    std::int32_t numCorners = 0;
    std::vector<std::int32_t> faceStart;        // numFaces + 1 entries, the last is numCorners
    std::vector<std::int32_t> cornerFace;       // per corner: the face it belongs to
    std::vector<std::int32_t> vertexStart;      // numVertices + 1: each vertex's run below
    std::vector<std::int32_t> cornersByVertex;  // the corners at each vertex, increasing
    // Per corner that walks its edge first: the last other corner that walks that edge (either
    // way), or -1 when none does (a boundary edge). `laterMeeting` for every other corner.
    std::vector<std::int32_t> edgePartner;
    std::vector<std::int32_t> partnerNext;  // per such corner: the corner after its partner
    std::vector<std::uint8_t> onBoundary;   // per vertex: 1 when a boundary edge ends there
    std::int32_t numEdges = 0;
    std::int32_t numInteriorEdges = 0;
};

enum class TopologyResult { gathered, invalidModel, tooManyCorners };

// Checks the model against the record's rules (counts not negative, arrays present, every
// vertex and normal index in range), then fills `topology`. invalidModel or tooManyCorners
// (more than 2^31 - 1 corners) leave `topology` unspecified.
TopologyResult gatherCornerTopology(const ObjModel& model, CornerTopology& topology);

// Heap bytes that gathering the topology of a model of these counts takes at most: the arrays
// above, each per-face and per-vertex one counted with one entry to spare, and the vertex of
// every corner, held while the edges are gathered.
std::uint64_t cornerTopologyBytes(std::uint64_t corners, std::uint64_t faces,
                                  std::uint64_t vertices);

// The corner that follows `corner` in its face, cyclically.
inline std::int32_t nextCorner(const CornerTopology& topology, std::int32_t corner) {
    const std::int32_t face = topology.cornerFace[corner];
    return corner + 1 == topology.faceStart[face + 1] ? topology.faceStart[face] : corner + 1;
}

// The corner that precedes `corner` in its face, cyclically.
inline std::int32_t previousCorner(const CornerTopology& topology, std::int32_t corner) {
    const std::int32_t face = topology.cornerFace[corner];
    return corner == topology.faceStart[face] ? topology.faceStart[face + 1] - 1 : corner - 1;
}

// The input vertex at `corner`, read from its face.
inline std::int32_t cornerVertex(const ObjModel& model, const CornerTopology& topology,
                                 std::int32_t corner) {
    const std::int32_t face = topology.cornerFace[corner];
    return model.faces[face].vertexIndices[corner - topology.faceStart[face]];
}

// True when the vertex is used by some face and no boundary edge ends at it.
inline bool isInteriorVertex(const CornerTopology& topology, std::int32_t vertex) {
    return topology.vertexStart[vertex + 1] > topology.vertexStart[vertex] &&
           topology.onBoundary[vertex] == 0;
}

// True when the model is a closed, consistently oriented manifold: every edge is walked by
// exactly two corners of two different faces, in opposite directions, no edge is a loop, and
// the corners at each used vertex form one fan of three or more. Such a model refines into
// another of its kind (each V-face going round its vertex's fan), whose size boundNextDooSabinLevel
// gives exactly.
bool isClosedManifold(const ObjModel& model, const CornerTopology& topology);
