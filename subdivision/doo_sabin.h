// One Doo-Sabin refinement of a polygon model: a new vertex for every corner, halfway between
// the corner's vertex and its face's centroid; then an F-face per face (red), V-faces about
// the interior vertices (blue) and an E-face per interior edge (green), in that order. An
// interior vertex gets a V-face per fan of its faces, going round in their turn, so a closed,
// consistently turned surface refines into a closed manifold, however saddled, folded or
// pinched; where its faces form no fans, one V-face of all its corners ordered by position
// about the vertex's reference normal. No V-face has fewer than three corners.
#pragma once

#include <cstdint>
#include <vector>

#include "corner_topology.h"
#include "model_size.h"
#include "obj_model.h"
#include "refinement_scheme.h"

// The colours (r, g, b) the step gives its faces by kind (faceKindColor), which Subdivo draws.
constexpr float faceFromFaceColor[3] = {1.0f, 0.0f, 0.0f};
constexpr float faceFromVertexColor[3] = {0.0f, 0.0f, 1.0f};
constexpr float faceFromEdgeColor[3] = {0.0f, 1.0f, 0.0f};

enum class StepResult { built, invalidInput, countsTooLarge, outOfMemory };

// The V-faces a step makes, in output order: each one's corners (the input's corner numbers,
// which are the new vertices) from corners[start[i]] to corners[start[i + 1]]. A V-face that
// follows a fan of faces has its corners in their final order; `alongFan` is 0 for one whose
// corners are still in the order the faces hold them, to be put into a ring by position.
struct VertexFaces {
    std::vector<std::int32_t> corners;
    std::vector<std::int32_t> start;  // 0, then the end of each V-face
    std::vector<std::uint8_t> alongFan;
};

// A step gathered but not built: the input's corners by face, vertex and edge, its V-faces,
// and the exact size of the refinement. It holds the step's scratch until it goes.
struct DooSabinPlan {
    CornerTopology topology;
    VertexFaces vertexFaces;
    ModelSize outputSize{};
};

// Fills `output`, which must hold no arrays, with the refinement of `input`, which it only
// reads. Runs in time linear in the input's size (apart from the ordering of each V-face).
// False when `input` breaks the record's rules (an index out of range, a missing index list),
// when the refinement's counts would not fit 32 bits, or when memory runs out; `output` is
// then left empty, every field zero.
bool dooSabinStep(const ObjModel& input, ObjModel& output);

// The first half of dooSabinStep: checks `input` and gathers its corners into `plan`, whose
// outputSize then tells what the step would obtain. invalidInput or countsTooLarge otherwise,
// outOfMemory when the scratch cannot be obtained (no exception leaves the step).
StepResult planDooSabinStep(const ObjModel& input, DooSabinPlan& plan);

// The plan of `input`, the model that the step planned by `parent` built from a closed manifold
// (isClosedManifold): the same plan as planDooSabinStep gathers, taken from the parent's instead
// (doo_sabin_child_topology), without reading `input`'s faces for their topology.
// countsTooLarge or outOfMemory as there.
StepResult planDooSabinStepAfter(const ObjModel& input, const DooSabinPlan& parent,
                                 DooSabinPlan& plan);

// The kinds of the faces the planned step makes from `input`: its F-faces, V-faces and E-faces,
// three ranges in face order (a range may be empty).
std::vector<FaceKindRange> dooSabinFaceKinds(const ObjModel& input, const DooSabinPlan& plan);

// Heap bytes the step's scratch takes at most for an input of that size: the corner topology,
// the V-faces gathered, and the geometric face normals of an input without normals.
std::uint64_t stepScratchBytes(const ModelSize& input);

// The second half: fills `output` (holding no arrays) from `input` and its plan. outOfMemory,
// whether a model array or a scratch table could not be obtained, leaves `output` empty.
// Each kind of face is filled over `threads` threads (1: on the calling thread alone), each
// writing its own range of the output, so the result is the same for every count.
StepResult buildDooSabinStep(const ObjModel& input, const DooSabinPlan& plan, ObjModel& output,
                             int threads = 1);
