// Sums in double precision, so that thousands of small faces around a vertex of a fine level
// add up without losing the small ones.
#include "surface_normals.h"

#include <cmath>
#include <cstddef>

#include "face_geometry.h"

namespace {

struct NormalSum {
    double x = 0, y = 0, z = 0;
    double lengths = 0;                  // the faces' normals' lengths, summed
    Vec3f largest = {0.0f, 0.0f, 0.0f};  // the normal of the largest face so far
    double largestLength = 0;
};

// A sum shorter than this share of its parts' lengths is taken as cancelled: its direction is
// rounding noise.
constexpr double cancelledShare = 1e-6;

void addFace(NormalSum& sum, const Vec3f& n) {
    const double length = std::sqrt(double(n.x) * n.x + double(n.y) * n.y + double(n.z) * n.z);
    sum.x += n.x;
    sum.y += n.y;
    sum.z += n.z;
    sum.lengths += length;
    if (length > sum.largestLength) {
        sum.largestLength = length;
        sum.largest = n;
    }
}

Vec3f unitNormal(const NormalSum& sum) {
    const double length = std::sqrt(sum.x * sum.x + sum.y * sum.y + sum.z * sum.z);
    if (length > cancelledShare * sum.lengths && std::isfinite(length)) {
        return {float(sum.x / length), float(sum.y / length), float(sum.z / length)};
    }
    return normalizedOr(sum.largest, {0.0f, 1.0f, 0.0f});
}

}  // namespace

std::vector<Vec3f> surfaceVertexNormals(const ObjModel& model) {
    std::vector<NormalSum> sums(static_cast<std::size_t>(model.numVertices));
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        if (face.numVertices < 3) continue;
        const Vec3f n = newellNormal(face, model.vertices);
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            addFace(sums[static_cast<std::size_t>(face.vertexIndices[j])], n);
        }
    }
    std::vector<Vec3f> normals;
    normals.reserve(sums.size());
    for (const NormalSum& sum : sums) normals.push_back(unitNormal(sum));
    return normals;
}
