// One subdivision step taken apart for a lesson: the level before it and the level it makes,
// the new points by kind (Catmull-Clark's and Loop's face, edge and moved vertex points), the
// new faces by kind, and which new faces each face of the level before becomes.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh_topology.h"
#include "obj_model.h"
#include "refinement_scheme.h"

struct StepPhases {
    SchemeKind scheme = SchemeKind::dooSabin;
    FaceVertexArrays parentFaces;
    std::vector<Vec4f> parentPositions;
    FaceVertexArrays childFaces;
    std::vector<Vec4f> childPositions;
    std::vector<FaceKindRange> childKinds;
    // Catmull-Clark and Loop lay the child's points out as the parent's vertices moved (vertex
    // points), then one per parent edge (edge points), then (Catmull-Clark) one per parent face
    // (face points). Doo-Sabin's points are the parent's corners, one per corner.
    std::int32_t parentEdges = 0;
};

// What a phase adds to the picture of the one before.
enum class PhasePart : std::uint8_t {
    previousNet,  // the level before, as a net of its edges
    facePoints,
    edgePoints,
    vertexPoints,
    newFaces,  // every face of the next level
    fromFaceFaces,
    fromEdgeFaces,
    fromVertexFaces,
};

// The parts of a step of `scheme` in the order a lesson shows them; the faces of the last one
// complete the next level. Doo-Sabin: the net, then its F-, E- and V-faces; Catmull-Clark: the
// net, face, edge and vertex points, the new faces; Loop the same without face points.
std::vector<PhasePart> phaseParts(SchemeKind scheme);

// Takes one step of `scheme` from `shown` apart into `phases`. False, leaving it empty, when
// the model breaks the record's rules, Loop meets a face other than a triangle, or memory
// runs out.
bool buildStepPhases(const ObjModel& shown, SchemeKind scheme, StepPhases& phases);

// The child points of one kind, as the range [begin, end) of childPositions (empty for a kind
// the scheme does not make).
struct PointRange {
    std::int32_t begin;
    std::int32_t end;
};
PointRange pointsOfPart(const StepPhases& phases, PhasePart part);

// The kind of face each part of faces adds (newFaces: every kind).
bool partShowsFaceKind(PhasePart part, FaceKind kind);

// The child faces `parentFace` becomes: Catmull-Clark's quads inside it, Loop's three corner
// triangles and middle one; Doo-Sabin's faces with a corner made from one of its corners (its
// F-face, the E-faces of its edges and the V-faces of its vertices).
std::vector<std::int32_t> childFacesOf(const StepPhases& phases, std::int32_t parentFace);

// The kind of the child face `face`.
FaceKind childFaceKind(const StepPhases& phases, std::int32_t face);
