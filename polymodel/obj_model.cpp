// Storage of the polygon model: one general-purpose allocator for every array.
#include "obj_model.h"

#include <cstdlib>

std::int32_t primitiveForCorners(std::int32_t corners) {
    if (corners == 3) return primitiveTriangles;
    if (corners == 4) return primitiveQuads;
    return primitivePolygon;
}

namespace {

// What a freshly obtained array holds: whatever was there, or zeros.
enum class Contents { unset, zeroed };

template <typename T>
bool obtainArray(T*& field, std::int32_t count, Contents contents) {
    if (count <= 0) return true;
    const std::size_t n = static_cast<std::size_t>(count);
    void* memory =
        contents == Contents::zeroed ? std::calloc(n, sizeof(T)) : std::malloc(n * sizeof(T));
    field = static_cast<T*>(memory);
    return field != nullptr;
}

template <typename T>
void releaseArray(T*& field) {
    std::free(field);
    field = nullptr;
}

}  // namespace

bool allocateModelArrays(ObjModel* model) {
    return obtainArray(model->vertices, model->numVertices, Contents::unset) &&
           obtainArray(model->texCoords, model->numTexCoords, Contents::unset) &&
           obtainArray(model->normals, model->numNormals, Contents::unset) &&
           obtainArray(model->faces, model->numFaces, Contents::zeroed);
}

void freeModelArrays(ObjModel* model) {
    if (model == nullptr) return;
    releaseArray(model->vertices);
    releaseArray(model->texCoords);
    releaseArray(model->normals);
    if (model->faces == nullptr) return;
    // The faces go with their array, so their fields are left as they are; a model of millions
    // of faces spends its release in these calls, the absent lists skipped without one.
    for (std::int32_t f = 0; f < model->numFaces; ++f) {
        const ObjFace& face = model->faces[f];
        if (face.vertexIndices != nullptr) std::free(face.vertexIndices);
        if (face.texCoordIndices != nullptr) std::free(face.texCoordIndices);
        if (face.normalIndices != nullptr) std::free(face.normalIndices);
    }
    releaseArray(model->faces);
}
