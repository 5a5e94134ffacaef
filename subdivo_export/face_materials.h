// The materials of an exported model: one per distinct face colour, so that the colours by
// kind of face that Subdivo shows survive in other programs as OBJ materials.
#pragma once

#include <string>
#include <vector>

#include "obj_model.h"
#include "refinement_scheme.h"

struct FaceMaterial {
    std::string name;
    float color[3];
};

// The distinct face colours of the model in order of first use, each with a name: the three
// colours of the Doo-Sabin step are "from_face", "from_vertex" and "from_edge", any other
// colour (the loaded model's) "face_colour_N", counting from 1.
std::vector<FaceMaterial> faceMaterials(const ObjModel& model);

// One material per range of a level whose kinds are known, in order of first use, named
// by kind and coloured as the faces of that kind are.
std::vector<FaceMaterial> kindMaterials(const std::vector<FaceKindRange>& kinds);

// The index of the material of that colour, trying `hint` first (faces come in runs of one
// colour); -1 when none has it.
int materialOf(const std::vector<FaceMaterial>& materials, const float (&color)[3], int hint);
