// subdivo-export's --stats: one line per level on the error stream with the level's
// vertices, edges, faces by kind and Euler characteristic (measured on the built faces), the
// step's time and the process's peak memory so far.
#pragma once

#include "obj_model.h"
#include "refined_mesh.h"
#include "refinement_scheme.h"

// Starts the clock of the first step; from now on the report functions print.
void startLevelStats();

// The line of the loaded model, level 0 (no step time).
void reportBaseStats(const ObjModel& base);

// Fits the level driver's StepProgress (Doo-Sabin, kinds told by the faces' colours).
void reportModelStats(int step, int level, const ObjModel& built);

// Fits the level driver's MeshProgress (Catmull-Clark, Loop: kinds as ranges).
void reportMeshStats(int step, int level, const RefinedMesh& built, SchemeKind scheme);
