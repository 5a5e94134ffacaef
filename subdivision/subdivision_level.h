// The subdivided model shown for a subdivision level: rebuilt from the base model by that many
// steps (Doo-Sabin unless a scheme is named), every intermediate model released as soon as the next exists, and a level
// refused when its model would overflow the record's counts or the memory budget.
#pragma once

#include <cstdint>

#include "obj_model.h"
#include "refinement_scheme.h"
#include "scheme_levels.h"

// Brings `subdivided` to `level` Doo-Sabin steps of `base`, releasing every intermediate
// model as soon as the next exists. Level 0 or less: nothing is rebuilt or released,
// returns true. Returns false, changing nothing and printing why on the error stream,
// when the model of that level would not fit the memory budget or its 32-bit counts.
// `subdivided` must come from `new ObjModel{}`: level 1 refills that record, higher levels
// replace it by a new one and delete it. No level is too deep in itself: a model that does not
// grow is built at any level. Should memory run out in spite of the budget, `subdivided` may
// be left an empty model (false is returned).
bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level);

// The same with `budgetBytes` of heap allowed at the rebuild's peak (the input and output of
// the step under way, its scratch, and any model kept meanwhile) instead of memoryBudgetBytes().
bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                           std::uint64_t budgetBytes);

// Told after each Doo-Sabin step of a rebuild: the step just built (1 to level), the level,
// and the model that step made. For reports of progress; it must not change the model.
using StepProgress = void (*)(int step, int level, const ObjModel& built);

// The same as above, with `progress` (may be null) told after every step.
bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                           std::uint64_t budgetBytes, StepProgress progress);

// What a rebuild tells after each step: a Doo-Sabin step its model, a Catmull-Clark or Loop
// step its mesh in the core's arrays. Either may be null.
struct LevelProgress {
    StepProgress dooSabin = nullptr;
    MeshProgress refined = nullptr;
};

// The same for any scheme: Doo-Sabin as above, Catmull-Clark and Loop by applySchemeLevel.
bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                           SchemeKind scheme, std::uint64_t budgetBytes, LevelProgress progress);
