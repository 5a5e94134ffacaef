// The fallbacks of new normals whose sums cancel out.
#include "face_normals.h"

Vec3f canceledCornerNormal(Vec3f faceNormal, const ObjFace& face, const Vec4f* vertices) {
    // The new vertex lies inside its face, so the face's own direction stands in for it.
    Vec3f fromFace = faceNormal;
    if (scaleToUnit(fromFace)) return fromFace;
    return normalizedOr(newellNormal(face, vertices), {0.0f, 1.0f, 0.0f});
}
