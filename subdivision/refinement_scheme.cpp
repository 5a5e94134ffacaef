// Child faces and counts of the Catmull-Clark and Loop steps, written face after face in
// order into flat arrays sized beforehand.
#include "refinement_scheme.h"

#include <algorithm>
#include <cstring>

#include "doo_sabin.h"
#include "huge_pages.h"
#include "parallel_ranges.h"

namespace {

constexpr std::int64_t saturatedCount = std::int64_t{1} << 52;

std::int64_t saturated(std::int64_t count) { return std::min(count, saturatedCount); }

void startChild(FaceVertexArrays& child, std::int32_t numVertices, std::int64_t faces,
                std::int32_t cornersPerFace) {
    child.numVertices = numVertices;
    assignLarge(child.faceStart, static_cast<std::size_t>(faces) + 1, 0);
    for (std::int64_t f = 0; f <= faces; ++f) {
        child.faceStart[std::size_t(f)] = static_cast<std::int32_t>(f * cornersPerFace);
    }
    assignLarge(child.cornerVertex, static_cast<std::size_t>(faces * cornersPerFace), 0);
}

// The quads of the parent corners of faces begin to end - 1, at the corners' own places.
void catmullClarkFacesOf(const FaceVertexArrays& parent, const MeshTopology& topology,
                         std::int32_t begin, std::int32_t end, FaceVertexArrays& child) {
    const std::int32_t edgePoints = parent.numVertices;
    const std::int32_t facePoints = edgePoints + topology.numEdges;
    std::int32_t* out = child.cornerVertex.data() + 4 * std::size_t(parent.faceStart[begin]);
    for (std::int32_t f = begin; f < end; ++f) {
        const std::int32_t first = parent.faceStart[f], last = parent.faceStart[f + 1];
        for (std::int32_t c = first; c < last; ++c) {
            const std::int32_t before = c == first ? last - 1 : c - 1;
            out[0] = parent.cornerVertex[c];
            out[1] = edgePoints + topology.cornerEdge[c];
            out[2] = facePoints + f;
            out[3] = edgePoints + topology.cornerEdge[before];
            out += 4;
        }
    }
}

// The corner triangles and the middle triangle of faces begin to end - 1, each at its face's
// place among its kind.
void loopFacesOf(const FaceVertexArrays& parent, const MeshTopology& topology, std::int32_t begin,
                 std::int32_t end, FaceVertexArrays& child) {
    const std::int32_t edgePoints = parent.numVertices;
    std::int32_t* cornerTriangles = child.cornerVertex.data() + 9 * std::size_t(begin);
    std::int32_t* middleTriangles =
        child.cornerVertex.data() + 9 * std::size_t(faceCount(parent)) + 3 * std::size_t(begin);
    for (std::int32_t f = begin; f < end; ++f) {
        const std::int32_t c = parent.faceStart[f];
        const std::int32_t e[3] = {edgePoints + topology.cornerEdge[c],
                                   edgePoints + topology.cornerEdge[c + 1],
                                   edgePoints + topology.cornerEdge[c + 2]};
        for (std::int32_t j = 0; j < 3; ++j) {
            cornerTriangles[0] = parent.cornerVertex[c + j];
            cornerTriangles[1] = e[j];
            cornerTriangles[2] = e[(j + 2) % 3];
            cornerTriangles += 3;
        }
        std::memcpy(middleTriangles, e, sizeof e);
        middleTriangles += 3;
    }
}

}  // namespace

bool schemeByName(const char* name, SchemeKind& scheme) {
    for (const SchemeKind s : {SchemeKind::dooSabin, SchemeKind::catmullClark, SchemeKind::loop}) {
        if (std::strcmp(name, schemeName(s)) == 0) {
            scheme = s;
            return true;
        }
    }
    return false;
}

const char* schemeName(SchemeKind scheme) {
    switch (scheme) {
        case SchemeKind::dooSabin: return "doo-sabin";
        case SchemeKind::catmullClark: return "catmull-clark";
        case SchemeKind::loop: return "loop";
    }
    return "";
}

const char* faceKindName(FaceKind kind) {
    switch (kind) {
        case FaceKind::fromFace: return "from_face";
        case FaceKind::fromVertex: return "from_vertex";
        case FaceKind::fromEdge: return "from_edge";
    }
    return "";
}

const float (&faceKindColor(FaceKind kind))[3] {
    switch (kind) {
        case FaceKind::fromVertex: return faceFromVertexColor;
        case FaceKind::fromEdge: return faceFromEdgeColor;
        case FaceKind::fromFace: break;
    }
    return faceFromFaceColor;
}

std::vector<FaceKindRange> refinedFaceKinds(SchemeKind scheme, std::int32_t faces) {
    if (scheme != SchemeKind::loop) return {{FaceKind::fromFace, 0, faces}};
    const std::int32_t corners = faces / 4 * 3;
    return {{FaceKind::fromVertex, 0, corners}, {FaceKind::fromFace, corners, faces}};
}

void refineFaces(const FaceVertexArrays& parent, const MeshTopology& topology, SchemeKind scheme,
                 FaceVertexArrays& child, int threads) {
    const bool loop = scheme == SchemeKind::loop;
    const std::int32_t faces = faceCount(parent);
    const std::int32_t corners = static_cast<std::int32_t>(parent.cornerVertex.size());
    if (loop) {
        startChild(child, parent.numVertices + topology.numEdges, 4 * std::int64_t{faces}, 3);
    } else {
        startChild(child, parent.numVertices + topology.numEdges + faces, corners, 4);
    }
    inParallelRanges(faces, threads, [&](std::int64_t begin, std::int64_t end, int) {
        if (loop) {
            loopFacesOf(parent, topology, std::int32_t(begin), std::int32_t(end), child);
        } else {
            catmullClarkFacesOf(parent, topology, std::int32_t(begin), std::int32_t(end), child);
        }
        return true;
    });
}

MeshCounts refinedCounts(SchemeKind scheme, const MeshCounts& parent) {
    MeshCounts child;
    const bool loop = scheme == SchemeKind::loop;
    child.vertices = saturated(parent.vertices + parent.edges + (loop ? 0 : parent.faces));
    child.edges = saturated(2 * parent.edges + parent.corners);
    child.faces = loop ? saturated(4 * parent.faces) : parent.corners;
    child.corners = saturated(4 * parent.corners);
    return child;
}

std::int64_t facesOtherThanTriangles(const FaceVertexArrays& faces) {
    std::int64_t others = 0;
    for (std::int32_t f = 0; f < faceCount(faces); ++f) {
        others += faces.faceStart[f + 1] - faces.faceStart[f] != 3 ? 1 : 0;
    }
    return others;
}
