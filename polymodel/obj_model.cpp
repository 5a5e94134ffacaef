// Storage of the polygon model: one general-purpose allocator for every array.
#include "obj_model.h"

#include <cstdlib>

std::int32_t primitiveForCorners(std::int32_t corners) {
    if (corners == 3) return primitiveTriangles;
    if (corners == 4) return primitiveQuads;
    return primitivePolygon;
}

template <typename T>
static bool obtainArray(T*& field, std::int32_t count, bool zeroed) {
    if (count <= 0) return true;
    const std::size_t n = static_cast<std::size_t>(count);
    void* memory = zeroed ? std::calloc(n, sizeof(T)) : std::malloc(n * sizeof(T));
    field = static_cast<T*>(memory);
    return field != nullptr;
}

bool allocateModelArrays(ObjModel* model) {
    return obtainArray(model->vertices, model->numVertices, false) &&
           obtainArray(model->texCoords, model->numTexCoords, false) &&
           obtainArray(model->normals, model->numNormals, false) &&
           obtainArray(model->faces, model->numFaces, true);
}

template <typename T>
static void releaseArray(T*& field) {
    std::free(field);
    field = nullptr;
}

void freeModelArrays(ObjModel* model) {
    if (model == nullptr) return;
    releaseArray(model->vertices);
    releaseArray(model->texCoords);
    releaseArray(model->normals);
    if (model->faces == nullptr) return;
    for (std::int32_t f = 0; f < model->numFaces; ++f) {
        ObjFace& face = model->faces[f];
        releaseArray(face.vertexIndices);
        releaseArray(face.texCoordIndices);
        releaseArray(face.normalIndices);
    }
    releaseArray(model->faces);
}
