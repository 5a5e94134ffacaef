// One Doo-Sabin refinement of a polygon model: a new vertex for every corner, halfway between
// the corner's vertex and its face's centroid; then an F-face per face (red), a V-face per
// interior vertex (blue) and an E-face per interior edge (green), in that order.
#pragma once

#include <cstdint>

#include "model_size.h"
#include "obj_model.h"

enum class StepResult { built, invalidInput, countsTooLarge, overByteLimit, outOfMemory };

// Fills `output`, which must hold no arrays, with the refinement of `input`, which it only
// reads. Runs in time linear in the input's size (apart from the ordering of each V-face).
// False when `input` breaks the record's rules (an index out of range, a missing index list),
// when the refinement's counts would not fit 32 bits, or when memory runs out; `output` is
// then left empty, every field zero.
bool dooSabinStep(const ObjModel& input, ObjModel& output);

// dooSabinStep that also refuses, before obtaining any array, a refinement that would take
// more than `byteLimit` heap bytes (modelBytes of its size). The refinement's size goes to
// `size` when given, once the input has been found valid.
StepResult dooSabinStepWithin(const ObjModel& input, ObjModel& output, std::uint64_t byteLimit,
                              ModelSize* size = nullptr);

// The exact size of the refinement of `input`, computed without building it. False when the
// input breaks the record's rules or has more than 2^31 - 1 corners.
bool measureNextLevel(const ObjModel& input, ModelSize& next);
