// The Catmull-Clark and Loop levels against OpenSubdiv's uniform refinement with its "edge
// and corner" boundary rule, an independent reader of the same surfaces: on generated meshes
// (closed, open, mixed polygons, high valence, genus 1) at levels 1 to 3, the same vertex and
// face counts, the same face sizes, and every vertex of each within 1e-5 of the bounding-box
// diagonal of a vertex of the other. The texture coordinates too, on meshes with seams, against
// OpenSubdiv's face-varying interpolation with FVAR_LINEAR_CORNERS_ONLY (the option whose
// rule ours is: each texture island smooth, its boundary a B-spline crease, only a texture
// vertex in one face pinned). Doo-Sabin has no counterpart in OpenSubdiv. Every level, with
// and without texture coordinates, is the same model bit for bit when its steps are split
// over 2, 3 or 8 threads.
#include <gtest/gtest.h>
#include <opensubdiv/far/primvarRefiner.h>
#include <opensubdiv/far/topologyDescriptor.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model_comparison.h"
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

// OpenSubdiv's refiner of the mesh to `level`, with a face-varying channel of `values` values
// when `valueIndices` (one per corner) is given.
std::unique_ptr<Far::TopologyRefiner>
osdRefiner(const MeshSource& mesh, Sdc::SchemeType type, int level,
           const std::vector<int>* valueIndices = nullptr, int values = 0,
           Sdc::Options::FVarLinearInterpolation fvar = Sdc::Options::FVAR_LINEAR_ALL) {
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
    Far::TopologyDescriptor::FVarChannel channel;
    if (valueIndices != nullptr) {
        channel.numValues = values;
        channel.valueIndices = valueIndices->data();
        descriptor.numFVarChannels = 1;
        descriptor.fvarChannels = &channel;
    }
    Sdc::Options options;
    options.SetVtxBoundaryInterpolation(Sdc::Options::VTX_BOUNDARY_EDGE_AND_CORNER);
    options.SetFVarLinearInterpolation(fvar);
    using Factory = Far::TopologyRefinerFactory<Far::TopologyDescriptor>;
    std::unique_ptr<Far::TopologyRefiner> refiner(Factory::Create(descriptor,
                                                                  Factory::Options(type, options)));
    refiner->RefineUniform(Far::TopologyRefiner::UniformOptions(level));
    return refiner;
}

std::vector<OsdPoint> osdPoints(const MeshSource& mesh, const Far::TopologyRefiner& refiner,
                                int level) {
    std::vector<OsdPoint> points;
    for (const Vec4f& p : mesh.positions) points.push_back({p.x, p.y, p.z});
    const Far::PrimvarRefiner primvars(refiner);
    for (int l = 1; l <= level; ++l) {
        std::vector<OsdPoint> next(std::size_t(refiner.GetLevel(l).GetNumVertices()));
        primvars.Interpolate(l, points, next);
        points.swap(next);
    }
    return points;
}

Level osdLevel(const MeshSource& mesh, Sdc::SchemeType type, int level) {
    const std::unique_ptr<Far::TopologyRefiner> refiner = osdRefiner(mesh, type, level);
    Level result{osdPoints(mesh, *refiner, level), {}};
    const Far::TopologyLevel& last = refiner->GetLevel(level);
    for (int f = 0; f < last.GetNumFaces(); ++f) ++result.faceSizes[last.GetFaceVertices(f).size()];
    return result;
}

// A level as the driver builds it, and its owner.
struct ShownLevel {
    ObjModel* model = new ObjModel{};
    bool built = false;
    ShownLevel() = default;
    ShownLevel(const ShownLevel&) = delete;
    ShownLevel& operator=(const ShownLevel&) = delete;
    ~ShownLevel() {
        freeModelArrays(model);
        delete model;
    }
};

void buildLevel(const ObjModel& base, SchemeKind scheme, int level, bool texCoords, int threads,
                ShownLevel& shown) {
    const LevelRequest request{scheme, std::uint64_t{1} << 34, nullptr, texCoords, threads};
    shown.built = applySubdivisionLevel(base, shown.model, level, request);
}

// The level built on one thread, checked to be the one every other thread count builds.
void buildOnEveryThreadCount(const ObjModel& base, SchemeKind scheme, int level, bool texCoords,
                             ShownLevel& shown) {
    buildLevel(base, scheme, level, texCoords, 1, shown);
    ASSERT_TRUE(shown.built);
    for (const int threads : {2, 3, 8}) {
        ShownLevel split;
        buildLevel(base, scheme, level, texCoords, threads, split);
        ASSERT_TRUE(split.built) << threads << " threads";
        EXPECT_TRUE(sameModel(*split.model, *shown.model)) << threads << " threads";
    }
}

