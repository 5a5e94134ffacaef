// Subdivision levels of the Doo-Sabin step: forecast from the exact size of the first level
// and a bound of the later ones, then built step by step on model records, each intermediate
// model released as soon as the next exists.
#pragma once

#include "level_request.h"
#include "obj_model.h"

// Brings `subdivided` (from `new ObjModel{}`) to `level` Doo-Sabin steps of `base`: level 1
// refills that record, higher levels replace it by a new one and delete it. Level 0 or less:
// nothing is rebuilt or released, returns true. Returns false, changing nothing and printing
// why on the error stream, when the model of that level would not fit the request's budget
// or its 32-bit counts. No level is too deep in itself: a model that does not grow is built
// at any level. Should memory run out in spite of the budget, `subdivided` may be left an
// empty model (false is returned).
bool applyDooSabinLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                        const LevelRequest& request);
