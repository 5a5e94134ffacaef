// The texture coordinates of a Doo-Sabin level. The step builds its models without them, so
// they go beside the steps as data of their own, on faces of their own (the texture indices
// of the base, then each level's faces, whose every vertex has one texture coordinate), moved
// through each step by the refinement core's routine with Doo-Sabin's mask.
#pragma once

#include <vector>

#include "mesh_topology.h"
#include "obj_model.h"

struct DooSabinTexCoords {
    bool carried = false;          // the base has texture coordinates to carry
    FaceVertexArrays faces;        // the latest model's faces on its texture coordinates
    std::vector<Vec3f> texCoords;  // one per vertex of `faces`
};

// The three functions return false when memory runs out (no exception leaves them).

// Starts from the base's texture coordinates and texture indices; nothing is carried when the
// base has none, or an index outside its array.
bool startDooSabinTexCoords(const ObjModel& base, DooSabinTexCoords& carried);

// Moves on to `refined`, the step's refinement of the latest model: its vertices are that
// model's corners. Its faces are noted for the next step unless `last`.
bool stepDooSabinTexCoords(DooSabinTexCoords& carried, const ObjModel& refined, bool last);

// Gives `level` (holding no texture coordinates, with a vertex per texture coordinate
// carried) the texture coordinates carried to it, each corner's that of its vertex; what was
// obtained when memory runs out stays for freeModelArrays.
bool attachDooSabinTexCoords(const DooSabinTexCoords& carried, ObjModel& level);
