// The masks as gathers: every child entry is written once, from the parent entries and
// (Catmull-Clark) the face points already written, so each kind of point splits over threads
// by ranges, the face points all written before the others begin.
#include "vertex_masks.h"

#include <cmath>

#include "doo_sabin_masks.h"
#include "parallel_ranges.h"

namespace {

template <typename Data>
Data weighted(float w, const Data& a) {
    return plusWeighed(Data{}, w, a);
}

// Points begin to end - 1 of one kind.
struct PointRange {
    std::int32_t begin;
    std::int32_t end;
};

template <typename Data>
void placeFacePoints(const FaceVertexArrays& faces, PointRange range, const Data* parent,
                     Data* facePoints) {
    for (std::int32_t f = range.begin; f < range.end; ++f) {
        const std::int32_t first = faces.faceStart[f], end = faces.faceStart[f + 1];
        const float q = 1.0f / float(end - first);
        Data sum{};
        for (std::int32_t c = first; c < end; ++c) {
            sum = plusWeighed(sum, q, parent[faces.cornerVertex[c]]);
        }
        facePoints[f] = sum;
    }
}

template <typename Data>
Data midpoint(const Data* parent, const MeshTopology& topology, std::int32_t e) {
    const Data& a = parent[topology.edgeVertices[2 * e]];
    return plusWeighed(weighted(0.5f, a), 0.5f, parent[topology.edgeVertices[2 * e + 1]]);
}

// A corner's face: looked up, or, where every face is a quad (every level Catmull-Clark made),
// its number over four, which spares a read from afar.
struct FaceOfCorner {
    const std::int32_t* cornerFace;
    std::int32_t operator()(std::int32_t corner) const { return cornerFace[corner]; }
};
struct FaceOfQuadCorner {
    std::int32_t operator()(std::int32_t corner) const { return corner / 4; }
};

template <typename Data, typename FaceOf>
void placeCatmullClarkEdgePoints(const MeshTopology& topology, FaceOf faceOf, PointRange range,
                                 const Data* parent, const Data* facePoints, Data* edgePoints) {
    for (std::int32_t e = range.begin; e < range.end; ++e) {
        if (isCreaseEdge(topology, e)) {
            edgePoints[e] = midpoint(parent, topology, e);
            continue;
        }
        Data sum = weighted(0.25f, parent[topology.edgeVertices[2 * e]]);
        sum = plusWeighed(sum, 0.25f, parent[topology.edgeVertices[2 * e + 1]]);
        sum = plusWeighed(sum, 0.25f, facePoints[faceOf(topology.edgeCorners[2 * e])]);
        edgePoints[e] =
            plusWeighed(sum, 0.25f, facePoints[faceOf(topology.edgeCorners[2 * e + 1])]);
    }
}

template <typename Data>
void placeLoopEdgePoints(const FaceVertexArrays& faces, const MeshTopology& topology,
                         PointRange range, const Data* parent, Data* edgePoints) {
    for (std::int32_t e = range.begin; e < range.end; ++e) {
        if (isCreaseEdge(topology, e)) {
            edgePoints[e] = midpoint(parent, topology, e);
            continue;
        }
        // Loop's faces are triangles, laid end to end.
        const std::int32_t opposite0 =
            faces.cornerVertex[cornerBeforeIn(3, topology.edgeCorners[2 * e])];
        const std::int32_t opposite1 =
            faces.cornerVertex[cornerBeforeIn(3, topology.edgeCorners[2 * e + 1])];
        Data sum = weighted(0.375f, parent[topology.edgeVertices[2 * e]]);
        sum = plusWeighed(sum, 0.375f, parent[topology.edgeVertices[2 * e + 1]]);
        sum = plusWeighed(sum, 0.125f, parent[opposite0]);
        edgePoints[e] = plusWeighed(sum, 0.125f, parent[opposite1]);
    }
}

// 3/4 of the vertex and 1/8 of the far end of each of its two crease edges.
template <typename Data>
Data creasePoint(const MeshTopology& topology, const Data* parent, std::int32_t v) {
    Data sum = weighted(0.75f, parent[v]);
    for (std::int32_t i = topology.vertexEdgeStart[v]; i < topology.vertexEdgeStart[v + 1]; ++i) {
        if (isCreaseEdge(topology, topology.vertexEdges[i]))
            sum = plusWeighed(sum, 0.125f, parent[topology.vertexEdgeEnds[i]]);
    }
    return sum;
}

template <typename Data>
Data neighbourSum(const MeshTopology& topology, const Data* parent, std::int32_t v, float w) {
    Data sum{};
    for (std::int32_t i = topology.vertexEdgeStart[v]; i < topology.vertexEdgeStart[v + 1]; ++i) {
        sum = plusWeighed(sum, w, parent[topology.vertexEdgeEnds[i]]);
    }
    return sum;
}

template <typename Data, typename FaceOf>
Data smoothCatmullClarkPoint(const MeshTopology& topology, FaceOf faceOf, const Data* parent,
                             const Data* facePoints, std::int32_t v) {
    const float n = float(topology.vertexEdgeStart[v + 1] - topology.vertexEdgeStart[v]);
    const std::int32_t first = topology.vertexStart[v], end = topology.vertexStart[v + 1];
    const float faceWeight = 1.0f / (n * float(end - first));
    Data sum =
        plusWeighed(neighbourSum(topology, parent, v, 1.0f / (n * n)), (n - 2.0f) / n, parent[v]);
    for (std::int32_t i = first; i < end; ++i) {
        sum = plusWeighed(sum, faceWeight, facePoints[faceOf(topology.vertexCorners[i])]);
    }
    return sum;
}

constexpr double pi = 3.14159265358979323846;

float loopNeighbourWeight(float n) {
    const float c = 0.375f + 0.25f * float(std::cos(2.0 * pi / double(n)));
    return (0.625f - c * c) / n;
}

// loopNeighbourWeight of the common valences, worked out once a step rather than per vertex.
struct LoopWeights {
    static constexpr std::int32_t count = 16;
    float weight[count];
};

LoopWeights loopWeights() {
    LoopWeights table{};
    for (std::int32_t n = 1; n < LoopWeights::count; ++n)
        table.weight[n] = loopNeighbourWeight(float(n));
    return table;
}

template <typename Data>
Data smoothLoopPoint(const MeshTopology& topology, const LoopWeights& weights, const Data* parent,
                     std::int32_t v) {
    const std::int32_t valence = topology.vertexEdgeStart[v + 1] - topology.vertexEdgeStart[v];
    const float n = float(valence);
    const float beta =
        valence < LoopWeights::count ? weights.weight[valence] : loopNeighbourWeight(n);
    return plusWeighed(neighbourSum(topology, parent, v, beta), 1.0f - n * beta, parent[v]);
}

template <typename Data, typename FaceOf>
void placeVertexPoints(const MeshTopology& topology, SchemeKind scheme, FaceOf faceOf,
                       PointRange range, const Data* parent, const Data* facePoints,
                       Data* vertexPoints) {
    const LoopWeights weights = scheme == SchemeKind::loop ? loopWeights() : LoopWeights{};
    for (std::int32_t v = range.begin; v < range.end; ++v) {
        switch (topology.vertexRule[v]) {
            case VertexRule::corner: vertexPoints[v] = parent[v]; break;
            case VertexRule::crease: vertexPoints[v] = creasePoint(topology, parent, v); break;
            case VertexRule::smooth:
                vertexPoints[v] =
                    scheme == SchemeKind::loop
                        ? smoothLoopPoint(topology, weights, parent, v)
                        : smoothCatmullClarkPoint(topology, faceOf, parent, facePoints, v);
                break;
        }
    }
}

// Calls place(range) for `count` points split over `threads` threads.
template <typename Place>
void placeInRanges(std::int32_t count, int threads, Place place) {
    inParallelRanges(count, threads, [&](std::int64_t begin, std::int64_t end, int) {
        place(PointRange{std::int32_t(begin), std::int32_t(end)});
        return true;
    });
}

std::int32_t vertexCount(const MeshTopology& topology) {
    return std::int32_t(topology.vertexRule.size());
}

template <typename Data, typename FaceOf>
void refineCatmullClarkData(const FaceVertexArrays& faces, const MeshTopology& topology,
                            FaceOf faceOf, const Data* parent, Data* child, int threads) {
    Data* edgePoints = child + faces.numVertices;
    Data* facePoints = edgePoints + topology.numEdges;
    const Data* placedFacePoints = facePoints;
    placeInRanges(faceCount(faces), threads,
                  [&](PointRange r) { placeFacePoints(faces, r, parent, facePoints); });
    placeInRanges(topology.numEdges, threads, [&](PointRange r) {
        placeCatmullClarkEdgePoints(topology, faceOf, r, parent, placedFacePoints, edgePoints);
    });
    placeInRanges(vertexCount(topology), threads, [&](PointRange r) {
        placeVertexPoints(topology, SchemeKind::catmullClark, faceOf, r, parent, placedFacePoints,
                          child);
    });
}

template <typename Data>
void refineLoopData(const FaceVertexArrays& faces, const MeshTopology& topology, const Data* parent,
                    Data* child, int threads) {
    placeInRanges(topology.numEdges, threads, [&](PointRange r) {
        placeLoopEdgePoints(faces, topology, r, parent, child + faces.numVertices);
    });
    placeInRanges(vertexCount(topology), threads, [&](PointRange r) {
        placeVertexPoints(topology, SchemeKind::loop, FaceOfCorner{topology.cornerFace.data()}, r,
                          parent, static_cast<const Data*>(nullptr), child);
    });
}

template <typename Data>
void refineData(const FaceVertexArrays& faces, const MeshTopology& topology, SchemeKind scheme,
                const Data* parent, Data* child, int threads) {
    if (scheme == SchemeKind::dooSabin) {
        placeDooSabinPoints(faces, parent, child);
        return;
    }
    if (scheme == SchemeKind::loop) {
        refineLoopData(faces, topology, parent, child, threads);
        return;
    }
    if (uniformFaceSize(faces) == 4) {
        refineCatmullClarkData(faces, topology, FaceOfQuadCorner{}, parent, child, threads);
    } else {
        refineCatmullClarkData(faces, topology, FaceOfCorner{topology.cornerFace.data()}, parent,
                               child, threads);
    }
}

}  // namespace

void refineVertexData(const FaceVertexArrays& faces, const MeshTopology& topology,
                      SchemeKind scheme, const Vec4f* parent, Vec4f* child, int threads) {
    refineData(faces, topology, scheme, parent, child, threads);
}

void refineVertexData(const FaceVertexArrays& faces, const MeshTopology& topology,
                      SchemeKind scheme, const Vec3f* parent, Vec3f* child, int threads) {
    refineData(faces, topology, scheme, parent, child, threads);
}
