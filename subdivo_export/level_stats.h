// subdivo-export's --stats: one line per level on the error stream with the level's
// vertices, edges, faces by kind and Euler characteristic (measured on the built faces), the
// step's time and the process's peak memory so far.
#pragma once

#include "level_request.h"
#include "obj_model.h"

// Starts the clock of the first step; from now on the report functions print.
void startLevelStats();

// The line of the loaded model, level 0 (no step time).
void reportBaseStats(const ObjModel& base);

// Fits the level driver's LevelProgress, for every scheme: faces counted by the kinds told.
void reportLevelStats(const BuiltStep& built);
