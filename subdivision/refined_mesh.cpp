// Between the model record and the core's flat arrays, and the step on them.
#include "refined_mesh.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

#include "child_topology.h"
#include "huge_pages.h"
#include "parallel_ranges.h"
#include "vertex_masks.h"

namespace {

bool indicesInRange(const std::int32_t* indices, std::int32_t n, std::int32_t count) {
    if (indices == nullptr) return false;
    for (std::int32_t j = 0; j < n; ++j) {
        if (indices[j] < 0 || indices[j] >= count) return false;
    }
    return true;
}

bool validModel(const ObjModel& model) {
    if (model.numVertices < 0 || model.numFaces < 0 || model.numTexCoords < 0) return false;
    if (model.numVertices > 0 && model.vertices == nullptr) return false;
    if (model.numFaces > 0 && model.faces == nullptr) return false;
    if (model.hasTexCoords != 0 && (model.numTexCoords == 0 || model.texCoords == nullptr)) {
        return false;
    }
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        if (face.numVertices < 0) return false;
        if (face.numVertices == 0) continue;
        if (!indicesInRange(face.vertexIndices, face.numVertices, model.numVertices)) return false;
        if (model.hasTexCoords != 0 &&
            !indicesInRange(face.texCoordIndices, face.numVertices, model.numTexCoords)) {
            return false;
        }
    }
    return true;
}

// The faces' runs and one of their index lists, picked by `indicesOf`.
template <typename IndicesOf>
FaceVertexArrays facesBy(const ObjModel& model, std::int32_t numVertices, IndicesOf indicesOf) {
    FaceVertexArrays faces;
    faces.numVertices = numVertices;
    faces.faceStart.resize(static_cast<std::size_t>(model.numFaces) + 1);
    std::int32_t corners = 0;
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        faces.faceStart[f] = corners;
        corners += model.faces[f].numVertices;
    }
    faces.faceStart[model.numFaces] = corners;
    faces.cornerVertex.resize(static_cast<std::size_t>(corners));
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        if (face.numVertices == 0) continue;
        std::memcpy(&faces.cornerVertex[faces.faceStart[f]], indicesOf(face),
                    sizeof(std::int32_t) * std::size_t(face.numVertices));
    }
    return faces;
}

// The texture coordinates' own vertices: one per pair of a vertex and a texture index met at
// a corner, so that two faces share a texture edge only where they share the edge and its
// texture coordinates too, as a face-varying channel does; a texture index used at several
// vertices is several texture vertices.
void splitTexCoordsByVertex(const ObjModel& model, RefinedMesh& mesh) {
    std::vector<std::int32_t> firstPairAt(std::size_t(model.numVertices), -1);
    std::vector<std::int32_t> nextPair, pairTexCoord;
    std::vector<std::int32_t>& cornerPair = mesh.texCoordFaces.cornerVertex;
    cornerPair.resize(mesh.faces.cornerVertex.size());
    std::size_t corner = 0;
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        for (std::int32_t j = 0; j < face.numVertices; ++j, ++corner) {
            const std::int32_t vertex = face.vertexIndices[j], texCoord = face.texCoordIndices[j];
            std::int32_t pair = firstPairAt[vertex];
            while (pair >= 0 && pairTexCoord[pair] != texCoord) pair = nextPair[pair];
            if (pair < 0) {
                pair = std::int32_t(pairTexCoord.size());
                pairTexCoord.push_back(texCoord);
                nextPair.push_back(firstPairAt[vertex]);
                firstPairAt[vertex] = pair;
                mesh.texCoords.push_back(model.texCoords[texCoord]);
            }
            cornerPair[corner] = pair;
        }
    }
    mesh.texCoordFaces.numVertices = std::int32_t(pairTexCoord.size());
    mesh.texCoordFaces.faceStart = mesh.faces.faceStart;
}

std::int64_t cornersOf(const ObjModel& model) {
    std::int64_t corners = 0;
    for (std::int32_t f = 0; f < model.numFaces; ++f) corners += model.faces[f].numVertices;
    return corners;
}

// How a channel goes through a step: whether its topology is known, whether the child's is
// kept, and the threads its work is split over.
struct ChannelStep {
    bool known;
    bool keepChild;
    int threads;
};

// One channel (positions, or texture coordinates) through the step: its own topology (built
// unless known), child faces and data; then the child's topology in place of the parent's, or
// none.
template <typename Data>
void refineChannel(const FaceVertexArrays& faces, SchemeKind scheme, const Data* parentData,
                   const ChannelStep& step, MeshTopology& topology, FaceVertexArrays& childFaces,
                   std::vector<Data>& childData) {
    if (!step.known) buildMeshTopology(faces, topology, step.threads);
    refineFaces(faces, topology, scheme, childFaces, step.threads);
    assignLarge(childData, static_cast<std::size_t>(childFaces.numVertices), Data{});
    refineVertexData(faces, topology, scheme, parentData, childData.data(), step.threads);
    MeshTopology childTopology;
    if (step.keepChild) {
        buildChildTopology(faces, topology, scheme, childFaces, childTopology, step.threads);
    }
    topology = std::move(childTopology);
}

