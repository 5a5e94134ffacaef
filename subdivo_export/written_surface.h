// The model as an export writes it: the level's positions, texture coordinates and faces with
// the normals chosen for the file. A view that borrows the level's arrays and owns only
// copies of its face records, whose index lists it points where the file's references go.
#pragma once

#include <vector>

#include "obj_model.h"

struct WrittenSurface {
    ObjModel model{};  // what the writer takes; never released with freeModelArrays
    std::vector<ObjFace> faces;
};

// A view of `level`: with `vertexNormals` (one per vertex) every corner's normal is its
// vertex's, else no normals; the level's own texture coordinates, if any. The vector and
// `level` must outlive the view.
void viewWrittenSurface(WrittenSurface& view, const ObjModel& level,
                        const std::vector<Vec3f>* vertexNormals);
