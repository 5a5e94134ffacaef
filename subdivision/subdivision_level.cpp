// The dispatch of a level to its scheme's driver.
#include "subdivision_level.h"

#include "doo_sabin_levels.h"
#include "model_size.h"
#include "scheme_levels.h"

bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                           const LevelRequest& request) {
    switch (request.scheme) {
        case SchemeKind::dooSabin: return applyDooSabinLevel(base, subdivided, level, request);
        case SchemeKind::catmullClark:
        case SchemeKind::loop: break;
    }
    return applySchemeLevel(base, subdivided, level, request);
}

bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                           std::uint64_t budgetBytes) {
    LevelRequest request;
    request.budgetBytes = budgetBytes;
    return applySubdivisionLevel(base, subdivided, level, request);
}

bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level) {
    return applySubdivisionLevel(base, subdivided, level, memoryBudgetBytes());
}
