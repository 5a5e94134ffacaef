// One Doo-Sabin refinement of a polygon model: a new vertex for every corner, halfway between
// the corner's vertex and its face's centroid; then an F-face per face (red), a V-face per
// interior vertex (blue) and an E-face per interior edge (green), in that order. A V-face goes
// round its vertex in the turn of the faces there when they form one fan, so a closed,
// consistently turned manifold refines into another, however saddled or folded; elsewhere its
// corners are ordered by position about the vertex's reference normal.
#pragma once

#include <cstdint>

#include "corner_topology.h"
#include "model_size.h"
#include "obj_model.h"

// The colours (r, g, b) the step gives its faces by kind, for anything that shows or names them.
constexpr float faceFromFaceColor[3] = {1.0f, 0.0f, 0.0f};
constexpr float faceFromVertexColor[3] = {0.0f, 0.0f, 1.0f};
constexpr float faceFromEdgeColor[3] = {0.0f, 1.0f, 0.0f};

enum class StepResult { built, invalidInput, countsTooLarge, outOfMemory };

// A step gathered but not built: the input's corners by face, vertex and edge, and the exact
// size of the refinement. It holds the step's scratch until it goes.
struct DooSabinPlan {
    CornerTopology topology;
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

// Heap bytes the step's scratch takes at most for an input of that size: the corner topology
// and the step's own per-vertex and per-face arrays.
std::uint64_t stepScratchBytes(const ModelSize& input);

// The second half: fills `output` (holding no arrays) from `input` and its plan. outOfMemory,
// whether a model array or a scratch table could not be obtained, leaves `output` empty.
StepResult buildDooSabinStep(const ObjModel& input, const DooSabinPlan& plan, ObjModel& output);
