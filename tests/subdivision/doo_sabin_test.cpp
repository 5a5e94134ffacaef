// The Doo-Sabin step on known shapes: counts, face order and kinds, colours, positions,
// normals and orientation of the refinement.
#include "doo_sabin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "test_meshes.h"

namespace {

enum class Kind { fromFace, fromVertex, fromEdge };

void expectKind(const ObjFace& face, Kind kind) {
    const float expected[3][3] = {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
    const float* color = expected[int(kind)];
    EXPECT_EQ(face.color[0], color[0]);
    EXPECT_EQ(face.color[1], color[1]);
    EXPECT_EQ(face.color[2], color[2]);
}

std::vector<std::int32_t> cornersOf(const ObjFace& face) {
    return std::vector<std::int32_t>(face.vertexIndices, face.vertexIndices + face.numVertices);
}

void expectNormalsMirrorVertices(const ObjModel& model) {
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        ASSERT_NE(face.normalIndices, nullptr);
        EXPECT_EQ(face.texCoordIndices, nullptr);
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            EXPECT_EQ(face.normalIndices[j], face.vertexIndices[j]) << "face " << f;
        }
    }
}

void expectUnitNormals(const ObjModel& model) {
    for (std::int32_t i = 0; i < model.numNormals; ++i) {
        const Vec3f& n = model.normals[i];
        EXPECT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1.0f, 1e-6f) << "normal " << i;
    }
}

}  // namespace

TEST(DooSabinCube, GivesTwentyFourVerticesAndTwentySixFacesByKind) {
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perFace);
    OwnedModel once = refined(cube.model);
    const ObjModel& m = once.model;
    ASSERT_EQ(m.numVertices, 24);
    ASSERT_EQ(m.numFaces, 26);
    EXPECT_EQ(m.numNormals, 24);
    EXPECT_EQ(m.hasNormals, 1);
    EXPECT_EQ(m.numTexCoords, 0);
    EXPECT_EQ(m.hasTexCoords, 0);
    EXPECT_EQ(m.texCoords, nullptr);
    for (int f = 0; f < 6; ++f) {
        expectKind(m.faces[f], Kind::fromFace);
        EXPECT_EQ(m.faces[f].numVertices, 4);
        EXPECT_EQ(m.faces[f].primitive, primitiveQuads);
    }
    for (int f = 6; f < 14; ++f) {
        expectKind(m.faces[f], Kind::fromVertex);
        EXPECT_EQ(m.faces[f].numVertices, 3);
        EXPECT_EQ(m.faces[f].primitive, primitiveTriangles);
    }
    for (int f = 14; f < 26; ++f) {
        expectKind(m.faces[f], Kind::fromEdge);
        EXPECT_EQ(m.faces[f].numVertices, 4);
        EXPECT_EQ(m.faces[f].primitive, primitiveQuads);
    }
    expectNormalsMirrorVertices(m);
}

TEST(DooSabinCube, KeepsEveryFaceOutwardOverTwoSteps) {
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perFace);
    OwnedModel once = refined(cube.model);
    EXPECT_TRUE(facesNotOutward(once.model).empty());
    OwnedModel twice = refined(once.model);
    EXPECT_EQ(twice.model.numVertices, 96);
    EXPECT_EQ(twice.model.numFaces, 98);
    EXPECT_TRUE(facesNotOutward(twice.model).empty());
    expectNormalsMirrorVertices(twice.model);
    expectUnitNormals(twice.model);
}

TEST(DooSabinCube, PlacesNewVerticesHalfwayToTheFaceCentroid) {
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perFace);
    OwnedModel once = refined(cube.model);
    // Face 0 is (0, 3, 2, 1) on z = -1, centroid (0, 0, -1).
    const Vec4f expected[4] = {{-0.5f, -0.5f, -1, 1},
                               {-0.5f, 0.5f, -1, 1},
                               {0.5f, 0.5f, -1, 1},
                               {0.5f, -0.5f, -1, 1}};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(once.model.vertices[c].x, expected[c].x);
        EXPECT_EQ(once.model.vertices[c].y, expected[c].y);
        EXPECT_EQ(once.model.vertices[c].z, expected[c].z);
        EXPECT_EQ(once.model.vertices[c].w, expected[c].w);
    }
    // One normal per face: each new normal is its face's normal.
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(once.model.normals[c].x, 0.0f);
        EXPECT_EQ(once.model.normals[c].y, 0.0f);
        EXPECT_EQ(once.model.normals[c].z, -1.0f);
    }
}

