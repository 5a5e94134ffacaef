// Counts of a level: the edges by the refinement core's topology of its faces, the face kinds
// by the step's colours or ranges, and the next level by the schemes' own forecasts.
#include "level_counts.h"

#include <new>

#include "doo_sabin.h"
#include "mesh_topology.h"
#include "refined_mesh.h"

namespace {

bool validIndices(const ObjModel& model) {
    if (model.numFaces > 0 && model.faces == nullptr) return false;
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        if (face.numVertices > 0 && face.vertexIndices == nullptr) return false;
        for (std::int32_t c = 0; c < face.numVertices; ++c)
            if (face.vertexIndices[c] < 0 || face.vertexIndices[c] >= model.numVertices)
                return false;
    }
    return true;
}

std::int64_t usedVertices(const MeshTopology& topology) {
    std::int64_t used = 0;
    for (std::size_t v = 0; v + 1 < topology.vertexStart.size(); ++v)
        if (topology.vertexStart[v + 1] > topology.vertexStart[v]) ++used;
    return used;
}

bool sameColor(const float (&a)[3], const float (&b)[3]) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

void addRanges(const std::vector<FaceKindRange>& ranges, LevelCounts& counts) {
    for (const FaceKindRange& range : ranges)
        counts.facesByKind[static_cast<int>(range.kind)] += range.end - range.begin;
    counts.kindsKnown = true;
}

}  // namespace

bool countLevel(const ObjModel& model, LevelCounts& counts) {
    counts = LevelCounts{};
    if (model.numVertices < 0 || model.numFaces < 0 || !validIndices(model)) return false;
    try {
        const FaceVertexArrays faces = faceVertexArraysOf(model);
        MeshTopology topology;
        buildMeshTopology(faces, topology);
        counts.vertices = usedVertices(topology);
        counts.edges = topology.numEdges;
        counts.faces = faceCount(faces);
        counts.corners = std::int64_t(faces.cornerVertex.size());
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void countFaceKinds(const ObjModel& level, SchemeKind scheme, LevelCounts& counts) {
    if (scheme != SchemeKind::dooSabin) {
        addRanges(refinedFaceKinds(scheme, level.numFaces), counts);
        return;
    }
    for (std::int32_t f = 0; f < level.numFaces; ++f)
        for (int kind = 0; kind < faceKindCount; ++kind)
            if (sameColor(level.faces[f].color, faceKindColor(static_cast<FaceKind>(kind))))
                ++counts.facesByKind[kind];
    counts.kindsKnown = true;
}

bool forecastNextLevel(const ObjModel& model, SchemeKind scheme, const LevelCounts& shown,
                       LevelCounts& next) {
    next = LevelCounts{};
    if (scheme != SchemeKind::dooSabin) {
        const MeshCounts child = refinedCounts(scheme, MeshCounts{shown.vertices, shown.edges,
                                                                  shown.faces, shown.corners});
        next.vertices = child.vertices;
        next.edges = child.edges;
        next.faces = child.faces;
        next.corners = child.corners;
        // Loop: three corner triangles and a middle one per parent face; Catmull-Clark: all
        // quads inside a parent face.
        const bool loop = scheme == SchemeKind::loop;
        next.facesByKind[static_cast<int>(FaceKind::fromVertex)] = loop ? 3 * shown.faces : 0;
        next.facesByKind[static_cast<int>(FaceKind::fromFace)] = loop ? shown.faces : child.faces;
        next.kindsKnown = true;
        return true;
    }
    DooSabinPlan plan;
    if (planDooSabinStep(model, plan) != StepResult::built) return false;
    addRanges(dooSabinFaceKinds(model, plan), next);
    next.vertices = plan.outputSize.vertices;
    next.faces = plan.outputSize.faces;
    next.corners = plan.outputSize.corners;
    next.edges = shown.corners + 2 * next.facesByKind[static_cast<int>(FaceKind::fromEdge)];
    return true;
}
