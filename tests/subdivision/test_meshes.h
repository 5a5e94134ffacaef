// Polygon models built in code for the subdivision tests and benchmarks: the shapes, the
// normals the OBJ loader would give them, an owner that releases the arrays, and checks of
// orientation shared by several test files.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include "doo_sabin.h"
#include "face_normals.h"
#include "obj_model.h"

struct MeshSource {
    std::vector<Vec4f> positions;
    std::vector<std::vector<std::int32_t>> faces;
};

// How corners share normals, as in OBJ files: none, one per face ("v//f"), one per vertex.
enum class NormalSharing { none, perFace, perVertex };

// Owns a model's arrays (not the record's identity) and releases them when it goes.
struct OwnedModel {
    ObjModel model{};
    OwnedModel() = default;
    OwnedModel(const OwnedModel&) = delete;
    OwnedModel& operator=(const OwnedModel&) = delete;
    OwnedModel(OwnedModel&& other) noexcept : model(other.model) { other.model = ObjModel{}; }
    OwnedModel& operator=(OwnedModel&& other) noexcept {
        if (this != &other) {
            freeModelArrays(&model);
            model = other.model;
            other.model = ObjModel{};
        }
        return *this;
    }
    ~OwnedModel() { freeModelArrays(&model); }
};

inline std::int32_t* copiedIndices(const std::vector<std::int32_t>& indices) {
    if (indices.empty()) return nullptr;
    auto* copy = static_cast<std::int32_t*>(std::malloc(indices.size() * sizeof(std::int32_t)));
    for (std::size_t i = 0; i < indices.size(); ++i) copy[i] = indices[i];
    return copy;
}

// The loader's normals: each face's (P1 - P0) x (P2 - P1) added at its corners' normal
// indices, then every normal divided by its length.
inline void computeLoaderNormals(ObjModel& model) {
    for (std::int32_t i = 0; i < model.numNormals; ++i) model.normals[i] = {0.0f, 0.0f, 0.0f};
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        if (face.numVertices < 3) continue;
        const Vec4f& p0 = model.vertices[face.vertexIndices[0]];
        const Vec4f& p1 = model.vertices[face.vertexIndices[1]];
        const Vec4f& p2 = model.vertices[face.vertexIndices[2]];
        const Vec3f e1 = {p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
        const Vec3f e2 = {p2.x - p1.x, p2.y - p1.y, p2.z - p1.z};
        const Vec3f n = {e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z,
                         e1.x * e2.y - e1.y * e2.x};
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            Vec3f& sum = model.normals[face.normalIndices[j]];
            sum = {sum.x + n.x, sum.y + n.y, sum.z + n.z};
        }
    }
    for (std::int32_t i = 0; i < model.numNormals; ++i) {
        model.normals[i] = normalizedOr(model.normals[i], model.normals[i]);
    }
}

// A model record as the loader would fill it from the shape (colour, primitives, normals).
inline OwnedModel buildModel(const MeshSource& source, NormalSharing sharing) {
    OwnedModel owned;
    ObjModel& model = owned.model;
    model.numVertices = static_cast<std::int32_t>(source.positions.size());
    model.numFaces = static_cast<std::int32_t>(source.faces.size());
    model.hasNormals = sharing == NormalSharing::none ? 0 : 1;
    model.numNormals = sharing == NormalSharing::perFace     ? model.numFaces
                       : sharing == NormalSharing::perVertex ? model.numVertices
                                                             : 0;
    allocateModelArrays(&model);
    for (std::int32_t v = 0; v < model.numVertices; ++v) model.vertices[v] = source.positions[v];
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const std::vector<std::int32_t>& corners = source.faces[f];
        ObjFace& face = model.faces[f];
        face.color[0] = 1.0f;
        face.color[1] = 0.85f;
        face.color[2] = 0.4f;
        face.numVertices = static_cast<std::int32_t>(corners.size());
        face.primitive = primitiveForCorners(face.numVertices);
        face.vertexIndices = copiedIndices(corners);
        if (sharing == NormalSharing::perFace) {
            face.normalIndices = copiedIndices(std::vector<std::int32_t>(corners.size(), f));
        } else if (sharing == NormalSharing::perVertex) {
            face.normalIndices = copiedIndices(corners);
        }
    }
    if (model.hasNormals != 0) computeLoaderNormals(model);
    return owned;
}

