// Gathering a mesh's topology. The corners are grouped by vertex with a counting sort; each
// edge is then numbered from its lower vertex, where a stamp per upper vertex tells whether
// that edge already has a number, so every corner is looked at a fixed number of times.
#include "mesh_topology.h"

#include "huge_pages.h"
#include "parallel_ranges.h"

namespace {

void numberCornersByFace(const FaceVertexArrays& faces, MeshTopology& topology, int threads) {
    assignLarge(topology.cornerFace, faces.cornerVertex.size(), 0);
    inParallelRanges(faceCount(faces), threads, [&](std::int64_t begin, std::int64_t end, int) {
        for (std::int64_t f = begin; f < end; ++f) {
            for (std::int32_t c = faces.faceStart[f]; c < faces.faceStart[f + 1]; ++c) {
                topology.cornerFace[c] = std::int32_t(f);
            }
        }
        return true;
    });
}

// Stable, so each vertex lists its corners in increasing corner number.
void groupCornersByVertex(const FaceVertexArrays& faces, MeshTopology& topology) {
    std::vector<std::int32_t>& start = topology.vertexStart;
    assignLarge(start, static_cast<std::size_t>(faces.numVertices) + 2, 0);
    for (const std::int32_t v : faces.cornerVertex) ++start[v + 2];
    for (std::size_t v = 2; v < start.size(); ++v) start[v] += start[v - 1];
    assignLarge(topology.vertexCorners, faces.cornerVertex.size(), 0);
    const std::int32_t corners = static_cast<std::int32_t>(faces.cornerVertex.size());
    for (std::int32_t c = 0; c < corners; ++c) {
        topology.vertexCorners[start[faces.cornerVertex[c] + 1]++] = c;
    }
    start.pop_back();
}

// Per upper vertex: the lower vertex whose edges were last numbered, and the edge it got.
struct EdgeStamps {
    std::vector<std::int32_t> lowVertex;
    std::vector<std::int32_t> edge;
};

void meetEdge(MeshTopology& topology, EdgeStamps& stamps, std::int32_t low, std::int32_t high,
              std::int32_t walker) {
    if (stamps.lowVertex[high] != low) {
        stamps.lowVertex[high] = low;
        stamps.edge[high] = topology.numEdges++;
        topology.edgeVertices.push_back(low);
        topology.edgeVertices.push_back(high);
        topology.edgeWalkers.push_back(0);
        topology.edgeCorners.push_back(-1);
        topology.edgeCorners.push_back(-1);
    }
    addWalker(topology, stamps.edge[high], walker);
}

// At each vertex, in turn as the lower end: a corner there walks its outgoing edge, the
// corner before it walks the incoming one.
void numberEdges(const FaceVertexArrays& faces, MeshTopology& topology) {
    const std::size_t corners = faces.cornerVertex.size();
    assignLarge(topology.cornerEdge, corners, -1);
    for (auto* list : {&topology.edgeVertices, &topology.edgeCorners}) {
        list->clear();
        list->reserve(2 * corners);
    }
    topology.edgeWalkers.clear();
    topology.edgeWalkers.reserve(corners);
    EdgeStamps stamps;
    assignLarge(stamps.lowVertex, static_cast<std::size_t>(faces.numVertices), -1);
    assignLarge(stamps.edge, static_cast<std::size_t>(faces.numVertices), 0);
    for (std::int32_t low = 0; low < faces.numVertices; ++low) {
        for (std::int32_t i = topology.vertexStart[low]; i < topology.vertexStart[low + 1]; ++i) {
            const std::int32_t corner = topology.vertexCorners[i];
            const std::int32_t to = faces.cornerVertex[cornerAfter(faces, topology, corner)];
            if (to >= low) meetEdge(topology, stamps, low, to, corner);  // a loop counts once
            const std::int32_t before = cornerBefore(faces, topology, corner);
            const std::int32_t from = faces.cornerVertex[before];
            if (from > low) meetEdge(topology, stamps, low, from, before);
        }
    }
}

void groupEdgesByVertex(std::int32_t numVertices, MeshTopology& topology) {
    std::vector<std::int32_t>& start = topology.vertexEdgeStart;
    start.assign(static_cast<std::size_t>(numVertices) + 2, 0);
    const auto endsOf = [&](std::int32_t e, auto visit) {
        const std::int32_t a = topology.edgeVertices[2 * e], b = topology.edgeVertices[2 * e + 1];
        visit(a);
        if (b != a) visit(b);
    };
    for (std::int32_t e = 0; e < topology.numEdges; ++e) {
        endsOf(e, [&](std::int32_t v) { ++start[v + 2]; });
    }
    for (std::size_t v = 2; v < start.size(); ++v) start[v] += start[v - 1];
    assignLarge(topology.vertexEdges, static_cast<std::size_t>(start.back()), 0);
    assignLarge(topology.vertexEdgeEnds, static_cast<std::size_t>(start.back()), 0);
    for (std::int32_t e = 0; e < topology.numEdges; ++e) {
        endsOf(e, [&](std::int32_t v) {
            const std::int32_t place = start[v + 1]++;
            topology.vertexEdges[place] = e;
            topology.vertexEdgeEnds[place] = otherEnd(topology, e, v);
        });
    }
    start.pop_back();
}

VertexRule ruleOf(const MeshTopology& topology, std::int32_t v) {
    const std::int32_t corners = topology.vertexStart[v + 1] - topology.vertexStart[v];
    const std::int32_t firstEdge = topology.vertexEdgeStart[v];
    const std::int32_t edges = topology.vertexEdgeStart[v + 1] - firstEdge;
    if (corners <= 1 || edges < 2) return VertexRule::corner;
    std::int32_t creases = 0;
    for (std::int32_t i = firstEdge; i < firstEdge + edges; ++i) {
        creases += isCreaseEdge(topology, topology.vertexEdges[i]) ? 1 : 0;
    }
    if (creases <= 1) return VertexRule::smooth;
    return creases == 2 ? VertexRule::crease : VertexRule::corner;
}

}  // namespace

