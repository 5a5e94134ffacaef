// Texture coordinates carried through the subdivision levels beside the Doo-Sabin step, which
// builds its levels without them: by the rule that places the step's vertices. Each new vertex
// is made for one corner of one face, halfway between the corner and the face's centroid; its
// texture coordinate is halfway between the corner's and the face's mean texture coordinate.
#pragma once

#include <cstdint>
#include <vector>

#include "obj_model.h"

struct TexCoordCarry {
    std::vector<Vec3f> cornerTexCoords;  // per corner of the latest model, faces in order
    std::vector<Vec3f> vertexTexCoords;  // per vertex of the latest refinement; none at level 0
    std::int32_t faces = 0;              // faces of the latest model
};

// Starts from the loaded model's texture coordinates, taken corner by corner through its
// texture indices. The model must carry them.
TexCoordCarry startTexCoordCarry(const ObjModel& base);

// Moves on to `refined`, the step's refinement of the latest model. Its first faces are that
// model's faces remade one for one, corner for corner, and each of their corners is the new
// vertex made for that corner: so the new vertices' texture coordinates follow from the latest
// model's corners alone. The corners of `refined` are noted for the next step unless `last`.
void carryTexCoordsThroughStep(TexCoordCarry& carry, const ObjModel& refined, bool last);
