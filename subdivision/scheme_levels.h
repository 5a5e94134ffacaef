// Subdivision levels of the Catmull-Clark and Loop schemes: the whole rebuild forecast from
// exact counts before anything is obtained, then the steps run on the core's flat arrays and
// only the last level made into a model record.
#pragma once

#include <cstdint>

#include "obj_model.h"
#include "refined_mesh.h"
#include "refinement_scheme.h"

// Told after each step: the step just built (1 to level), the level, the mesh that step made
// and the scheme. For reports; it must not change the mesh.
using MeshProgress = void (*)(int step, int level, const RefinedMesh& built, SchemeKind scheme);

// Brings `subdivided` (from `new ObjModel{}`) to `level` steps of `scheme` (Catmull-Clark or
// Loop) from `base`, as applySubdivisionLevel does for Doo-Sabin: level 1 refills the record,
// higher levels replace it. The level comes without normals and with the base's texture
// coordinates carried along; its faces are coloured by kind (refinedFaceKinds). Refused,
// printing why on the error stream and changing nothing, when its forecast passes
// `budgetBytes` or the record's counts, when the base breaks the record's rules, or (Loop)
// when the base has faces other than triangles. Should memory run out in spite of the
// forecast, `subdivided` is left an empty model. `progress` may be null.
bool applySchemeLevel(const ObjModel& base, ObjModel*& subdivided, int level, SchemeKind scheme,
                      std::uint64_t budgetBytes, MeshProgress progress);