// One Doo-Sabin step into a fresh owner; the step's success goes to `built` when asked.
inline OwnedModel refined(const ObjModel& input, bool* built = nullptr) {
    OwnedModel output;
    const bool ok = dooSabinStep(input, output.model);
    if (built != nullptr) *built = ok;
    return output;
}

inline Vec4f point(float x, float y, float z) { return {x, y, z, 1.0f}; }

// A cube of side 2 about the origin, its faces counter-clockwise seen from outside.
inline MeshSource cubeMesh() {
    return {{point(-1, -1, -1), point(1, -1, -1), point(1, 1, -1), point(-1, 1, -1),
             point(-1, -1, 1), point(1, -1, 1), point(1, 1, 1), point(-1, 1, 1)},
            {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {3, 7, 6, 2}, {0, 4, 7, 3}, {1, 2, 6, 5}}};
}

inline MeshSource tetrahedronMesh() {
    return {{point(1, 1, 1), point(1, -1, -1), point(-1, 1, -1), point(-1, -1, 1)},
            {{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}}};
}

inline MeshSource octahedronMesh() {
    return {{point(1, 0, 0), point(-1, 0, 0), point(0, 1, 0), point(0, -1, 0), point(0, 0, 1),
             point(0, 0, -1)},
            {{0, 2, 4},
             {2, 1, 4},
             {1, 3, 4},
             {3, 0, 4},
             {2, 0, 5},
             {1, 2, 5},
             {3, 1, 5},
             {0, 3, 5}}};
}

// A pentagonal prism: two pentagons and five quads, counter-clockwise from outside.
inline MeshSource pentagonalPrismMesh() {
    MeshSource mesh;
    const float turn = 2.0f * 3.14159265f / 5.0f;
    for (int level = 0; level < 2; ++level) {
        for (int i = 0; i < 5; ++i) {
            mesh.positions.push_back(point(std::cos(turn * i), level == 0 ? -1.0f : 1.0f,
                                           std::sin(turn * i)));
        }
    }
    mesh.faces.push_back({0, 1, 2, 3, 4});
    mesh.faces.push_back({9, 8, 7, 6, 5});
    for (int i = 0; i < 5; ++i) {
        const int j = (i + 1) % 5;
        mesh.faces.push_back({i, i + 5, j + 5, j});
    }
    return mesh;
}

inline MeshSource singleQuadMesh() {
    return {{point(0, 0, 0), point(2, 0, 0), point(2, 2, 0), point(0, 2, 0)}, {{0, 1, 2, 3}}};
}

// Two quadrilaterals side by side: faces (0, 1, 4, 3) and (1, 2, 5, 4).
inline MeshSource twoQuadStripMesh() {
    return {{point(0, 0, 0), point(1, 0, 0), point(2, 0, 0), point(0, 1, 0), point(1, 1, 0),
             point(2, 1, 0)},
            {{0, 1, 4, 3}, {1, 2, 5, 4}}};
}

// An open grid of columns x rows quads in the plane z = height(x, y).
template <typename Height>
MeshSource gridMesh(int columns, int rows, Height height) {
    MeshSource mesh;
    for (int r = 0; r <= rows; ++r) {
        for (int c = 0; c <= columns; ++c) {
            mesh.positions.push_back(point(float(c), float(r), height(c, r)));
        }
    }
    const int stride = columns + 1;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int v = r * stride + c;
            mesh.faces.push_back({v, v + 1, v + stride + 1, v + stride});
        }
    }
    return mesh;
}

inline MeshSource flatGridMesh(int columns, int rows) {
    return gridMesh(columns, rows, [](int, int) { return 0.0f; });
}

// A closed torus of `around` x `tube` quads about the y axis, faces pointing outward.
inline MeshSource quadTorusMesh(int around, int tube) {
    MeshSource mesh;
    const float pi = 3.14159265f;
    for (int i = 0; i < around; ++i) {
        const float u = 2.0f * pi * i / around;
        for (int j = 0; j < tube; ++j) {
            const float v = 2.0f * pi * j / tube;
            const float radius = 2.0f + 0.7f * std::cos(v);
            mesh.positions.push_back(point(radius * std::cos(u), 0.7f * std::sin(v),
                                           radius * std::sin(u)));
        }
    }
    for (int i = 0; i < around; ++i) {
        for (int j = 0; j < tube; ++j) {
            const int a = i * tube + j, b = ((i + 1) % around) * tube + j;
            const int c = ((i + 1) % around) * tube + (j + 1) % tube;
            const int d = i * tube + (j + 1) % tube;
            mesh.faces.push_back({a, d, c, b});
        }
    }
    return mesh;
}

