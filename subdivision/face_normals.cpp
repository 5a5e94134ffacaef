// Geometric normals of faces, and the fallbacks of new normals whose sums cancel out.
#include "face_normals.h"

Vec3f newellNormal(const ObjFace& face, const Vec4f* vertices) {
    // Summed in double so that large flat polygons keep their direction.
    double x = 0.0, y = 0.0, z = 0.0;
    const std::int32_t n = face.numVertices;
    if (n < 3) return {0.0f, 0.0f, 0.0f};
    for (std::int32_t j = 0; j < n; ++j) {
        const Vec4f& p = vertices[face.vertexIndices[j]];
        const Vec4f& q = vertices[face.vertexIndices[j + 1 == n ? 0 : j + 1]];
        x += (double(p.y) - q.y) * (double(p.z) + q.z);
        y += (double(p.z) - q.z) * (double(p.x) + q.x);
        z += (double(p.x) - q.x) * (double(p.y) + q.y);
    }
    return {float(x), float(y), float(z)};
}

static bool isZero(Vec3f v) { return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f; }

Vec3f cancelledCornerNormal(Vec3f faceNormal, const ObjFace& face, const Vec4f* vertices) {
    // The new vertex lies inside its face, so the face's own direction stands in for it.
    const Vec3f none = {0.0f, 0.0f, 0.0f};
    const Vec3f fromFace = normalizedOr(faceNormal, none);
    if (!isZero(fromFace)) return fromFace;
    return normalizedOr(newellNormal(face, vertices), {0.0f, 1.0f, 0.0f});
}