Level ourLevel(const MeshSource& mesh, SchemeKind scheme, int level) {
    const OwnedModel base = buildModel(mesh, NormalSharing::none);
    ShownLevel shown;
    buildOnEveryThreadCount(base.model, scheme, level, false, shown);
    Level result;
    if (shown.built) {
        const ObjModel& made = *shown.model;
        for (std::int32_t v = 0; v < made.numVertices; ++v) {
            result.points.push_back({made.vertices[v].x, made.vertices[v].y, made.vertices[v].z});
        }
        for (std::int32_t f = 0; f < made.numFaces; ++f)
            ++result.faceSizes[made.faces[f].numVertices];
    }
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

// The largest, over the points of `from`, of the least `measure(i, k)` of point i of `from`
// and point k of `to` in the cells about it (a grid of cells of side `cell`); `none` for a
// point with nothing near.
template <typename Measure>
float largestOfLeast(const std::vector<OsdPoint>& from, const std::vector<OsdPoint>& to, float cell,
                     float none, Measure measure) {
    using Cell = std::int64_t;
    const auto cellOf = [cell](float c) { return Cell(std::floor(c / cell)); };
    const auto key = [](Cell x, Cell y, Cell z) {
        return ((x & 0x1fffff) << 42) | ((y & 0x1fffff) << 21) | (z & 0x1fffff);
    };
    std::unordered_map<Cell, std::vector<std::size_t>> grid;
    for (std::size_t k = 0; k < to.size(); ++k) {
        grid[key(cellOf(to[k].x), cellOf(to[k].y), cellOf(to[k].z))].push_back(k);
    }
    float largest = 0.0f;
    for (std::size_t i = 0; i < from.size(); ++i) {
        float least = none;
        const Cell x = cellOf(from[i].x), y = cellOf(from[i].y), z = cellOf(from[i].z);
        for (Cell dx = -1; dx <= 1; ++dx) {
            for (Cell dy = -1; dy <= 1; ++dy) {
                for (Cell dz = -1; dz <= 1; ++dz) {
                    const auto found = grid.find(key(x + dx, y + dy, z + dz));
                    if (found == grid.end()) continue;
                    for (const std::size_t k : found->second)
                        least = std::min(least, measure(i, k));
                }
            }
        }
        largest = std::max(largest, least);
    }
    return largest;
}

float distance(const OsdPoint& p, const OsdPoint& q) {
    return std::sqrt((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y) +
                     (p.z - q.z) * (p.z - q.z));
}

// The largest distance from a point of `from` to its nearest point of `to`; a point with none
// within `cell` counts as `cell`.
float largestDeviation(const std::vector<OsdPoint>& from, const std::vector<OsdPoint>& to,
                       float cell) {
    return largestOfLeast(from, to, cell, cell,
                          [&](std::size_t i, std::size_t k) { return distance(from[i], to[k]); });
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
float largestUvSeen = 0.0f;
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

// A mesh with a texture coordinate (u, v) for every corner of every face.
struct TexturedMesh {
    const char* name;
    MeshSource mesh;
    std::vector<std::vector<std::array<float, 2>>> uv;  // per face, per corner
};

// The corners of a level, face after face: their places and texture coordinates.
struct Corners {
    std::vector<OsdPoint> positions;
    std::vector<std::array<float, 2>> uv;
};

// The texture indices: one per distinct pair of vertex and (u, v); each value shifted a little
// by its index, so that no boundary of the texture is straight and evenly spaced (on which a
// B-spline crease and linear interpolation would agree).
std::vector<int> textureIndices(const TexturedMesh& textured,
                                std::vector<std::array<float, 2>>& values) {
    std::map<std::pair<int, std::array<float, 2>>, int> index;
    std::vector<int> indices;
    for (std::size_t f = 0; f < textured.mesh.faces.size(); ++f) {
        for (std::size_t j = 0; j < textured.mesh.faces[f].size(); ++j) {
            const auto key = std::make_pair(int(textured.mesh.faces[f][j]), textured.uv[f][j]);
            const auto found = index.emplace(key, int(values.size()));
            const float shift = 0.01f * std::sin(float(values.size()));
            if (found.second)
                values.push_back({textured.uv[f][j][0] + shift, textured.uv[f][j][1] - shift});
            indices.push_back(found.first->second);
        }
    }
    return indices;
}

struct OsdUv {
    float u = 0.0f, v = 0.0f;
    void Clear(void* = nullptr) { u = v = 0.0f; }
    void AddWithWeight(const OsdUv& p, float w) {
        u += w * p.u;
        v += w * p.v;
    }
};

Corners osdCorners(const TexturedMesh& textured, Sdc::SchemeType type,
                   Sdc::Options::FVarLinearInterpolation fvar, int level) {
    std::vector<std::array<float, 2>> values;
    const std::vector<int> valueIndices = textureIndices(textured, values);
    const std::unique_ptr<Far::TopologyRefiner> refiner =
        osdRefiner(textured.mesh, type, level, &valueIndices, int(values.size()), fvar);
    const std::vector<OsdPoint> points = osdPoints(textured.mesh, *refiner, level);
    std::vector<OsdUv> uvs;
    for (const auto& value : values) uvs.push_back({value[0], value[1]});
    const Far::PrimvarRefiner primvars(*refiner);
    for (int l = 1; l <= level; ++l) {
        std::vector<OsdUv> next(std::size_t(refiner->GetLevel(l).GetNumFVarValues(0)));
        primvars.InterpolateFaceVarying(l, uvs, next, 0);
        uvs.swap(next);
    }
    Corners corners;
    const Far::TopologyLevel& last = refiner->GetLevel(level);
    for (int f = 0; f < last.GetNumFaces(); ++f) {
        const Far::ConstIndexArray vertices = last.GetFaceVertices(f);
        const Far::ConstIndexArray fvars = last.GetFaceFVarValues(f, 0);
        for (int j = 0; j < vertices.size(); ++j) {
            const OsdUv& uv = uvs[std::size_t(fvars[j])];
            corners.positions.push_back(points[std::size_t(vertices[j])]);
            corners.uv.push_back({uv.u, uv.v});
        }
    }
    return corners;
}

Corners ourCorners(const TexturedMesh& textured, SchemeKind scheme, int level) {
    OwnedModel base = buildModel(textured.mesh, NormalSharing::none);
    std::vector<std::array<float, 2>> values;
    const std::vector<int> uvIndices = textureIndices(textured, values);
    ObjModel& model = base.model;
    model.numTexCoords = std::int32_t(values.size());
    model.hasTexCoords = 1;
    model.texCoords = static_cast<Vec3f*>(std::malloc(sizeof(Vec3f) * values.size()));
    for (std::size_t t = 0; t < values.size(); ++t)
        model.texCoords[t] = {values[t][0], values[t][1], 0.0f};
    std::size_t corner = 0;
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        ObjFace& face = model.faces[f];
        face.texCoordIndices =
            copiedIndices(std::vector<std::int32_t>(uvIndices.begin() + std::ptrdiff_t(corner),
                                                    uvIndices.begin() + std::ptrdiff_t(corner) +
                                                        face.numVertices));
        corner += std::size_t(face.numVertices);
    }
    ShownLevel shown;
    buildOnEveryThreadCount(model, scheme, level, true, shown);
    Corners corners;
    if (shown.built) {
        const ObjModel& made = *shown.model;
        for (std::int32_t f = 0; f < made.numFaces; ++f) {
            const ObjFace& face = made.faces[f];
            for (std::int32_t j = 0; j < face.numVertices; ++j) {
                const Vec4f& p = made.vertices[face.vertexIndices[j]];
                const Vec3f& uv = made.texCoords[face.texCoordIndices[j]];
                corners.positions.push_back({p.x, p.y, p.z});
                corners.uv.push_back({uv.x, uv.y});
            }
        }
    }
    return corners;
}

// The largest difference of texture coordinates between a corner of `from` and the corner of
// `to` at its place (within `near`) whose texture coordinate is nearest; 1 when none is there.
float largestUvDeviation(const Corners& from, const Corners& to, float near) {
    return largestOfLeast(from.positions, to.positions, near, 1.0f,
                          [&](std::size_t i, std::size_t k) {
                              if (distance(from.positions[i], to.positions[k]) > near) return 1.0f;
                              return std::max(std::fabs(from.uv[i][0] - to.uv[k][0]),
                                              std::fabs(from.uv[i][1] - to.uv[k][1]));
                          });
}

// A cube whose every face is an island of its own (an unfolded cube of separate squares).
TexturedMesh islandCube() {
    TexturedMesh textured{"cube of six islands", cubeMesh(), {}};
    const std::array<float, 2> square[4] = {{0.0f, 0.0f}, {0.9f, 0.0f}, {0.9f, 0.9f}, {0.0f, 0.9f}};
    for (std::size_t f = 0; f < textured.mesh.faces.size(); ++f) {
        std::vector<std::array<float, 2>> face;
        for (int j = 0; j < 4; ++j) {
            face.push_back({(float(f % 3) + square[j][0]) / 3.0f,
                            (float(f / 3) + square[j][1]) / 2.0f});
        }
        textured.uv.push_back(face);
    }
    return textured;
}

// An open saddle grid cut into three islands whose seams meet at an inner vertex, where one
// island holds two faces: left of x = 2, and right of it below and above y = 1.
TexturedMesh islandGrid() {
    const auto saddle = [](int c, int r) { return 0.15f * float((c - 2) * (r - 1)); };
    TexturedMesh textured{"open saddle grid of three islands", gridMesh(4, 3, saddle), {}};
    for (std::size_t f = 0; f < textured.mesh.faces.size(); ++f) {
        const bool right = f % 4 >= 2, above = f / 4 >= 1;
        const float shiftU = right ? 0.1f : 0.0f, shiftV = right && above ? 0.1f : 0.0f;
        std::vector<std::array<float, 2>> uv;
        for (const std::int32_t v : textured.mesh.faces[f]) {
            const Vec4f& p = textured.mesh.positions[v];
            uv.push_back({p.x / 4.0f + shiftU, p.y / 3.0f + shiftV});
        }
        textured.uv.push_back(uv);
    }
    return textured;
}

// A torus mapped once around each way: two seams that cross at one vertex.
TexturedMesh seamedTorus() {
    const int around = 12, tube = 8;
    TexturedMesh textured{"torus with two crossing seams", quadTorusMesh(around, tube), {}};
    for (const auto& face : textured.mesh.faces) {
        std::vector<std::array<float, 2>> uv;
        for (const std::int32_t v : face)
            uv.push_back({float(v % tube) / tube, float(v / tube) / around});
        for (int axis = 0; axis < 2; ++axis) {
            float high = 0.0f;
            for (const auto& c : uv) high = std::max(high, c[axis]);
            for (auto& c : uv) {
                if (high > 0.5f && c[axis] == 0.0f) c[axis] = 1.0f;
            }
        }
        textured.uv.push_back(uv);
    }
    return textured;
}

TexturedMesh triangulated(const TexturedMesh& textured) {
    TexturedMesh result{textured.name, {textured.mesh.positions, {}}, {}};
    for (std::size_t f = 0; f < textured.mesh.faces.size(); ++f) {
        const auto& face = textured.mesh.faces[f];
        const auto& uv = textured.uv[f];
        for (std::size_t j = 1; j + 1 < face.size(); ++j) {
            result.mesh.faces.push_back({face[0], face[j], face[j + 1]});
            result.uv.push_back({uv[0], uv[j], uv[j + 1]});
        }
    }
    return result;
}

float compareTexCoords(SchemeKind scheme, Sdc::SchemeType osdScheme,
                       Sdc::Options::FVarLinearInterpolation fvar) {
    float largest = 0.0f;
    for (const TexturedMesh& t : {islandCube(), islandGrid(), seamedTorus()}) {
        const TexturedMesh textured = scheme == SchemeKind::loop ? triangulated(t) : t;
        for (int level = 1; level <= 3; ++level) {
            SCOPED_TRACE(std::string(textured.name) + " at level " + std::to_string(level));
            const Corners theirs = osdCorners(textured, osdScheme, fvar, level);
            const Corners ours = ourCorners(textured, scheme, level);
            EXPECT_EQ(ours.uv.size(), theirs.uv.size());
            const float near = 1e-4f;
            largest = std::max({largest, largestUvDeviation(ours, theirs, near),
                                largestUvDeviation(theirs, ours, near)});
        }
    }
    return largest;
}

// Our texture coordinates match FVAR_LINEAR_CORNERS_ONLY; the meshes tell it from the next
// option, CORNERS_PLUS1, which also pins a texture vertex where three islands meet.
void compareSchemeTexCoords(SchemeKind scheme, Sdc::SchemeType osdScheme) {
    const float deviation =
        compareTexCoords(scheme, osdScheme, Sdc::Options::FVAR_LINEAR_CORNERS_ONLY);
    EXPECT_LE(deviation, 1e-5f);
    largestUvSeen = std::max(largestUvSeen, deviation);
    EXPECT_GT(compareTexCoords(scheme, osdScheme, Sdc::Options::FVAR_LINEAR_CORNERS_PLUS1), 1e-3f);
}

TEST(SchemeDifferential, CatmullClarkMatchesOpenSubdiv) {
    compareScheme(SchemeKind::catmullClark, Sdc::SCHEME_CATMARK);
    compareSchemeTexCoords(SchemeKind::catmullClark, Sdc::SCHEME_CATMARK);
}

TEST(SchemeDifferential, LoopMatchesOpenSubdiv) {
    compareScheme(SchemeKind::loop, Sdc::SCHEME_LOOP);
    compareSchemeTexCoords(SchemeKind::loop, Sdc::SCHEME_LOOP);
    std::printf(
        "compared %d meshes x levels x schemes; largest deviation %.3g of the diagonal, "
        "of texture coordinates %.3g\n",
        compared, double(largestSeen), double(largestUvSeen));
}

}  // namespace
