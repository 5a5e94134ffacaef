// A child's edges numbered from its parent, in the order buildMeshTopology numbers them: by
// lower vertex, then as their walkers are met in the corners at that vertex, each corner's
// outgoing edge before its incoming one. The child's first vertices are the parent's, whose
// corners lie at the first corner of the parent corners' child faces; then come the edge points,
// each at two or three corners per face of its edge; Catmull-Clark's face points are the upper
// end of all their edges and number none.
#include "child_topology.h"

#include <algorithm>
#include <cstdint>

#include "huge_pages.h"

namespace {

// The edge lists are sized beforehand for the most edges the child can have, so a new edge is
// written in place.
std::int32_t newEdge(MeshTopology& topology, std::int32_t low, std::int32_t high) {
    const std::int32_t edge = topology.numEdges++;
    topology.edgeVertices[2 * std::size_t(edge)] = low;
    topology.edgeVertices[2 * std::size_t(edge) + 1] = high;
    return edge;
}

// Per parent edge: the parent vertex whose child edges were last numbered, and the number its
// child edge got there.
struct EdgeStamp {
    std::int32_t low;
    std::int32_t edge;
};

// The edges from the parent's vertices, each to the point of a parent edge, which is stamped
// with the number its child edge got at the vertex under way. The child corner of parent
// corner c lies at c's vertex; its outgoing edge goes to the point of the edge c walks, its
// incoming edge (walked by the last corner of its face) from that of the corner before c.
template <std::int32_t n>
void numberEdgesAtParentVertices(const FaceVertexArrays& parent, const MeshTopology& parentTopology,
                                 std::int32_t faceSize, MeshTopology& topology) {
    std::vector<EdgeStamp> stamps;
    assignLarge(stamps, std::size_t(parentTopology.numEdges), EdgeStamp{-1, 0});
    const std::int32_t edgePoints = parent.numVertices;
    for (std::int32_t v = 0; v < parent.numVertices; ++v) {
        const auto edgeTo = [&](std::int32_t e) {
            EdgeStamp& stamp = stamps[e];
            if (stamp.low != v) stamp = {v, newEdge(topology, v, edgePoints + e)};
            return stamp.edge;
        };
        for (std::int32_t i = parentTopology.vertexStart[v]; i < parentTopology.vertexStart[v + 1];
             ++i) {
            const std::int32_t c = parentTopology.vertexCorners[i];
            const std::int32_t before = faceSize > 0 ? cornerBeforeIn(faceSize, c)
                                                     : cornerBefore(parent, parentTopology, c);
            addWalker(topology, edgeTo(parentTopology.cornerEdge[c]), n * c);
            addWalker(topology, edgeTo(parentTopology.cornerEdge[before]), n * c + n - 1);
        }
    }
}

// The walks met at one edge point, at most four for each of its two faces: the child corner at
// the point where numberEdges meets each (twice its number, and one more for the incoming
// edge), the upper end of its edge and the corner that walks it.
struct EdgePointMeets {
    std::int64_t order[8];
    std::int32_t high[8];
    std::int32_t walker[8];
    int count = 0;
};

void addMeet(EdgePointMeets& meets, std::int32_t corner, bool incoming, std::int32_t high,
             std::int32_t walker) {
    const int i = meets.count++;
    meets.order[i] = (std::int64_t{2} * corner + (incoming ? 1 : 0)) * 8 + i;
    meets.high[i] = high;
    meets.walker[i] = walker;
}

void compareSwap(std::int64_t* order, int i, int j) {
    const std::int64_t low = std::min(order[i], order[j]);
    order[j] = std::max(order[i], order[j]);
    order[i] = low;
}

// Sorts the meets' orders with a network of comparisons: no branch to mispredict.
void sortMeets(EdgePointMeets& meets) {
    static constexpr int four[][2] = {{0, 1}, {2, 3}, {0, 2}, {1, 3}, {1, 2}};
    static constexpr int eight[][2] = {{0, 2}, {1, 3}, {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6},
                                       {3, 7}, {0, 1}, {2, 3}, {4, 5}, {6, 7}, {2, 4}, {3, 5},
                                       {1, 4}, {3, 6}, {1, 2}, {3, 4}, {5, 6}};
    const int size = meets.count <= 4 ? 4 : 8;
    for (int i = meets.count; i < size; ++i) meets.order[i] = INT64_MAX;
    if (size == 4) {
        for (const auto& pair : four) compareSwap(meets.order, pair[0], pair[1]);
    } else {
        for (const auto& pair : eight) compareSwap(meets.order, pair[0], pair[1]);
    }
}

// Catmull-Clark: walker c of the edge, in face f, leaves its point in c's quad (second corner)
// for f's point; the quad of the corner after c comes back to the point from f's point.
void catmullClarkMeets(const FaceVertexArrays& parent, const MeshTopology& topology,
                       std::int32_t faceSize, std::int32_t edge, EdgePointMeets& meets) {
    const std::int32_t facePoints = parent.numVertices + topology.numEdges;
    for (int w = 0; w < 2; ++w) {
        const std::int32_t c = topology.edgeCorners[2 * edge + w];
        if (c < 0) break;
        const std::int32_t after =
            faceSize > 0 ? cornerAfterIn(faceSize, c) : cornerAfter(parent, topology, c);
        const std::int32_t face = faceSize > 0 ? c / faceSize : topology.cornerFace[c];
        addMeet(meets, 4 * c + 1, false, facePoints + face, 4 * c + 1);
        addMeet(meets, 4 * after + 3, true, facePoints + face, 4 * after + 2);
    }
}

// Loop: walker c of the edge, with the corners a after and b before it in its triangle, meets
// the points of b's and a's edges in the corner triangles of c and a, and both in the middle
// triangle; an edge is met at its lower end only.
void loopMeets(const FaceVertexArrays& parent, const MeshTopology& topology, std::int32_t edge,
               EdgePointMeets& meets) {
    const std::int32_t middle = 9 * faceCount(parent);
    const std::int32_t edgePoints = parent.numVertices;
    for (int w = 0; w < 2; ++w) {
        const std::int32_t c = topology.edgeCorners[2 * edge + w];
        if (c < 0) break;
        const std::int32_t a = cornerAfterIn(3, c), b = cornerBeforeIn(3, c);
        const std::int32_t ea = topology.cornerEdge[a], eb = topology.cornerEdge[b];
        if (eb >= edge) addMeet(meets, 3 * c + 1, false, edgePoints + eb, 3 * c + 1);
        if (ea > edge) addMeet(meets, 3 * a + 2, true, edgePoints + ea, 3 * a + 1);
        if (ea >= edge) addMeet(meets, middle + c, false, edgePoints + ea, middle + c);
        if (eb > edge) addMeet(meets, middle + c, true, edgePoints + eb, middle + b);
    }
}

// The edges from the edge points up, a few per edge point: found among those of this one.
template <std::int32_t n>
void numberEdgesAtEdgePoints(const FaceVertexArrays& parent, const MeshTopology& parentTopology,
                             std::int32_t faceSize, MeshTopology& topology) {
    for (std::int32_t e = 0; e < parentTopology.numEdges; ++e) {
        const std::int32_t low = parent.numVertices + e;
        const std::int32_t first = topology.numEdges;
        EdgePointMeets meets;
        if (n == 4) {
            catmullClarkMeets(parent, parentTopology, faceSize, e, meets);
        } else {
            loopMeets(parent, parentTopology, e, meets);
        }
        sortMeets(meets);
        for (int i = 0; i < meets.count; ++i) {
            const int m = int(meets.order[i] & 7);
            const std::int32_t high = meets.high[m];
            std::int32_t edge = first;
            while (edge < topology.numEdges && topology.edgeVertices[2 * edge + 1] != high) ++edge;
            if (edge == topology.numEdges) newEdge(topology, low, high);
            addWalker(topology, edge, meets.walker[m]);
        }
    }
}

bool edgesOfAtMostTwoFaces(const MeshTopology& topology) {
    for (std::int32_t e = 0; e < topology.numEdges; ++e) {
        if (topology.edgeWalkers[e] > 2) return false;
    }
    return true;
}

}  // namespace

