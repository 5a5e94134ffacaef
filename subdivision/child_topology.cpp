// A child's edges numbered from its parent, in the order buildMeshTopology numbers them: by
// lower vertex, then as their walkers are met in the corners at that vertex, each corner's
// outgoing edge before its incoming one. The child's first vertices are the parent's, whose
// corners lie at the first corner of the parent corners' child faces; then come the edge points,
// each at two or three corners per face of its edge; Catmull-Clark's face points are the upper
// end of all their edges and number none.
#include "child_topology.h"

#include <utility>

#include "huge_pages.h"

namespace {

// The child corners at one edge point, at most three for each of its two faces.
struct EdgePointCorners {
    std::int32_t corner[6];
    int count = 0;
};

// The corners after and before `corner` in a face of `size` corners, the faces laid end to end.
std::int32_t cornerAfterIn(std::int32_t size, std::int32_t corner) {
    return corner % size == size - 1 ? corner - size + 1 : corner + 1;
}
std::int32_t cornerBeforeIn(std::int32_t size, std::int32_t corner) {
    return corner % size == 0 ? corner + size - 1 : corner - 1;
}

// The child corners at the point of `edge`, increasing, for children of `n` corners a face.
// Catmull-Clark (n = 4): in the quad of each
// walker c, its second corner; in the quad of the corner after c, its fourth. Loop (n = 3): in the
// corner triangles of c and of the corner after, the second and the third; the middle
// triangle's corner of c.
// `faceSize` is the parent's uniformFaceSize.
template <std::int32_t n>
EdgePointCorners edgePointCorners(const FaceVertexArrays& parent, const MeshTopology& topology,
                                  std::int32_t faceSize, std::int32_t edge) {
    const std::int32_t middle = 9 * faceCount(parent);
    EdgePointCorners at;
    for (int w = 0; w < 2; ++w) {
        const std::int32_t c = topology.edgeCorners[2 * edge + w];
        if (c < 0) break;
        const std::int32_t after =
            faceSize > 0 ? cornerAfterIn(faceSize, c) : cornerAfter(parent, topology, c);
        at.corner[at.count++] = n * c + 1;
        at.corner[at.count++] = n * after + n - 1;
        if (n == 3) at.corner[at.count++] = middle + c;
    }
    for (int i = 1; i < at.count; ++i) {  // insertion: a handful of corners
        for (int j = i; j > 0 && at.corner[j - 1] > at.corner[j]; --j) {
            std::swap(at.corner[j - 1], at.corner[j]);
        }
    }
    return at;
}

std::int32_t newEdge(MeshTopology& topology, std::int32_t low, std::int32_t high) {
    topology.edgeVertices.push_back(low);
    topology.edgeVertices.push_back(high);
    topology.edgeWalkers.push_back(0);
    topology.edgeCorners.push_back(-1);
    topology.edgeCorners.push_back(-1);
    return topology.numEdges++;
}

// Child corner `corner`, at vertex `low`, walks its outgoing edge and the corner before it the
// incoming one; each of these edges whose lower end is `low` gets its walker, `edgeTo(high)`
// giving the edge from `low` to `high`, numbered when first asked for. Every child face has
// `n` corners, so the corners around one follow from its number alone.
template <std::int32_t n, typename EdgeTo>
void meetAtCorner(const FaceVertexArrays& child, MeshTopology& topology, std::int32_t low,
                  std::int32_t corner, EdgeTo edgeTo) {
    const std::int32_t after = cornerAfterIn(n, corner);
    const std::int32_t before = cornerBeforeIn(n, corner);
    const std::int32_t to = child.cornerVertex[after];
    if (to >= low) addWalker(topology, edgeTo(to), corner);
    const std::int32_t from = child.cornerVertex[before];
    if (from > low) addWalker(topology, edgeTo(from), before);
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

// The edges from the edge points up, a few per edge point: found among those of this one.
template <std::int32_t n>
void numberEdgesAtEdgePoints(const FaceVertexArrays& parent, const MeshTopology& parentTopology,
                             std::int32_t faceSize, const FaceVertexArrays& child,
                             MeshTopology& topology) {
    for (std::int32_t e = 0; e < parentTopology.numEdges; ++e) {
        const std::int32_t low = parent.numVertices + e;
        const std::int32_t first = topology.numEdges;
        const auto edgeTo = [&](std::int32_t high) {
            for (std::int32_t k = first; k < topology.numEdges; ++k) {
                if (topology.edgeVertices[2 * k + 1] == high) return k;
            }
            return newEdge(topology, low, high);
        };
        const EdgePointCorners at = edgePointCorners<n>(parent, parentTopology, faceSize, e);
        for (int i = 0; i < at.count; ++i) {
            meetAtCorner<n>(child, topology, low, at.corner[i], edgeTo);
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
                        SchemeKind scheme, const FaceVertexArrays& child, MeshTopology& topology) {
    if (!edgesOfAtMostTwoFaces(parentTopology)) {
        buildMeshTopology(child, topology);
        return;
    }
    gatherCorners(child, topology);
    const std::size_t corners = child.cornerVertex.size();
    assignLarge(topology.cornerEdge, corners, -1);
    for (auto* list : {&topology.edgeVertices, &topology.edgeCorners}) {
        list->clear();
        list->reserve(2 * corners);
    }
    topology.edgeWalkers.clear();
    topology.edgeWalkers.reserve(corners);
    const std::int32_t faceSize = uniformFaceSize(parent);
    if (scheme == SchemeKind::loop) {
        numberEdgesAtParentVertices<3>(parent, parentTopology, faceSize, topology);
        numberEdgesAtEdgePoints<3>(parent, parentTopology, faceSize, child, topology);
    } else {
        numberEdgesAtParentVertices<4>(parent, parentTopology, faceSize, topology);
        numberEdgesAtEdgePoints<4>(parent, parentTopology, faceSize, child, topology);
    }
    gatherEdges(child, topology);
}