// A sphere of triangles: an icosahedron whose triangles are split in four `splits` times.
inline MeshSource triangleSphereMesh(int splits) {
    const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
    MeshSource mesh = {{point(-1, t, 0), point(1, t, 0), point(-1, -t, 0), point(1, -t, 0),
                        point(0, -1, t), point(0, 1, t), point(0, -1, -t), point(0, 1, -t),
                        point(t, 0, -1), point(t, 0, 1), point(-t, 0, -1), point(-t, 0, 1)},
                       {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                        {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                        {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                        {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}}};
    for (int s = 0; s < splits; ++s) {
        std::map<std::pair<int, int>, int> middles;
        auto middle = [&](int a, int b) {
            const auto key = std::make_pair(std::min(a, b), std::max(a, b));
            const auto found = middles.find(key);
            if (found != middles.end()) return found->second;
            const Vec4f& p = mesh.positions[a];
            const Vec4f& q = mesh.positions[b];
            mesh.positions.push_back(point((p.x + q.x) / 2, (p.y + q.y) / 2, (p.z + q.z) / 2));
            return middles[key] = int(mesh.positions.size()) - 1;
        };
        std::vector<std::vector<std::int32_t>> faces;
        for (const auto& f : mesh.faces) {
            const int ab = middle(f[0], f[1]), bc = middle(f[1], f[2]), ca = middle(f[2], f[0]);
            faces.push_back({f[0], ab, ca});
            faces.push_back({f[1], bc, ab});
            faces.push_back({f[2], ca, bc});
            faces.push_back({ab, bc, ca});
        }
        mesh.faces = faces;
    }
    for (Vec4f& p : mesh.positions) {
        const float length = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
        p = point(p.x / length, p.y / length, p.z / length);
    }
    return mesh;
}

// The sphere of triangles with each vertex p moved to `shape`(p): closed and manifold whatever
// the shape does, so that saddles and folds can be made at will.
template <typename Shape>
MeshSource reshapedSphereMesh(int splits, Shape shape) {
    MeshSource mesh = triangleSphereMesh(splits);
    for (Vec4f& p : mesh.positions) p = shape(p);
    return mesh;
}

// A monkey saddle about the sphere's first vertex: the cap around it rises and falls three
// times round, steeply.
inline MeshSource monkeySaddleSphereMesh() {
    return reshapedSphereMesh(2, [](Vec4f p) {
        const float t = (1.0f + std::sqrt(5.0f)) / 2.0f, length = std::sqrt(1.0f + t * t);
        const float along = (-p.x + t * p.y) / length, across = (t * p.x + p.y) / length;
        if (along < 0.6f) return p;
        const float u = across * 4.0f, w = p.z * 4.0f, lift = 0.25f * (u * u * u - 3 * u * w * w);
        return point(p.x * (1 + lift), p.y * (1 + lift), p.z * (1 + lift));
    });
}

// The sphere with every radius scaled at random between 0.6 and 1.4: folds and saddles all
// over. The same seed gives the same mesh.
inline MeshSource noisySphereMesh(int splits, unsigned seed) {
    std::uint32_t state = seed;
    return reshapedSphereMesh(splits, [&state](Vec4f p) {
        state = state * 1664525u + 1013904223u;  // a plain generator, the same everywhere
        const float r = 0.6f + 0.8f * float(state >> 8) / float(1u << 24);
        return point(p.x * r, p.y * r, p.z * r);
    });
}

// The sphere stretched along x, flattened along z and twisted about the y axis by `turns`
// radians per unit of height, so that its sides fold over one another.
inline MeshSource twistedSphereMesh(float turns) {
    return reshapedSphereMesh(2, [turns](Vec4f p) {
        const float angle = turns * p.y, c = std::cos(angle), s = std::sin(angle);
        const float x = 2.0f * p.x, z = 0.15f * p.z;
        return point(c * x - s * z, p.y, s * x + c * z);
    });
}

// The sphere drawn out into a sharp ridge round its equator z = 0: the points near it pushed
// far out in x and y, so that the faces on either side of the ridge nearly close on each other.
inline MeshSource ridgeSphereMesh() {
    return reshapedSphereMesh(2, [](Vec4f p) {
        const float lift = 1.0f + 3.0f * std::max(0.0f, 1.0f - 6.0f * std::fabs(p.z));
        return point(p.x * lift, p.y * lift, p.z);
    });
}

// The two shapes as one mesh, the second moved by `offset`; the second's vertex i becomes the
// first's vertex shared[i] where the map has it, so that the two touch there.
inline MeshSource joinedMesh(const MeshSource& first, const MeshSource& second, Vec4f offset,
                             const std::map<int, int>& shared) {
    MeshSource mesh = first;
    std::vector<std::int32_t> index(second.positions.size());
    for (std::size_t i = 0; i < second.positions.size(); ++i) {
        const auto found = shared.find(int(i));
        if (found != shared.end()) {
            index[i] = found->second;
            continue;
        }
        const Vec4f& p = second.positions[i];
        index[i] = std::int32_t(mesh.positions.size());
        mesh.positions.push_back(point(p.x + offset.x, p.y + offset.y, p.z + offset.z));
    }
    for (const auto& face : second.faces) {
        std::vector<std::int32_t> corners;
        for (const std::int32_t v : face) corners.push_back(index[v]);
        mesh.faces.push_back(corners);
    }
    return mesh;
}

// Two cubes that share one edge, the second moved by (2, 2, 0): closed, but four faces meet
// at the shared edge, so it is no manifold.
inline MeshSource twoCubesSharingAnEdgeMesh() {
    return joinedMesh(cubeMesh(), cubeMesh(), point(2, 2, 0), {{0, 2}, {4, 6}});
}

// Two tetrahedra that touch at one vertex: every edge has two faces, but that vertex has two fans.
inline MeshSource twoTetrahedraSharingAVertexMesh() {
    return joinedMesh(tetrahedronMesh(), tetrahedronMesh(), point(2, 2, 0), {{3, 0}});
}

// Two cones of `sides` sides standing tip to tip at the origin, each closed by a flat cap: a
// closed surface whose faces all turn outward, pinched at the tips.
inline MeshSource doubleConeMesh(int sides) {
    MeshSource mesh;
    mesh.positions.push_back(point(0, 0, 0));
    for (const float z : {1.0f, -1.0f}) {
        for (int k = 0; k < sides; ++k) {
            const float angle = 6.2831853f * float(k) / float(sides);
            mesh.positions.push_back(point(std::cos(angle), std::sin(angle), z));
        }
    }
    std::vector<std::int32_t> upperCap, lowerCap;
    for (int k = 0; k < sides; ++k) {
        const std::int32_t up = 1 + k, upNext = 1 + (k + 1) % sides;
        mesh.faces.push_back({0, upNext, up});
        mesh.faces.push_back({0, up + sides, upNext + sides});
        upperCap.push_back(up);
        lowerCap.insert(lowerCap.begin(), up + sides);
    }
    mesh.faces.push_back(upperCap);
    mesh.faces.push_back(lowerCap);
    return mesh;
}

// Centroid (x, y, z) of a face of the model.
inline Vec3f faceCenter(const ObjModel& model, const ObjFace& face) {
    Vec3f sum = {0.0f, 0.0f, 0.0f};
    for (std::int32_t j = 0; j < face.numVertices; ++j) {
        const Vec4f& p = model.vertices[face.vertexIndices[j]];
        sum = {sum.x + p.x, sum.y + p.y, sum.z + p.z};
    }
    const float n = float(face.numVertices);
    return {sum.x / n, sum.y / n, sum.z / n};
}

// True when the face turns counter-clockwise seen from the side `outward` points to.
inline bool facesToward(const ObjModel& model, const ObjFace& face, Vec3f outward) {
    const Vec3f n = newellNormal(face, model.vertices);
    return n.x * outward.x + n.y * outward.y + n.z * outward.z > 0.0f;
}

// Indices of the faces of a model about the origin that do not face away from it.
inline std::vector<std::int32_t> facesNotOutward(const ObjModel& model) {
    std::vector<std::int32_t> wrong;
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        if (!facesToward(model, face, faceCenter(model, face))) wrong.push_back(f);
    }
    return wrong;
}
