// The texture coordinates go through refineVertexData, the routine that moves any data per
// vertex through a step; Doo-Sabin's mask reads each face alone, so no topology is gathered.
#include "doo_sabin_tex_coords.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "refined_mesh.h"
#include "refinement_scheme.h"
#include "vertex_masks.h"

namespace {

bool texIndicesInRange(const ObjModel& base) {
    for (std::int32_t f = 0; f < base.numFaces; ++f) {
        const ObjFace& face = base.faces[f];
        if (face.numVertices > 0 && face.texCoordIndices == nullptr) return false;
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            if (face.texCoordIndices[j] < 0 || face.texCoordIndices[j] >= base.numTexCoords) {
                return false;
            }
        }
    }
    return true;
}

std::int32_t* copiedList(const std::int32_t* from, std::int32_t n) {
    auto* list = static_cast<std::int32_t*>(std::malloc(sizeof(std::int32_t) * std::size_t(n)));
    if (list != nullptr) std::memcpy(list, from, sizeof(std::int32_t) * std::size_t(n));
    return list;
}

void startCarrying(const ObjModel& base, DooSabinTexCoords& carried) {
    carried.texCoords.assign(base.texCoords, base.texCoords + base.numTexCoords);
    carried.faces = faceVertexArraysOf(base);
    carried.faces.numVertices = base.numTexCoords;
    for (std::int32_t f = 0; f < base.numFaces; ++f) {
        const ObjFace& face = base.faces[f];
        if (face.numVertices == 0) continue;
        std::memcpy(&carried.faces.cornerVertex[carried.faces.faceStart[f]], face.texCoordIndices,
                    sizeof(std::int32_t) * std::size_t(face.numVertices));
    }
    carried.carried = true;
}

void stepCarried(DooSabinTexCoords& carried, const ObjModel& refined, bool last) {
    std::vector<Vec3f> next(carried.faces.cornerVertex.size());
    refineVertexData(carried.faces, MeshTopology{}, SchemeKind::dooSabin, carried.texCoords.data(),
                     next.data());
    carried.texCoords = std::move(next);
    carried.faces = last ? FaceVertexArrays{} : faceVertexArraysOf(refined);
}

}  // namespace

// The carried arrays are standard containers: std::bad_alloc is caught here, at their edge.
bool startDooSabinTexCoords(const ObjModel& base, DooSabinTexCoords& carried) {
    carried = DooSabinTexCoords{};
    if (base.hasTexCoords == 0 || base.texCoords == nullptr || !texIndicesInRange(base)) {
        return true;
    }
    try {
        startCarrying(base, carried);
    } catch (const std::bad_alloc&) {
        carried = DooSabinTexCoords{};
        return false;
    }
    return true;
}

bool stepDooSabinTexCoords(DooSabinTexCoords& carried, const ObjModel& refined, bool last) {
    try {
        stepCarried(carried, refined, last);
    } catch (const std::bad_alloc&) {
        carried = DooSabinTexCoords{};
        return false;
    }
    return true;
}

bool attachDooSabinTexCoords(const DooSabinTexCoords& carried, ObjModel& level) {
    if (level.numVertices == 0) return true;
    level.texCoords =
        static_cast<Vec3f*>(std::malloc(sizeof(Vec3f) * std::size_t(level.numVertices)));
    if (level.texCoords == nullptr) return false;
    std::memcpy(level.texCoords, carried.texCoords.data(),
                sizeof(Vec3f) * std::size_t(level.numVertices));
    level.numTexCoords = level.numVertices;
    for (std::int32_t f = 0; f < level.numFaces; ++f) {
        ObjFace& face = level.faces[f];
        if (face.numVertices == 0) continue;
        face.texCoordIndices = copiedList(face.vertexIndices, face.numVertices);
        if (face.texCoordIndices == nullptr) return false;
    }
    level.hasTexCoords = 1;
    return true;
}
