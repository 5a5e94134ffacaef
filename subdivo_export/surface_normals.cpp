// Sums in double precision, so that thousands of small faces around a vertex of a fine level
// add up without losing the small ones. The search at folds looks at the faces of the few
// vertices whose sum fails, gathered in a second pass.
#include "surface_normals.h"

#include <cmath>
#include <cstddef>
#include <unordered_map>

#include "face_geometry.h"

namespace {

// The smallest cosine between `n` and the faces' unit normals: above 0 when `n` faces them all.
double leastCosine(const Vec3d& n, const std::vector<Vec3d>& faces) {
    double least = 2.0;
    for (const Vec3d& face : faces) least = std::fmin(least, dot(n, face));
    return least;
}

// Of the candidates named in the header, the one whose smallest cosine is the largest.
Vec3d mostFacingDirection(const std::vector<Vec3d>& faces) {
    Vec3d best = faces[0];
    double bestCosine = leastCosine(best, faces);
    const auto consider = [&](Vec3d candidate) {
        if (!scaleToUnit(candidate)) return;
        const double cosine = leastCosine(candidate, faces);
        if (cosine > bestCosine) {
            best = candidate;
            bestCosine = cosine;
        }
    };
    const std::size_t n = faces.size();
    for (std::size_t i = 0; i < n; ++i) consider(faces[i]);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) consider(faces[i] + faces[j]);
    }
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            for (std::size_t k = j + 1; k < n; ++k) {
                // Equally far from a, b and c: along ±(a × b + b × c + c × a).
                const Vec3d& a = faces[i];
                const Vec3d& b = faces[j];
                const Vec3d& c = faces[k];
                const Vec3d m = cross(a, b) + cross(b, c) + cross(c, a);
                consider(dot(m, a) >= 0 ? m : Vec3d{-m.x, -m.y, -m.z});
            }
        }
    }
    return best;
}

// Each face's Newell normal: zero for a face of fewer than 3 corners.
std::vector<Vec3f> faceNormals(const ObjModel& model) {
    std::vector<Vec3f> normals(static_cast<std::size_t>(model.numFaces));
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        normals[std::size_t(f)] = newellNormal(model.faces[f], model.vertices);
    }
    return normals;
}

// The vertices whose summed normal lies behind (or along) one of their faces, or has no
// length, each with the unit normals of its faces.
using Folds = std::unordered_map<std::int32_t, std::vector<Vec3d>>;

Folds findFolds(const ObjModel& model, const std::vector<Vec3f>& faces,
                const std::vector<Vec3d>& sums, const std::vector<bool>& summed) {
    Folds folds;
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const Vec3f& n = faces[std::size_t(f)];
        if (n.x == 0.0f && n.y == 0.0f && n.z == 0.0f) continue;
        const ObjFace& face = model.faces[f];
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            const std::size_t v = std::size_t(face.vertexIndices[j]);
            if (summed[v] && dot(sums[v], toDouble(n)) > 0.0) continue;
            folds[face.vertexIndices[j]];
        }
    }
    if (folds.empty()) return folds;
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const Vec3f& n = faces[std::size_t(f)];
        Vec3d unit = toDouble(n);
        if (!scaleToUnit(unit)) continue;
        const ObjFace& face = model.faces[f];
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            const auto fold = folds.find(face.vertexIndices[j]);
            if (fold != folds.end()) fold->second.push_back(unit);
        }
    }
    return folds;
}

}  // namespace

std::vector<Vec3f> surfaceVertexNormals(const ObjModel& model) {
    const std::size_t count = static_cast<std::size_t>(model.numVertices);
    const std::vector<Vec3f> faces = faceNormals(model);
    std::vector<Vec3d> sums(count);
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        const Vec3f& n = faces[std::size_t(f)];
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            Vec3d& sum = sums[std::size_t(face.vertexIndices[j])];
            sum = sum + toDouble(n);
        }
    }
    std::vector<bool> summed(count);
    for (std::size_t v = 0; v < count; ++v) summed[v] = scaleToUnit(sums[v]);
    std::vector<Vec3f> normals(count, Vec3f{0.0f, 1.0f, 0.0f});
    for (std::size_t v = 0; v < count; ++v) {
        if (summed[v]) normals[v] = toFloat(sums[v]);
    }
    for (const auto& fold : findFolds(model, faces, sums, summed)) {
        const std::vector<Vec3d>& around = fold.second;
        if (around.empty()) continue;
        const std::size_t v = std::size_t(fold.first);
        if (around.size() <= foldSearchFaceLimit) {
            normals[v] = toFloat(mostFacingDirection(around));
        } else if (!summed[v]) {
            normals[v] = toFloat(around[0]);
        }
    }
    return normals;
}