void buildMeshTopology(const FaceVertexArrays& faces, MeshTopology& topology, int threads) {
    gatherCorners(faces, topology, threads);
    numberEdges(faces, topology);
    gatherEdges(faces, topology, threads);
}

void gatherCorners(const FaceVertexArrays& faces, MeshTopology& topology, int threads) {
    topology.numEdges = 0;
    numberCornersByFace(faces, topology, threads);
    groupCornersByVertex(faces, topology);
}

void gatherEdges(const FaceVertexArrays& faces, MeshTopology& topology, int threads) {
    groupEdgesByVertex(faces.numVertices, topology);
    topology.vertexRule.resize(static_cast<std::size_t>(faces.numVertices));
    inParallelRanges(faces.numVertices, threads, [&](std::int64_t begin, std::int64_t end, int) {
        for (std::int64_t v = begin; v < end; ++v)
            topology.vertexRule[v] = ruleOf(topology, std::int32_t(v));
        return true;
    });
}

std::int32_t uniformFaceSize(const FaceVertexArrays& faces) {
    const std::int32_t numFaces = faceCount(faces);
    if (numFaces == 0) return 0;
    const std::int32_t size = faces.faceStart[1];
    for (std::int32_t f = 1; f <= numFaces; ++f) {
        if (faces.faceStart[f] != std::int64_t{f} * size) return 0;
    }
    return size;
}

std::uint64_t meshTopologyBytes(std::int64_t vertices, std::int64_t edges, std::int64_t corners) {
    constexpr std::uint64_t word = sizeof(std::int32_t);
    // Per corner: its face, its edge, its place by vertex, and the edge lists reserved for as
    // many edges as corners (ends, walkers, first two walkers).
    const std::uint64_t perCorner = 8 * word;
    const std::uint64_t perEdge = 4 * word;        // twice in the two lists by vertex
    const std::uint64_t perVertex = 4 * word + 1;  // two starts, two stamps, the rule
    return perCorner * std::uint64_t(corners) + perEdge * std::uint64_t(edges) +
           perVertex * std::uint64_t(vertices + 2);
}
