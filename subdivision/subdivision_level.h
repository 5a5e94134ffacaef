// The subdivided model shown for a subdivision level, for every scheme: the one entry of the
// level drivers, which picks the scheme's own (doo_sabin_levels, scheme_levels). A level is
// rebuilt from the base model, and refused when its model would overflow the record's counts
// or the memory budget.
#pragma once

#include <cstdint>

#include "level_request.h"
#include "obj_model.h"

// Brings `subdivided` to `level` steps of the request's scheme from `base`. Level 0 or less:
// nothing is rebuilt or released, returns true. Returns false, changing nothing and printing
// why on the error stream, when the level is refused (its forecast passes the budget or the
// record's counts, the base breaks the record's rules, or Loop meets a face other than a
// triangle). `subdivided` must come from `new ObjModel{}`: level 1 refills that record,
// higher levels replace it by a new one and delete it. Should memory run out in spite of the
// forecast, `subdivided` may be left an empty model (false is returned).
bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                           const LevelRequest& request);

// Doo-Sabin, as Subdivo shows it, with `budgetBytes` of heap allowed at the rebuild's peak.
bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                           std::uint64_t budgetBytes);

// The same within memoryBudgetBytes().
bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level);