void buildChildTopology(const FaceVertexArrays& parent, const MeshTopology& parentTopology,
                        SchemeKind scheme, const FaceVertexArrays& child, MeshTopology& topology,
                        int threads) {
    if (!edgesOfAtMostTwoFaces(parentTopology)) {
        buildMeshTopology(child, topology, threads);
        return;
    }
    gatherCorners(child, topology, threads);
    assignLarge(topology.cornerEdge, child.cornerVertex.size(), -1);
    // Each parent edge makes at most two child edges at its ends, each parent corner at most
    // one inside its face.
    const std::size_t mostEdges =
        2 * std::size_t(parentTopology.numEdges) + parent.cornerVertex.size();
    assignLarge(topology.edgeVertices, 2 * mostEdges, 0);
    assignLarge(topology.edgeWalkers, mostEdges, 0);
    assignLarge(topology.edgeCorners, 2 * mostEdges, -1);
    const std::int32_t faceSize = uniformFaceSize(parent);
    if (scheme == SchemeKind::loop) {
        numberEdgesAtParentVertices<3>(parent, parentTopology, faceSize, topology);
        numberEdgesAtEdgePoints<3>(parent, parentTopology, faceSize, topology);
    } else {
        numberEdgesAtParentVertices<4>(parent, parentTopology, faceSize, topology);
        numberEdgesAtEdgePoints<4>(parent, parentTopology, faceSize, topology);
    }
    const std::size_t edges = std::size_t(topology.numEdges);
    topology.edgeVertices.resize(2 * edges);
    topology.edgeWalkers.resize(edges);
    topology.edgeCorners.resize(2 * edges);
    gatherEdges(child, topology, threads);
}
