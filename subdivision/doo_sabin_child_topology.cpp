// The result's topology from the parent's. Its corners come in three runs: the F-faces' corners
// are the parent's corners themselves (corner c of the parent sits at new vertex c), the
// V-faces' corners follow in the order of the parent's V-faces, and the E-faces' come last,
// four per interior edge. With the parent a closed manifold, every new vertex c lies on four
// faces: its F-face, the V-face of its old vertex, and the E-faces of the two edges at its
// corner. Every new edge is walked once each way, and the walker with the lower number is an
// F-corner or a V-corner, the one with the higher an E-corner; so each E-face pairs its four
// corners with their partners, and the fans and corner lists of its four vertices follow.
#include "doo_sabin_child_topology.h"

#include <algorithm>
#include <limits>

#include "huge_pages.h"

namespace {

// Where the result's corners of each run start.
struct ChildCorners {
    std::int32_t vertexFaces;  // the first V-face corner: the parent's corner count
    std::int32_t edgeFaces;    // the first E-face corner
    std::int32_t total;
};

// Positions in the fan around new vertex c, which is its V-face: its F-corner, its corner in the
// E-face of the edge by which its old corner's face comes in, its V-corner, and its corner in
// the E-face of the edge by which that face leaves. The two E-face corners are found while the
// E-faces are numbered.
constexpr int fanFaceCorner = 0;
constexpr int fanEnteringEdge = 1;
constexpr int fanVertexCorner = 2;
constexpr int fanLeavingEdge = 3;
constexpr int cornersPerNewVertex = 4;

// The F-faces keep the parent's corner runs; V-faces and E-faces follow with theirs.
void numberChildFaces(const CornerTopology& parent, const VertexFaces& parentFaces,
                      const ChildCorners& runs, CornerTopology& topology) {
    const std::size_t faces = parent.faceStart.size() - 1;
    const std::size_t vertexFaces = parentFaces.start.size() - 1;
    const std::size_t edgeFaces = static_cast<std::size_t>(parent.numInteriorEdges);
    std::vector<std::int32_t>& start = topology.faceStart;
    assignLarge(start, faces + vertexFaces + edgeFaces + 1, 0);
    std::copy(parent.faceStart.begin(), parent.faceStart.end() - 1, start.begin());
    for (std::size_t i = 0; i < vertexFaces; ++i) {
        start[faces + i] = runs.vertexFaces + parentFaces.start[i];
    }
    for (std::size_t e = 0; e <= edgeFaces; ++e) {
        start[faces + vertexFaces + e] =
            runs.edgeFaces + static_cast<std::int32_t>(e) * edgeFaceCorners;
    }
    assignLarge(topology.cornerFace, static_cast<std::size_t>(runs.total), 0);
    for (std::size_t f = 0; f + 1 < start.size(); ++f) {
        std::fill(topology.cornerFace.begin() + start[f],
                  topology.cornerFace.begin() + start[f + 1], static_cast<std::int32_t>(f));
    }
}

// The V-face corner that each parent corner became.
std::vector<std::int32_t> vertexFaceCornerOf(const VertexFaces& parentFaces, std::int32_t first) {
    std::vector<std::int32_t> corner;
    assignLarge(corner, parentFaces.corners.size(), 0);
    for (std::size_t k = 0; k < parentFaces.corners.size(); ++k) {
        corner[parentFaces.corners[k]] = first + static_cast<std::int32_t>(k);
    }
    return corner;
}

// Pairs `lower` with the E-face corner `upper`, whose face continues with `upperNext`.
void pairWalkers(std::int32_t lower, std::int32_t upper, std::int32_t upperNext,
                 CornerTopology& topology) {
    topology.edgePartner[lower] = upper;
    topology.partnerNext[lower] = upperNext;
}

// The E-face of each interior parent edge, in the order the step makes them: its corners are the
// new vertices after the second walker, the second walker, after the first, the first. Each
// pairs with an F-corner along the faces beside the edge and a V-corner at each end.
void pairEdgeFaceCorners(const CornerTopology& parent, const ChildCorners& runs,
                         const std::vector<std::int32_t>& vertexCornerOf, CornerTopology& topology,
                         std::vector<std::int32_t>& fans) {
    std::int32_t corner = runs.edgeFaces;
    for (std::int32_t first = 0; first < parent.numCorners; ++first) {
        const std::int32_t second = parent.edgePartner[first];
        if (second < 0) continue;
        const std::int32_t afterSecond = parent.partnerNext[first];
        const std::int32_t afterFirst = nextCorner(parent, first);
        pairWalkers(second, corner, corner + 1, topology);
        pairWalkers(vertexCornerOf[afterFirst], corner + 1, corner + 2, topology);
        pairWalkers(first, corner + 2, corner + 3, topology);
        pairWalkers(vertexCornerOf[afterSecond], corner + 3, corner, topology);
        fans[std::size_t(afterSecond) * cornersPerNewVertex + fanEnteringEdge] = corner;
        fans[std::size_t(second) * cornersPerNewVertex + fanLeavingEdge] = corner + 1;
        fans[std::size_t(afterFirst) * cornersPerNewVertex + fanEnteringEdge] = corner + 2;
        fans[std::size_t(first) * cornersPerNewVertex + fanLeavingEdge] = corner + 3;
        corner += edgeFaceCorners;
    }
}

// Each new vertex's fan is its V-face; its corners in increasing number are the F-corner, the
// V-corner, then the two E-corners.
void finishNewVertices(std::int32_t newVertices, const std::vector<std::int32_t>& vertexCornerOf,
                       CornerTopology& topology, VertexFaces& vertexFaces) {
    std::int32_t* fan = vertexFaces.corners.data();
    std::int32_t* byVertex = topology.cornersByVertex.data();
    for (std::int32_t v = 0; v < newVertices;
         ++v, fan += cornersPerNewVertex, byVertex += cornersPerNewVertex) {
        fan[fanFaceCorner] = v;
        fan[fanVertexCorner] = vertexCornerOf[v];
        byVertex[0] = v;
        byVertex[1] = vertexCornerOf[v];
        byVertex[2] = std::min(fan[fanEnteringEdge], fan[fanLeavingEdge]);
        byVertex[3] = std::max(fan[fanEnteringEdge], fan[fanLeavingEdge]);
        topology.vertexStart[v] = v * cornersPerNewVertex;
        vertexFaces.start[v] = v * cornersPerNewVertex;
    }
    topology.vertexStart[newVertices] = newVertices * cornersPerNewVertex;
    vertexFaces.start[newVertices] = newVertices * cornersPerNewVertex;
}

}  // namespace

