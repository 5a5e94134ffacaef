// The counts a lesson shows of a subdivision level: its vertices, edges and faces (by the kind
// of face the last step made), its Euler characteristic V - E + F, and those of the level one
// more step will make, told before that level is built.
#pragma once

#include <cstdint>

#include "obj_model.h"
#include "refinement_scheme.h"

struct LevelCounts {
    std::int64_t vertices = 0;  // vertices that some face uses
    std::int64_t edges = 0;
    std::int64_t faces = 0;
    std::int64_t corners = 0;
    bool kindsKnown = false;                       // the level was made by a step
    std::int64_t facesByKind[faceKindCount] = {};  // indexed by FaceKind
};

inline std::int64_t eulerCharacteristic(const LevelCounts& counts) {
    return counts.vertices - counts.edges + counts.faces;
}

// Counts the faces of `model`, the vertices they use and their edges (no kinds). False when the
// model breaks the record's rules or memory runs out.
bool countLevel(const ObjModel& model, LevelCounts& counts);

// Adds the faces by kind of `level`, made by a step of `scheme`: Doo-Sabin's by the colour the
// step gave each face, Catmull-Clark's and Loop's by the step's ranges.
void countFaceKinds(const ObjModel& level, SchemeKind scheme, LevelCounts& counts);

// The counts of the level one step of `scheme` makes from `model`, whose counts are `shown`:
// Catmull-Clark's and Loop's by their exact counts; Doo-Sabin's by planning the step, its
// edges those of the F-faces plus two sides of every E-face (exact on a manifold). False when
// the step cannot be planned (invalid model, counts too large, no memory).
bool forecastNextLevel(const ObjModel& model, SchemeKind scheme, const LevelCounts& shown,
                       LevelCounts& next);
