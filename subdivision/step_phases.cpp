// A step taken apart: Doo-Sabin's by its plan and build on model records, Catmull-Clark's and
// Loop's by the refinement core on flat arrays; the texture coordinates are left out, a lesson
// draws the positions only.
#include "step_phases.h"

#include <new>
#include <utility>

#include "doo_sabin.h"
#include "refined_mesh.h"

namespace {

void copyPositions(const ObjModel& model, std::vector<Vec4f>& positions) {
    positions.assign(model.vertices, model.vertices + model.numVertices);
}

bool dooSabinPhases(const ObjModel& shown, StepPhases& phases) {
    DooSabinPlan plan;
    if (planDooSabinStep(shown, plan) != StepResult::built) return false;
    phases.childKinds = dooSabinFaceKinds(shown, plan);
    ObjModel child{};
    const bool built = buildDooSabinStep(shown, plan, child) == StepResult::built;
    if (built) {
        phases.childFaces = faceVertexArraysOf(child);
        copyPositions(child, phases.childPositions);
    }
    freeModelArrays(&child);
    return built;
}

bool refinedPhases(const ObjModel& shown, SchemeKind scheme, StepPhases& phases) {
    RefinedMesh parent;
    if (meshFromModel(shown, parent) != MeshResult::made) return false;
    if (scheme == SchemeKind::loop && facesOtherThanTriangles(parent.faces) != 0) return false;
    parent.texCoords.clear();
    parent.texCoordFaces = FaceVertexArrays{};
    MeshTopology topology;
    buildMeshTopology(parent.faces, topology);
    phases.parentEdges = topology.numEdges;
    RefinedMesh child;
    refineMesh(parent, scheme, child);
    phases.childFaces = std::move(child.faces);
    phases.childPositions = std::move(child.positions);
    phases.childKinds = refinedFaceKinds(scheme, faceCount(phases.childFaces));
    return true;
}

bool partsOfStep(const ObjModel& shown, SchemeKind scheme, StepPhases& phases) {
    phases.scheme = scheme;
    phases.parentFaces = faceVertexArraysOf(shown);
    copyPositions(shown, phases.parentPositions);
    return scheme == SchemeKind::dooSabin ? dooSabinPhases(shown, phases)
                                          : refinedPhases(shown, scheme, phases);
}

}  // namespace

std::vector<PhasePart> phaseParts(SchemeKind scheme) {
    switch (scheme) {
        case SchemeKind::dooSabin:
            return {PhasePart::previousNet, PhasePart::fromFaceFaces, PhasePart::fromEdgeFaces,
                    PhasePart::fromVertexFaces};
        case SchemeKind::catmullClark:
            return {PhasePart::previousNet, PhasePart::facePoints, PhasePart::edgePoints,
                    PhasePart::vertexPoints, PhasePart::newFaces};
        case SchemeKind::loop: break;
    }
    return {PhasePart::previousNet, PhasePart::edgePoints, PhasePart::vertexPoints,
            PhasePart::newFaces};
}

bool buildStepPhases(const ObjModel& shown, SchemeKind scheme, StepPhases& phases) {
    phases = StepPhases{};
    bool built = false;
    try {
        built = partsOfStep(shown, scheme, phases);
    } catch (const std::bad_alloc&) {
        built = false;
    }
    if (!built) phases = StepPhases{};
    return built;
}

PointRange pointsOfPart(const StepPhases& phases, PhasePart part) {
    if (phases.scheme == SchemeKind::dooSabin) return {0, 0};
    const std::int32_t vertices = phases.parentFaces.numVertices;
    const std::int32_t edgesEnd = vertices + phases.parentEdges;
    switch (part) {
        case PhasePart::vertexPoints: return {0, vertices};
        case PhasePart::edgePoints: return {vertices, edgesEnd};
        case PhasePart::facePoints:
            if (phases.scheme == SchemeKind::catmullClark)
                return {edgesEnd, edgesEnd + faceCount(phases.parentFaces)};
            break;
        default: break;
    }
    return {0, 0};
}

bool partShowsFaceKind(PhasePart part, FaceKind kind) {
    switch (part) {
        case PhasePart::newFaces: return true;
        case PhasePart::fromFaceFaces: return kind == FaceKind::fromFace;
        case PhasePart::fromEdgeFaces: return kind == FaceKind::fromEdge;
        case PhasePart::fromVertexFaces: return kind == FaceKind::fromVertex;
        default: return false;
    }
}

std::vector<std::int32_t> childFacesOf(const StepPhases& phases, std::int32_t parentFace) {
    const std::int32_t first = phases.parentFaces.faceStart[parentFace];
    const std::int32_t end = phases.parentFaces.faceStart[parentFace + 1];
    std::vector<std::int32_t> children;
    if (phases.scheme != SchemeKind::dooSabin) {
        // A child face per parent corner, in corner order; Loop's middle triangles follow.
        for (std::int32_t c = first; c < end; ++c) children.push_back(c);
        const std::int32_t corners = std::int32_t(phases.parentFaces.cornerVertex.size());
        if (phases.scheme == SchemeKind::loop) children.push_back(corners + parentFace);
        return children;
    }
    const FaceVertexArrays& child = phases.childFaces;
    for (std::int32_t f = 0; f < faceCount(child); ++f) {
        for (std::int32_t c = child.faceStart[f]; c < child.faceStart[f + 1]; ++c) {
            const std::int32_t parentCorner = child.cornerVertex[c];
            if (parentCorner >= first && parentCorner < end) {
                children.push_back(f);
                break;
            }
        }
    }
    return children;
}

FaceKind childFaceKind(const StepPhases& phases, std::int32_t face) {
    for (const FaceKindRange& range : phases.childKinds)
        if (face >= range.begin && face < range.end) return range.kind;
    return FaceKind::fromFace;
}