TEST(DooSabinCube, NumbersCornersAcrossFacesInOrder) {
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perFace);
    OwnedModel once = refined(cube.model);
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(cornersOf(once.model.faces[f]),
                  (std::vector<std::int32_t>{4 * f, 4 * f + 1, 4 * f + 2, 4 * f + 3}));
    }
    // Vertex 0 sits at corner 0 of faces 0, 2 and 4: corners 0, 8 and 16, anchor first.
    const std::vector<std::int32_t> ring = cornersOf(once.model.faces[6]);
    ASSERT_EQ(ring.size(), 3u);
    EXPECT_EQ(ring[0], 0);
    EXPECT_TRUE((ring[1] == 8 && ring[2] == 16) || (ring[1] == 16 && ring[2] == 8));
}

TEST(DooSabinSingleQuad, KeepsOneShrunkenFaceAndNothingElse) {
    OwnedModel quad = buildModel(singleQuadMesh(), NormalSharing::perVertex);
    OwnedModel once = refined(quad.model);
    ASSERT_EQ(once.model.numVertices, 4);
    ASSERT_EQ(once.model.numFaces, 1);
    expectKind(once.model.faces[0], Kind::fromFace);
    EXPECT_EQ(cornersOf(once.model.faces[0]), (std::vector<std::int32_t>{0, 1, 2, 3}));
    // Corners (0,0), (2,0), (2,2), (0,2); centroid (1,1).
    const float x[4] = {0.5f, 1.5f, 1.5f, 0.5f}, y[4] = {0.5f, 0.5f, 1.5f, 1.5f};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(once.model.vertices[c].x, x[c]);
        EXPECT_EQ(once.model.vertices[c].y, y[c]);
        EXPECT_EQ(once.model.vertices[c].z, 0.0f);
    }
}

