// The Catmull-Clark and Loop levels against OpenSubdiv's uniform refinement with its "edge
// and corner" boundary rule, an independent reader of the same surfaces: on generated meshes
// (closed, open, mixed polygons, high valence, genus 1) at levels 1 to 3, the same vertex and
// face counts, the same face sizes, and every vertex of each within 1e-5 of the bounding-box
// diagonal of a vertex of the other.
#include <gtest/gtest.h>
#include <opensubdiv/far/primvarRefiner.h>
#include <opensubdiv/far/topologyDescriptor.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "subdivision_level.h"
#include "test_meshes.h"

namespace {

using namespace OpenSubdiv;

struct OsdPoint {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    void Clear(void* = nullptr) { x = y = z = 0.0f; }
    void AddWithWeight(const OsdPoint& p, float w) {
        x += w * p.x;
        y += w * p.y;
        z += w * p.z;
    }
};

struct Level {
    std::vector<OsdPoint> points;
    std::map<int, int> faceSizes;  // corners -> faces
};

Level osdLevel(const MeshSource& mesh, Sdc::SchemeType type, int level) {
    std::vector<int> sizes, indices;
    for (const auto& face : mesh.faces) {
        sizes.push_back(int(face.size()));
        indices.insert(indices.end(), face.begin(), face.end());
    }
    Far::TopologyDescriptor descriptor;
    descriptor.numVertices = int(mesh.positions.size());
    descriptor.numFaces = int(mesh.faces.size());
    descriptor.numVertsPerFace = sizes.data();
    descriptor.vertIndicesPerFace = indices.data();
    Sdc::Options options;
    options.SetVtxBoundaryInterpolation(Sdc::Options::VTX_BOUNDARY_EDGE_AND_CORNER);
    using Factory = Far::TopologyRefinerFactory<Far::TopologyDescriptor>;
    std::unique_ptr<Far::TopologyRefiner> refiner(Factory::Create(descriptor,
                                                                  Factory::Options(type, options)));
    refiner->RefineUniform(Far::TopologyRefiner::UniformOptions(level));
    std::vector<OsdPoint> points;
    for (const Vec4f& p : mesh.positions) points.push_back({p.x, p.y, p.z});
    const Far::PrimvarRefiner primvars(*refiner);
    for (int l = 1; l <= level; ++l) {
        std::vector<OsdPoint> next(std::size_t(refiner->GetLevel(l).GetNumVertices()));
        primvars.Interpolate(l, points, next);
        points.swap(next);
    }
    Level result{points, {}};
    const Far::TopologyLevel& last = refiner->GetLevel(level);
    for (int f = 0; f < last.GetNumFaces(); ++f) ++result.faceSizes[last.GetFaceVertices(f).size()];
    return result;
}

Level ourLevel(const MeshSource& mesh, SchemeKind scheme, int level) {
    const OwnedModel base = buildModel(mesh, NormalSharing::none);
    ObjModel* shown = new ObjModel{};
    Level result;
    if (applySubdivisionLevel(base.model, shown, level, {scheme, std::uint64_t{1} << 34})) {
        for (std::int32_t v = 0; v < shown->numVertices; ++v) {
            result.points.push_back({shown->vertices[v].x, shown->vertices[v].y,
                                     shown->vertices[v].z});
        }
        for (std::int32_t f = 0; f < shown->numFaces; ++f) {
            ++result.faceSizes[shown->faces[f].numVertices];
        }
    }
    freeModelArrays(shown);
    delete shown;
    return result;
}

float boxDiagonal(const std::vector<OsdPoint>& points) {
    OsdPoint low = points[0], high = points[0];
    for (const OsdPoint& p : points) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    return std::sqrt((high.x - low.x) * (high.x - low.x) + (high.y - low.y) * (high.y - low.y) +
                     (high.z - low.z) * (high.z - low.z));
}

// The largest distance from a point of `from` to its nearest point of `to`, searched in a
// grid of cells of side `cell`; a point with none within one cell counts as `cell`.
float largestDeviation(const std::vector<OsdPoint>& from, const std::vector<OsdPoint>& to,
                       float cell) {
    using Cell = std::int64_t;
    const auto cellOf = [cell](float c) { return Cell(std::floor(c / cell)); };
    const auto key = [](Cell x, Cell y, Cell z) {
        return ((x & 0x1fffff) << 42) | ((y & 0x1fffff) << 21) | (z & 0x1fffff);
    };
    std::unordered_map<Cell, std::vector<std::size_t>> grid;
    for (std::size_t i = 0; i < to.size(); ++i) {
        grid[key(cellOf(to[i].x), cellOf(to[i].y), cellOf(to[i].z))].push_back(i);
    }
    float largest = 0.0f;
    for (const OsdPoint& p : from) {
        float nearest = cell;
        const Cell x = cellOf(p.x), y = cellOf(p.y), z = cellOf(p.z);
        for (Cell dx = -1; dx <= 1; ++dx) {
            for (Cell dy = -1; dy <= 1; ++dy) {
                for (Cell dz = -1; dz <= 1; ++dz) {
                    const auto found = grid.find(key(x + dx, y + dy, z + dz));
                    if (found == grid.end()) continue;
                    for (const std::size_t i : found->second) {
                        const OsdPoint& q = to[i];
                        nearest = std::min(nearest, std::sqrt((p.x - q.x) * (p.x - q.x) +
                                                              (p.y - q.y) * (p.y - q.y) +
                                                              (p.z - q.z) * (p.z - q.z)));
                    }
                }
            }
        }
        largest = std::max(largest, nearest);
    }
    return largest;
}

// A closed cone of `sides`: a triangle fan about the apex (of valence `sides`) on a base of
// one polygon.
MeshSource coneMesh(int sides) {
    MeshSource mesh;
    for (int i = 0; i < sides; ++i) {
        const float turn = 2.0f * 3.14159265f * float(i) / float(sides);
        mesh.positions.push_back(point(std::cos(turn), std::sin(turn), 0.0f));
    }
    mesh.positions.push_back(point(0.0f, 0.0f, 1.5f));
    std::vector<std::int32_t> base;
    for (int i = 0; i < sides; ++i) {
        mesh.faces.push_back({i, (i + 1) % sides, sides});
        base.push_back(sides - 1 - i);
    }
    mesh.faces.push_back(base);
    return mesh;
}

// Every face of more than three corners split into a fan of triangles from its first corner.
MeshSource triangulated(const MeshSource& mesh) {
    MeshSource result{mesh.positions, {}};
    for (const auto& face : mesh.faces) {
        for (std::size_t j = 1; j + 1 < face.size(); ++j) {
            result.faces.push_back({face[0], face[j], face[j + 1]});
        }
    }
    return result;
}

struct Case {
    const char* name;
    MeshSource mesh;
};

std::vector<Case> cases() {
    const auto saddle = [](int c, int r) { return 0.15f * float((c - 2) * (r - 1)); };
    return {{"closed cube", cubeMesh()},
            {"closed mixed prism", pentagonalPrismMesh()},
            {"open saddle grid", gridMesh(4, 3, saddle)},
            {"open single quad", singleQuadMesh()},
            {"high valence cone", coneMesh(16)},
            {"genus 1 torus", quadTorusMesh(12, 8)},
            {"closed octahedron", octahedronMesh()}};
}

float largestSeen = 0.0f;
int compared = 0;

void compareScheme(SchemeKind scheme, Sdc::SchemeType osdScheme) {
    for (const Case& c : cases()) {
        const MeshSource mesh = scheme == SchemeKind::loop ? triangulated(c.mesh) : c.mesh;
        for (int level = 1; level <= 3; ++level) {
            SCOPED_TRACE(std::string(c.name) + " at level " + std::to_string(level));
            const Level theirs = osdLevel(mesh, osdScheme, level);
            const Level ours = ourLevel(mesh, scheme, level);
            ASSERT_EQ(ours.points.size(), theirs.points.size());
            EXPECT_EQ(ours.faceSizes, theirs.faceSizes);
            const float diagonal = boxDiagonal(theirs.points);
            const float deviation =
                std::max(largestDeviation(ours.points, theirs.points, 1e-3f * diagonal),
                         largestDeviation(theirs.points, ours.points, 1e-3f * diagonal)) /
                diagonal;
            EXPECT_LE(deviation, 1e-5f);
            largestSeen = std::max(largestSeen, deviation);
            ++compared;
        }
    }
}

TEST(SchemeDifferential, CatmullClarkMatchesOpenSubdiv) {
    compareScheme(SchemeKind::catmullClark, Sdc::SCHEME_CATMARK);
}

TEST(SchemeDifferential, LoopMatchesOpenSubdiv) {
    compareScheme(SchemeKind::loop, Sdc::SCHEME_LOOP);
    std::printf("compared %d meshes x levels x schemes; largest deviation %.3g of the diagonal\n",
                compared, double(largestSeen));
}

}  // namespace