std::int32_t* copiedList(const std::int32_t* from, std::int32_t n) {
    auto* list = static_cast<std::int32_t*>(std::malloc(sizeof(std::int32_t) * std::size_t(n)));
    if (list != nullptr) std::memcpy(list, from, sizeof(std::int32_t) * std::size_t(n));
    return list;
}

bool fillFace(ObjFace& face, const RefinedMesh& mesh, std::int32_t f, const float (&color)[3]) {
    const std::int32_t first = mesh.faces.faceStart[f];
    const std::int32_t n = mesh.faces.faceStart[f + 1] - first;
    std::memcpy(face.color, color, sizeof face.color);
    face.numVertices = n;
    face.primitive = primitiveForCorners(n);
    if (n == 0) return true;
    face.vertexIndices = copiedList(&mesh.faces.cornerVertex[first], n);
    if (face.vertexIndices == nullptr) return false;
    if (mesh.texCoords.empty()) return true;
    face.texCoordIndices = copiedList(&mesh.texCoordFaces.cornerVertex[first], n);
    return face.texCoordIndices != nullptr;
}

}  // namespace

FaceVertexArrays faceVertexArraysOf(const ObjModel& model) {
    return facesBy(model, model.numVertices, [](const ObjFace& f) { return f.vertexIndices; });
}

MeshResult meshFromModel(const ObjModel& model, RefinedMesh& mesh) {
    if (!validModel(model)) return MeshResult::invalidModel;
    if (cornersOf(model) > std::numeric_limits<std::int32_t>::max()) {
        return MeshResult::tooManyCorners;
    }
    mesh = RefinedMesh{};
    mesh.positions.assign(model.vertices, model.vertices + model.numVertices);
    mesh.faces = faceVertexArraysOf(model);
    if (model.hasTexCoords == 0) return MeshResult::made;
    splitTexCoordsByVertex(model, mesh);
    return MeshResult::made;
}

void refineMesh(const RefinedMesh& parent, SchemeKind scheme, RefinedMesh& child) {
    MeshTopologies topologies;
    refineMeshKeepingTopology(parent, scheme, topologies, false, child);
}

void refineMeshKeepingTopology(const RefinedMesh& parent, SchemeKind scheme,
                               MeshTopologies& topologies, bool keepChild, RefinedMesh& child,
                               int threads) {
    const ChannelStep step{topologies.known, keepChild, threads};
    topologies.known = keepChild;
    refineChannel(parent.faces, scheme, parent.positions.data(), step, topologies.positions,
                  child.faces, child.positions);
    if (parent.texCoords.empty()) {
        child.texCoords.clear();
        child.texCoordFaces = FaceVertexArrays{};
        return;
    }
    refineChannel(parent.texCoordFaces, scheme, parent.texCoords.data(), step, topologies.texCoords,
                  child.texCoordFaces, child.texCoords);
}

std::uint64_t refinedMeshBytes(const MeshCounts& counts, std::int64_t texCoords) {
    const std::uint64_t faceArrays =
        sizeof(std::int32_t) * std::uint64_t(counts.faces + 1 + counts.corners);
    const std::uint64_t positions = sizeof(Vec4f) * std::uint64_t(counts.vertices);
    if (texCoords == 0) return positions + faceArrays;
    return positions + 2 * faceArrays + sizeof(Vec3f) * std::uint64_t(texCoords);
}

bool modelFromMesh(const RefinedMesh& mesh, const std::vector<FaceKindRange>& kinds,
                   ObjModel& model, int threads) {
    model = ObjModel{};
    model.numVertices = mesh.faces.numVertices;
    model.numFaces = faceCount(mesh.faces);
    const bool withTexCoords = !mesh.texCoords.empty();
    model.numTexCoords = withTexCoords ? mesh.texCoordFaces.numVertices : 0;
    model.hasTexCoords = withTexCoords ? 1 : 0;
    if (!allocateModelArrays(&model)) return false;
    adviseHugePages(model.faces, sizeof(ObjFace) * std::size_t(model.numFaces));
    if (model.numVertices > 0) {
        std::memcpy(model.vertices, mesh.positions.data(), sizeof(Vec4f) * mesh.positions.size());
    }
    if (withTexCoords) {
        std::memcpy(model.texCoords, mesh.texCoords.data(), sizeof(Vec3f) * mesh.texCoords.size());
    }
    for (const FaceKindRange& range : kinds) {
        const float(&color)[3] = faceKindColor(range.kind);
        const bool filled =
            inParallelRanges(range.end - range.begin, threads,
                             [&](std::int64_t begin, std::int64_t end, int) {
                                 for (std::int64_t f = range.begin + begin; f < range.begin + end;
                                      ++f) {
                                     if (!fillFace(model.faces[f], mesh, std::int32_t(f), color))
                                         return false;
                                 }
                                 return true;
                             });
        if (!filled) return false;
    }
    return true;
}
