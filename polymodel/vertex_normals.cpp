// Vertex normals as sums of unnormalised face normals, in single precision, face by face in
// file order.
#include "vertex_normals.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "face_geometry.h"

void computeVertexNormals(ObjModel* model) {
    // Sum the faces' normals apart from the file's values, which stay as the fallback.
    std::vector<Vec3f> sums(static_cast<std::size_t>(model->numNormals), Vec3f{0.0f, 0.0f, 0.0f});
    std::vector<bool> referenced(sums.size(), false);
    for (std::int32_t f = 0; f < model->numFaces; ++f) {
        const ObjFace& face = model->faces[f];
        if (face.normalIndices == nullptr || face.numVertices < 3) continue;
        const Vec4f* v = model->vertices;
        const Vec3f n = firstCornersNormal(v[face.vertexIndices[0]], v[face.vertexIndices[1]],
                                           v[face.vertexIndices[2]]);
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            const std::size_t index = static_cast<std::size_t>(face.normalIndices[j]);
            sums[index] = sums[index] + n;
            referenced[index] = true;
        }
    }
    const Vec3f up = {0.0f, 1.0f, 0.0f};
    for (std::int32_t i = 0; i < model->numNormals; ++i) {
        const Vec3f fromFile = normalizedOr(model->normals[i], up);
        model->normals[i] =
            referenced[static_cast<std::size_t>(i)] ? normalizedOr(sums[i], fromFile) : fromFile;
    }
}
