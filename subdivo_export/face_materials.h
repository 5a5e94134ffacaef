// The materials of an exported model, so that the colours by kind of face that Subdivo shows
// survive in other programs as OBJ materials.
#pragma once

#include <string>
#include <vector>

#include "obj_model.h"
#include "refinement_scheme.h"

struct FaceMaterial {
    std::string name;
    float color[3];
};

// The materials of a model with no kinds of face (the loaded model): its distinct face
// colours in order of first use, named "face_colour_N", counting from 1.
std::vector<FaceMaterial> colourMaterials(const ObjModel& model);

// The materials of a subdivided level: one per kind of face its ranges hold, in order of
// first use, named by kind ("from_face", "from_vertex", "from_edge") and coloured as the
// faces of that kind are.
std::vector<FaceMaterial> kindMaterials(const std::vector<FaceKindRange>& kinds);

// The index of the material of that colour, trying `hint` first (faces come in runs of one
// colour); -1 when none has it.
int materialOf(const std::vector<FaceMaterial>& materials, const float (&color)[3], int hint);