bool deriveDooSabinChildTopology(const CornerTopology& parent, const VertexFaces& parentFaces,
                                 CornerTopology& topology, VertexFaces& vertexFaces) {
    const std::int64_t total = std::int64_t{parent.numCorners} +
                               std::int64_t(parentFaces.corners.size()) +
                               std::int64_t{edgeFaceCorners} * parent.numInteriorEdges;
    if (total > std::numeric_limits<std::int32_t>::max()) return false;
    const ChildCorners runs = {parent.numCorners,
                               parent.numCorners +
                                   static_cast<std::int32_t>(parentFaces.corners.size()),
                               static_cast<std::int32_t>(total)};
    topology = CornerTopology{};
    vertexFaces = VertexFaces{};
    topology.numCorners = runs.total;
    numberChildFaces(parent, parentFaces, runs, topology);

    const std::size_t corners = static_cast<std::size_t>(runs.total);
    const std::size_t newVertices = static_cast<std::size_t>(parent.numCorners);
    assignLarge(topology.edgePartner, corners, laterMeeting);
    assignLarge(topology.partnerNext, corners, -1);
    assignLarge(vertexFaces.corners, corners, 0);
    const std::vector<std::int32_t> vertexCornerOf =
        vertexFaceCornerOf(parentFaces, runs.vertexFaces);
    pairEdgeFaceCorners(parent, runs, vertexCornerOf, topology, vertexFaces.corners);

    assignLarge(topology.vertexStart, newVertices + 1, 0);
    assignLarge(topology.cornersByVertex, corners, 0);
    assignLarge(vertexFaces.start, newVertices + 1, 0);
    finishNewVertices(parent.numCorners, vertexCornerOf, topology, vertexFaces);
    assignLarge(vertexFaces.alongFan, newVertices, 1);
    assignLarge(topology.onBoundary, newVertices, 0);
    topology.numEdges = runs.total / 2;
    topology.numInteriorEdges = topology.numEdges;
    return true;
}
