// The mask face by face over flat face-vertex arrays.
#include "doo_sabin_masks.h"

namespace {

template <typename Data>
void placePoints(const FaceVertexArrays& faces, const Data* parent, Data* child) {
    for (std::int32_t f = 0; f < faceCount(faces); ++f) {
        const std::int32_t first = faces.faceStart[f], end = faces.faceStart[f + 1];
        if (end == first) continue;
        const std::int32_t* corners = &faces.cornerVertex[first];
        placeFaceCornerPoints<Data>(
            end - first, [&](int j) -> const Data& { return parent[corners[j]]; }, child + first);
    }
}

}  // namespace

void placeDooSabinPoints(const FaceVertexArrays& faces, const Vec4f* parent, Vec4f* child) {
    placePoints(faces, parent, child);
}

void placeDooSabinPoints(const FaceVertexArrays& faces, const Vec3f* parent, Vec3f* child) {
    placePoints(faces, parent, child);
}
