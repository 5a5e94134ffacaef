// The masks as gathers: every child entry is written once, in order, from the parent entries
// and (Catmull-Clark) the face points already written.
#include "vertex_masks.h"

#include <cmath>

#include "doo_sabin_masks.h"

namespace {

template <typename Data>
Data weighted(float w, const Data& a) {
    return plusWeighed(Data{}, w, a);
}

template <typename Data>
void placeFacePoints(const FaceVertexArrays& faces, const Data* parent, Data* facePoints) {
    for (std::int32_t f = 0; f < faceCount(faces); ++f) {
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
void placeCatmullClarkEdgePoints(const MeshTopology& topology, FaceOf faceOf, const Data* parent,
                                 const Data* facePoints, Data* edgePoints) {
    for (std::int32_t e = 0; e < topology.numEdges; ++e) {
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
                         const Data* parent, Data* edgePoints) {
    for (std::int32_t e = 0; e < topology.numEdges; ++e) {
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
                       const Data* parent, const Data* facePoints, Data* vertexPoints) {
    const std::int32_t vertices = std::int32_t(topology.vertexRule.size());
    const LoopWeights weights = scheme == SchemeKind::loop ? loopWeights() : LoopWeights{};
    for (std::int32_t v = 0; v < vertices; ++v) {
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

template <typename Data, typename FaceOf>
void refineCatmullClarkData(const FaceVertexArrays& faces, const MeshTopology& topology,
                            FaceOf faceOf, const Data* parent, Data* child) {
    Data* edgePoints = child + faces.numVertices;
    Data* facePoints = edgePoints + topology.numEdges;
    placeFacePoints(faces, parent, facePoints);
    placeCatmullClarkEdgePoints(topology, faceOf, parent, facePoints, edgePoints);
    placeVertexPoints(topology, SchemeKind::catmullClark, faceOf, parent,
                      static_cast<const Data*>(facePoints), child);
}

template <typename Data>
void refineData(const FaceVertexArrays& faces, const MeshTopology& topology, SchemeKind scheme,
                const Data* parent, Data* child) {
    if (scheme == SchemeKind::dooSabin) {
        placeDooSabinPoints(faces, parent, child);
        return;
    }
    if (scheme == SchemeKind::loop) {
        placeLoopEdgePoints(faces, topology, parent, child + faces.numVertices);
        placeVertexPoints(topology, scheme, FaceOfCorner{topology.cornerFace.data()}, parent,
                          static_cast<const Data*>(nullptr), child);
        return;
    }
    if (uniformFaceSize(faces) == 4) {
        refineCatmullClarkData(faces, topology, FaceOfQuadCorner{}, parent, child);
    } else {
        refineCatmullClarkData(faces, topology, FaceOfCorner{topology.cornerFace.data()}, parent,
                               child);
    }
}

}  // namespace

void refineVertexData(const FaceVertexArrays& faces, const MeshTopology& topology,
                      SchemeKind scheme, const Vec4f* parent, Vec4f* child) {
    refineData(faces, topology, scheme, parent, child);
}

void refineVertexData(const FaceVertexArrays& faces, const MeshTopology& topology,
                      SchemeKind scheme, const Vec3f* parent, Vec3f* child) {
    refineData(faces, topology, scheme, parent, child);
}
