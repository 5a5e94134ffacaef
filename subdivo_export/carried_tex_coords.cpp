// The same arithmetic as the step's positions, in single precision: the face's mean summed
// with weight 1/n corner by corner, then both halves added.
#include "carried_tex_coords.h"

#include <cstddef>

#include "vector3.h"

namespace {

Vec3f faceMean(const Vec3f* corners, std::int32_t n) {
    return centroidWeighingEachCorner<Vec3f>(n, [&](int j) -> const Vec3f& { return corners[j]; });
}

}  // namespace

TexCoordCarry startTexCoordCarry(const ObjModel& base) {
    TexCoordCarry carry;
    carry.faces = base.numFaces;
    for (std::int32_t f = 0; f < base.numFaces; ++f) {
        const ObjFace& face = base.faces[f];
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            carry.cornerTexCoords.push_back(base.texCoords[face.texCoordIndices[j]]);
        }
    }
    return carry;
}

void carryTexCoordsThroughStep(TexCoordCarry& carry, const ObjModel& refined, bool last) {
    carry.vertexTexCoords.assign(static_cast<std::size_t>(refined.numVertices),
                                 Vec3f{0.0f, 0.0f, 0.0f});
    std::size_t corner = 0;
    for (std::int32_t f = 0; f < carry.faces; ++f) {
        const ObjFace& remade = refined.faces[f];
        if (remade.numVertices == 0) continue;
        const Vec3f* corners = &carry.cornerTexCoords[corner];
        const Vec3f mean = faceMean(corners, remade.numVertices);
        for (std::int32_t j = 0; j < remade.numVertices; ++j) {
            carry.vertexTexCoords[std::size_t(remade.vertexIndices[j])] = halfway(corners[j], mean);
        }
        corner += std::size_t(remade.numVertices);
    }
    carry.faces = refined.numFaces;
    carry.cornerTexCoords.clear();
    if (last) {
        carry.cornerTexCoords.shrink_to_fit();
        return;
    }
    for (std::int32_t f = 0; f < refined.numFaces; ++f) {
        const ObjFace& face = refined.faces[f];
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            carry.cornerTexCoords.push_back(carry.vertexTexCoords[face.vertexIndices[j]]);
        }
    }
}
