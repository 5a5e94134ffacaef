// What a subdivision rebuild is asked for beyond its level, and what it tells after each step:
// one record for every scheme, so that the programs and the export tool call one driver.
#pragma once

#include <cstdint>
#include <vector>

#include "obj_model.h"
#include "refined_mesh.h"
#include "refinement_scheme.h"

// A step just built: the step (1 to level), the level, the scheme, the kinds of the faces it
// made (ranges in face order) and what it made: a Doo-Sabin step its model, a Catmull-Clark
// or Loop step its mesh in the core's arrays; the other is null.
struct BuiltStep {
    int step = 0;
    int level = 0;
    SchemeKind scheme = SchemeKind::dooSabin;
    const std::vector<FaceKindRange>* kinds = nullptr;
    const ObjModel* model = nullptr;
    const RefinedMesh* mesh = nullptr;
};

// Told after every step of a rebuild. For reports of progress; it must change nothing.
using LevelProgress = void (*)(const BuiltStep& built);

struct LevelRequest {
    SchemeKind scheme = SchemeKind::dooSabin;
    // Heap allowed at the rebuild's peak (the models and meshes held, the step's scratch).
    std::uint64_t budgetBytes = 0;
    LevelProgress progress = nullptr;  // may be null
    // The level carries the base's texture coordinates, when it has them, by the scheme's own
    // rule; without, it has none (as Subdivo draws its levels).
    bool texCoords = false;
    // Threads a step may split its work over; the result is the same for every count.
    int threads = 1;
};
