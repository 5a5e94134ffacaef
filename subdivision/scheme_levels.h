// Subdivision levels of the Catmull-Clark and Loop schemes: the whole rebuild forecast from
// exact counts before anything is obtained, then the steps run on the core's flat arrays and
// only the last level made into a model record.
#pragma once

#include "level_request.h"
#include "obj_model.h"

// Brings `subdivided` (from `new ObjModel{}`) to `level` steps of the request's scheme
// (Catmull-Clark or Loop) from `base`, as applyDooSabinLevel does for Doo-Sabin: level 1
// refills the record, higher levels replace it. The level comes without normals, with the
// base's texture coordinates carried along when the request asks for them; its faces are
// coloured by kind (refinedFaceKinds). Refused, printing why on the error stream and changing
// nothing, when its forecast passes the request's budget or the record's counts, when the
// base breaks the record's rules, or (Loop) when the base has faces other than triangles.
// Should memory run out in spite of the forecast, `subdivided` is left an empty model.
bool applySchemeLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                      const LevelRequest& request);
