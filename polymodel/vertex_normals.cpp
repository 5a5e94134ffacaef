// Vertex normals as sums of unnormalised face normals, in single precision, face by face in
// file order.
#include "vertex_normals.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "face_geometry.h"

namespace {

// (P1 - P0) × (P2 - P1) of the face's first three corners, not normalised, so that larger faces
// weigh more; further corners take no part.
Vec3f firstCornersCross(const ObjModel& model, const ObjFace& face) {
    const Vec4f& p0 = model.vertices[face.vertexIndices[0]];
    const Vec4f& p1 = model.vertices[face.vertexIndices[1]];
    const Vec4f& p2 = model.vertices[face.vertexIndices[2]];
    return cross(between(p0, p1), between(p1, p2));
}

}  // namespace

void computeVertexNormals(ObjModel* model) {
    // Sum the faces' normals apart from the file's values, which stay as the fallback.
    std::vector<Vec3f> sums(static_cast<std::size_t>(model->numNormals), Vec3f{0.0f, 0.0f, 0.0f});
    std::vector<bool> referenced(sums.size(), false);
    for (std::int32_t f = 0; f < model->numFaces; ++f) {
        const ObjFace& face = model->faces[f];
        if (face.normalIndices == nullptr || face.numVertices < 3) continue;
        const Vec3f n = firstCornersCross(*model, face);
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            const std::size_t index = static_cast<std::size_t>(face.normalIndices[j]);
            sums[index] = {sums[index].x + n.x, sums[index].y + n.y, sums[index].z + n.z};
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