TEST(DooSabinTwoQuadStrip, JoinsTheTwoFacesByOneEdgeFace) {
    OwnedModel strip = buildModel(twoQuadStripMesh(), NormalSharing::perVertex);
    OwnedModel once = refined(strip.model);
    ASSERT_EQ(once.model.numVertices, 8);
    ASSERT_EQ(once.model.numFaces, 3);
    EXPECT_EQ(cornersOf(once.model.faces[0]), (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(cornersOf(once.model.faces[1]), (std::vector<std::int32_t>{4, 5, 6, 7}));
    EXPECT_EQ(cornersOf(once.model.faces[2]), (std::vector<std::int32_t>{4, 7, 2, 1}));
    expectKind(once.model.faces[2], Kind::fromEdge);
    expectNormalsMirrorVertices(once.model);
}

TEST(DooSabinEdgeFaces, JoinAnEdgeWalkedTwiceOneWayWithCrossedSides) {
    // Both triangles walk 0 -> 1: corners 0 -> 1 and 3 -> 4.
    const MeshSource mesh = {{point(0, 0, 0), point(1, 0, 0), point(0, 1, 0), point(0, -1, 0)},
                             {{0, 1, 2}, {0, 1, 3}}};
    OwnedModel model = buildModel(mesh, NormalSharing::perFace);
    OwnedModel once = refined(model.model);
    ASSERT_EQ(once.model.numFaces, 3);
    EXPECT_EQ(cornersOf(once.model.faces[2]), (std::vector<std::int32_t>{4, 3, 1, 0}));
}

TEST(DooSabinEdgeFaces, JoinTheFirstAndLastOfThreeFacesOnAnEdge) {
    // Edge 0-1 is walked by faces 0 (corner 0), 1 (corner 4, backwards) and 2 (corner 8).
    const MeshSource fin = {{point(0, 0, 0), point(1, 0, 0), point(0, 1, 0), point(1, 1, 0),
                             point(0, -1, 1), point(1, -1, 1), point(0, 0, 2), point(1, 0, 2)},
                            {{0, 1, 3, 2}, {1, 0, 4, 5}, {0, 1, 7, 6}}};
    OwnedModel model = buildModel(fin, NormalSharing::perFace);
    OwnedModel once = refined(model.model);
    ASSERT_EQ(once.model.numFaces, 4);
    EXPECT_EQ(cornersOf(once.model.faces[3]), (std::vector<std::int32_t>{9, 8, 1, 0}));
}

TEST(DooSabinVertexFaces, AreNotMadeAtAVertexOfTwoFacesAndLevelTwoIsLevelOneTwice) {
    // Two triangles glued along all three edges: the E-faces of a vertex's two edges already
    // meet along the side that a two-corner V-face would double.
    const MeshSource pillow = {{point(0, 0, 0), point(1, 0, 0), point(0, 1, 0)},
                               {{0, 1, 2}, {0, 2, 1}}};
    OwnedModel model = buildModel(pillow, NormalSharing::perFace);
    OwnedModel once = refined(model.model);
    ASSERT_EQ(once.model.numVertices, 6);
    ASSERT_EQ(once.model.numFaces, 2 + 3);
    for (int f = 2; f < 5; ++f) EXPECT_EQ(once.model.faces[f].color[1], 1.0f) << "an E-face";
    // Each new vertex lies on three faces, so the level above has a triangle at each.
    OwnedModel twice = refined(once.model);
    EXPECT_EQ(twice.model.numVertices, 2 * 3 + 3 * 4);
    EXPECT_EQ(twice.model.numFaces, 5 + 6 + 9);
}

TEST(DooSabinVertexFaces, ArePrimitivesByValence) {
    OwnedModel octahedron = buildModel(octahedronMesh(), NormalSharing::perVertex);
    OwnedModel once = refined(octahedron.model);
    ASSERT_EQ(once.model.numFaces, 8 + 6 + 12);
    for (int f = 0; f < 8; ++f) EXPECT_EQ(once.model.faces[f].primitive, primitiveTriangles);
    for (int f = 8; f < 14; ++f) {
        EXPECT_EQ(once.model.faces[f].numVertices, 4);
        EXPECT_EQ(once.model.faces[f].primitive, primitiveQuads);
    }
    EXPECT_TRUE(facesNotOutward(once.model).empty());
}

TEST(DooSabinPositions, AverageTheHomogeneousCoordinateToo) {
    MeshSource quad = singleQuadMesh();
    quad.positions[0].w = 3.0f;
    OwnedModel model = buildModel(quad, NormalSharing::perVertex);
    OwnedModel once = refined(model.model);
    // Centroid w = (3 + 1 + 1 + 1) / 4 = 1.5.
    EXPECT_FLOAT_EQ(once.model.vertices[0].w, 0.5f * 3.0f + 0.5f * 1.5f);
    EXPECT_FLOAT_EQ(once.model.vertices[1].w, 0.5f * 1.0f + 0.5f * 1.5f);
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perVertex);
    OwnedModel cubeOnce = refined(cube.model);
    for (std::int32_t v = 0; v < cubeOnce.model.numVertices; ++v) {
        EXPECT_EQ(cubeOnce.model.vertices[v].w, 1.0f);
    }
}

TEST(DooSabinNormals, BlendEachCornerNormalWithTheRenormalizedRunningFaceNormal) {
    // Per-vertex normals of the cube point along the diagonals. Face 0 is (0, 3, 2, 1).
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perVertex);
    OwnedModel once = refined(cube.model);
    expectUnitNormals(once.model);
    const ObjFace& face = cube.model.faces[0];
    Vec3f faceNormal = {0, 0, 0};
    for (int j = 0; j < 4; ++j) {
        const Vec3f& n = cube.model.normals[face.normalIndices[j]];
        faceNormal = {faceNormal.x + 0.25f * n.x, faceNormal.y + 0.25f * n.y,
                      faceNormal.z + 0.25f * n.z};
        const float length = std::sqrt(faceNormal.x * faceNormal.x + faceNormal.y * faceNormal.y +
                                       faceNormal.z * faceNormal.z);
        faceNormal = {faceNormal.x / length, faceNormal.y / length, faceNormal.z / length};
    }
    EXPECT_LT(faceNormal.x, -0.1f);  // a plain mean of the four diagonals would give x = 0
    for (int j = 0; j < 4; ++j) {
        const Vec3f& n = cube.model.normals[face.normalIndices[j]];
        Vec3f blend = {0.5f * n.x + 0.5f * faceNormal.x, 0.5f * n.y + 0.5f * faceNormal.y,
                       0.5f * n.z + 0.5f * faceNormal.z};
        const float length = std::sqrt(blend.x * blend.x + blend.y * blend.y + blend.z * blend.z);
        EXPECT_FLOAT_EQ(once.model.normals[j].x, blend.x / length);
        EXPECT_FLOAT_EQ(once.model.normals[j].y, blend.y / length);
        EXPECT_FLOAT_EQ(once.model.normals[j].z, blend.z / length);
    }
}

TEST(DooSabinInput, IsLeftUntouched) {
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perVertex);
    OwnedModel copy = buildModel(cubeMesh(), NormalSharing::perVertex);
    OwnedModel once = refined(cube.model);
    EXPECT_EQ(std::memcmp(cube.model.vertices, copy.model.vertices, sizeof(Vec4f) * 8), 0);
    EXPECT_EQ(std::memcmp(cube.model.normals, copy.model.normals, sizeof(Vec3f) * 8), 0);
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(std::memcmp(cube.model.faces[f].vertexIndices, copy.model.faces[f].vertexIndices,
                              16),
                  0);
    }
}
