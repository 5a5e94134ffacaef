// The Doo-Sabin step on inputs the plain algorithm cannot take: no normals, unused vertices,
// faces listing a vertex twice or having fewer than 3 corners, normals that cancel, indices
// outside the arrays. Every output keeps the record's rules and holds no NaN. And on closed
// surfaces whose saddles and folds defeat any ordering by position: they must stay closed.
#include "doo_sabin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "failing_new.h"
#include "test_meshes.h"

namespace {

bool isNumber(float value) { return !std::isnan(value); }

// Arrays present exactly for non-zero counts, indices in range, normal lists mirroring the
// vertex lists, unit normals without NaN.
void expectRecordRules(const ObjModel& m) {
    EXPECT_EQ(m.vertices == nullptr, m.numVertices == 0);
    EXPECT_EQ(m.normals == nullptr, m.numNormals == 0);
    EXPECT_EQ(m.faces == nullptr, m.numFaces == 0);
    EXPECT_EQ(m.texCoords, nullptr);
    EXPECT_EQ(m.hasTexCoords, 0);
    EXPECT_EQ(m.hasNormals != 0, m.numNormals > 0);
    for (std::int32_t i = 0; i < m.numNormals; ++i) {
        const Vec3f& n = m.normals[i];
        ASSERT_TRUE(isNumber(n.x) && isNumber(n.y) && isNumber(n.z)) << "normal " << i;
        EXPECT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0f, 1e-5f) << "normal " << i;
    }
    for (std::int32_t f = 0; f < m.numFaces; ++f) {
        const ObjFace& face = m.faces[f];
        EXPECT_EQ(face.primitive, primitiveForCorners(face.numVertices));
        EXPECT_EQ(face.texCoordIndices, nullptr);
        EXPECT_EQ(face.normalIndices != nullptr, m.hasNormals != 0 && face.numVertices > 0);
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            ASSERT_GE(face.vertexIndices[j], 0);
            ASSERT_LT(face.vertexIndices[j], m.numVertices);
            if (face.normalIndices != nullptr) {
                EXPECT_EQ(face.normalIndices[j], face.vertexIndices[j]);
            }
        }
    }
}

void expectEmpty(const ObjModel& m) {
    EXPECT_EQ(m.numVertices, 0);
    EXPECT_EQ(m.numNormals, 0);
    EXPECT_EQ(m.numFaces, 0);
    EXPECT_EQ(m.hasNormals, 0);
    EXPECT_EQ(m.vertices, nullptr);
    EXPECT_EQ(m.normals, nullptr);
    EXPECT_EQ(m.faces, nullptr);
}

std::multiset<std::int32_t> cornerSet(const ObjFace& face) {
    return std::multiset<std::int32_t>(face.vertexIndices, face.vertexIndices + face.numVertices);
}

// How far a model is from a closed surface: its face sides counted as directed edges.
struct SurfaceCount {
    std::int64_t edgesNotInTwoFaces = 0;  // undirected edges on one side, or on three or more
    std::int64_t edgesWalkedTwiceOneWay = 0;
    std::int64_t eulerCharacteristic = 0;  // used vertices - edges + faces
    std::int64_t verticesNotOneFan = 0;    // used vertices whose faces do not turn once round
};

// Used vertices whose faces do not join into one fan: following each face's side into the
// vertex to the face that leaves along it must meet every face there before coming back.
std::int64_t countVerticesNotOneFan(const ObjModel& m) {
    // Per vertex, each face there as (the vertex it leaves towards, the vertex it came from).
    std::vector<std::vector<std::pair<std::int32_t, std::int32_t>>>
        around(std::size_t(m.numVertices));
    for (std::int32_t f = 0; f < m.numFaces; ++f) {
        const ObjFace& face = m.faces[f];
        const std::int32_t n = face.numVertices;
        for (std::int32_t j = 0; j < n; ++j) {
            around[face.vertexIndices[j]].push_back({face.vertexIndices[(j + 1) % n],
                                                     face.vertexIndices[(j + n - 1) % n]});
        }
    }
    std::int64_t count = 0;
    for (const auto& faces : around) {
        if (faces.empty()) continue;
        std::size_t at = 0, met = 0;
        do {
            const std::int32_t cameFrom = faces[at].second;
            at = std::size_t(std::find_if(faces.begin(), faces.end(),
                                          [&](const auto& g) { return g.first == cameFrom; }) -
                             faces.begin());
            ++met;
        } while (at < faces.size() && at != 0 && met <= faces.size());
        if (at != 0 || met != faces.size()) ++count;
    }
    return count;
}

SurfaceCount countSurface(const ObjModel& m) {
    std::vector<std::uint64_t> sides;
    std::vector<bool> used(std::size_t(m.numVertices), false);
    for (std::int32_t f = 0; f < m.numFaces; ++f) {
        const ObjFace& face = m.faces[f];
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            const std::uint32_t a = std::uint32_t(face.vertexIndices[j]);
            const std::uint32_t b = std::uint32_t(face.vertexIndices[(j + 1) % face.numVertices]);
            sides.push_back(std::uint64_t(a) << 32 | b);
            used[a] = true;
        }
    }
    std::sort(sides.begin(), sides.end());
    SurfaceCount count;
    std::vector<std::uint64_t> undirected;
    for (std::size_t i = 0; i < sides.size(); ++i) {
        if (i > 0 && sides[i] == sides[i - 1]) ++count.edgesWalkedTwiceOneWay;
        const std::uint64_t a = sides[i] >> 32, b = sides[i] & 0xffffffffu;
        undirected.push_back(std::min(a, b) << 32 | std::max(a, b));
    }
    std::sort(undirected.begin(), undirected.end());
    std::int64_t edges = 0;
    for (std::size_t i = 0, end = 0; i < undirected.size(); i = end, ++edges) {
        for (end = i; end < undirected.size() && undirected[end] == undirected[i];) ++end;
        if (end - i != 2) ++count.edgesNotInTwoFaces;
    }
    count.eulerCharacteristic = std::count(used.begin(), used.end(), true) - edges + m.numFaces;
    count.verticesNotOneFan = countVerticesNotOneFan(m);
    return count;
}

}  // namespace

TEST(InputWithoutNormals, GivesAnOutputWithoutNormalsStillFacingOutward) {
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::none);
    OwnedModel once = refined(cube.model);
    ASSERT_EQ(once.model.numFaces, 26);
    EXPECT_EQ(once.model.numNormals, 0);
    EXPECT_EQ(once.model.hasNormals, 0);
    expectRecordRules(once.model);
    EXPECT_TRUE(facesNotOutward(once.model).empty());
    OwnedModel twice = refined(once.model);
    ASSERT_EQ(twice.model.numFaces, 98);
    expectRecordRules(twice.model);
    EXPECT_TRUE(facesNotOutward(twice.model).empty());
}

TEST(InputWithoutNormals, PlacesTheSameVerticesAsWithNormals) {
    OwnedModel bare = buildModel(triangleSphereMesh(1), NormalSharing::none);
    OwnedModel lit = buildModel(triangleSphereMesh(1), NormalSharing::perVertex);
    OwnedModel a = refined(bare.model), b = refined(lit.model);
    ASSERT_EQ(a.model.numVertices, b.model.numVertices);
    EXPECT_EQ(std::memcmp(a.model.vertices, b.model.vertices, sizeof(Vec4f) * a.model.numVertices),
              0);
    EXPECT_TRUE(facesNotOutward(a.model).empty());
}

TEST(SaddlesFoldsAndPinches, OfClosedSurfacesLeaveThemClosedManifoldsOverThreeLevels) {
    // Neighbourhoods that no single direction sees as convex: each V-face must still close the
    // surface between the E-faces around it. At a pinch each sheet gets its own V-face, so the
    // first level parts the two sheets; a vertex between two faces gets none.
    const MeshSource pillow = {{point(0, 0, 0), point(1, 0, 0), point(0, 1, 0)},
                               {{0, 1, 2}, {0, 2, 1}}};
    const struct {
        const char* shape;
        MeshSource mesh;
        std::int64_t baseEuler, refinedEuler;
    } cases[] = {
        {"monkey saddle", monkeySaddleSphereMesh(), 2, 2},
        {"noisy sphere", noisySphereMesh(2, 1), 2, 2},
        {"twisted sphere", twistedSphereMesh(3.0f), 2, 2},
        {"ridge", ridgeSphereMesh(), 2, 2},
        {"two cones tip to tip", doubleConeMesh(7), 3, 4},
        {"two tetrahedra at a vertex", twoTetrahedraSharingAVertexMesh(), 3, 4},
        {"pillow of two triangles", pillow, 2, 2},
    };
    for (const auto& c : cases) {
        for (const NormalSharing sharing : {NormalSharing::perFace, NormalSharing::none}) {
            OwnedModel current = buildModel(c.mesh, sharing);
            const SurfaceCount base = countSurface(current.model);
            ASSERT_EQ(base.edgesNotInTwoFaces, 0) << c.shape;
            ASSERT_EQ(base.eulerCharacteristic, c.baseEuler) << c.shape;
            for (int level = 1; level <= 3; ++level) {
                SCOPED_TRACE(std::string(c.shape) + ", level " + std::to_string(level));
                OwnedModel next = refined(current.model);
                const SurfaceCount count = countSurface(next.model);
                EXPECT_EQ(count.edgesNotInTwoFaces, 0);
                EXPECT_EQ(count.edgesWalkedTwiceOneWay, 0);
                EXPECT_EQ(count.verticesNotOneFan, 0);
                EXPECT_EQ(count.eulerCharacteristic, c.refinedEuler);
                current = std::move(next);
            }
        }
    }
}

TEST(UnusedVertex, GetsNoVertexFace) {
    MeshSource cube = cubeMesh();
    cube.positions.insert(cube.positions.begin(), point(5, 5, 5));
    for (auto& face : cube.faces) {
        for (auto& v : face) ++v;
    }
    cube.positions.push_back(point(-5, 0, 0));
    OwnedModel model = buildModel(cube, NormalSharing::perFace);
    OwnedModel once = refined(model.model);
    EXPECT_EQ(once.model.numVertices, 24);
    EXPECT_EQ(once.model.numFaces, 26);
    expectRecordRules(once.model);
    EXPECT_TRUE(facesNotOutward(once.model).empty());
}

TEST(FaceListingAVertexTwice, GivesItsVertexFaceEveryCornerOnce) {
    // A pyramid whose base is the pentagon (1, 2, 3, 1, 4): vertex 1 appears twice in it.
    const MeshSource mesh =
        {{point(0, 0, 1), point(1, 0, 0), point(0, 1, 0), point(-1, 0, 0), point(0, -1, 0)},
         {{1, 4, 1, 3, 2}, {0, 1, 2}, {0, 2, 3}, {0, 3, 1}, {0, 1, 4}, {0, 4, 1}}};
    for (const NormalSharing sharing : {NormalSharing::perVertex, NormalSharing::none}) {
        OwnedModel model = buildModel(mesh, sharing);
        bool built = false;
        OwnedModel once = refined(model.model, &built);
        ASSERT_TRUE(built);
        expectRecordRules(once.model);
        bool found = false;
        for (std::int32_t f = model.model.numFaces; f < once.model.numFaces; ++f) {
            const ObjFace& face = once.model.faces[f];
            if (face.color[2] != 1.0f) continue;
            // Vertex 1 sits at corners 0 and 2 of face 0, then in faces 1, 3, 4 and 5.
            if (cornerSet(face) == std::multiset<std::int32_t>{0, 2, 6, 13, 15, 19}) found = true;
        }
        EXPECT_TRUE(found);
        OwnedModel twice = refined(once.model, &built);
        EXPECT_TRUE(built);
        expectRecordRules(twice.model);
    }
}

TEST(FacesOfFewCorners, AreSteppedLikeAnyOther) {
    // An empty face, a one-corner loop, a two-corner face doubling an edge of the triangle.
    const MeshSource mesh = {{point(0, 0, 0), point(1, 0, 0), point(0, 1, 0), point(3, 3, 3)},
                             {{}, {3}, {0, 1, 2}, {1, 0}}};
    for (const NormalSharing sharing : {NormalSharing::perFace, NormalSharing::none}) {
        OwnedModel model = buildModel(mesh, sharing);
        bool built = false;
        OwnedModel once = refined(model.model, &built);
        ASSERT_TRUE(built);
        // Corners - | 0 | 1 2 3 | 4 5. Edge 0-1 is walked by corners 1, 4 (1 -> 0) and 5; the
        // last of them joins the first.
        ASSERT_EQ(once.model.numVertices, 6);
        ASSERT_EQ(once.model.numFaces, 4 + 0 + 1);
        EXPECT_EQ(once.model.faces[0].numVertices, 0);
        EXPECT_EQ(once.model.faces[0].vertexIndices, nullptr);
        EXPECT_EQ(once.model.faces[1].numVertices, 1);
        EXPECT_EQ(once.model.faces[3].numVertices, 2);
        const ObjFace& edgeFace = once.model.faces[4];
        EXPECT_EQ(std::vector<std::int32_t>(edgeFace.vertexIndices, edgeFace.vertexIndices + 4),
                  (std::vector<std::int32_t>{4, 5, 2, 1}));
        // The one-corner face's vertex moves nowhere: it is its own centroid.
        EXPECT_EQ(once.model.vertices[0].x, 3.0f);
        expectRecordRules(once.model);
        OwnedModel twice = refined(once.model, &built);
        EXPECT_TRUE(built);
        expectRecordRules(twice.model);
    }
}

TEST(CancelingNormals, FallBackToTheFaceNormal) {
    OwnedModel quad = buildModel(singleQuadMesh(), NormalSharing::perVertex);
    quad.model.normals[0] = {0, 0, 1};
    quad.model.normals[1] = {0, 0, 1};
    quad.model.normals[2] = {0, 0, 1};
    quad.model.normals[3] = {0, 0, -1};  // exactly opposite the face normal (0, 0, 1)
    OwnedModel once = refined(quad.model);
    EXPECT_EQ(once.model.normals[3].x, 0.0f);
    EXPECT_EQ(once.model.normals[3].y, 0.0f);
    EXPECT_EQ(once.model.normals[3].z, 1.0f);
}

TEST(CancelingNormals, WithNoFaceNormalUseTheFaceGeometryThenTheUpAxis) {
    MeshSource mesh = singleQuadMesh();
    mesh.positions.push_back(point(0, 0, 0));
    mesh.positions.push_back(point(1, 0, 0));
    mesh.faces.push_back({4, 5, 4});  // no area
    OwnedModel model = buildModel(mesh, NormalSharing::perVertex);
    for (std::int32_t i = 0; i < model.model.numNormals; ++i) model.model.normals[i] = {0, 0, 0};
    OwnedModel once = refined(model.model);
    expectRecordRules(once.model);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(once.model.normals[c].z, 1.0f);  // the quad's plane
    for (int c = 4; c < 7; ++c) EXPECT_EQ(once.model.normals[c].y, 1.0f);  // nothing to go by
}

TEST(CancelingNormals, NotANumberNormalsGiveNone) {
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perFace);
    cube.model.normals[2] = {std::numeric_limits<float>::quiet_NaN(), 0, 0};
    cube.model.normals[3] = {std::numeric_limits<float>::infinity(), 0, 0};
    OwnedModel once = refined(cube.model);
    expectRecordRules(once.model);
}

TEST(RandomFaceSoups, KeepTheRecordRulesOverThreeSteps) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> vertexCount(1, 8), faceCount(1, 10), lattice(-2, 2),
        cornerCount(0, 6);
    for (int round = 0; round < 200; ++round) {
        MeshSource mesh;
        const int vertices = vertexCount(random);
        for (int v = 0; v < vertices; ++v) {
            mesh.positions.push_back(point(float(lattice(random)), float(lattice(random)),
                                           float(lattice(random))));
        }
        std::uniform_int_distribution<int> anyVertex(0, vertices - 1);
        for (int f = faceCount(random); f > 0; --f) {
            std::vector<std::int32_t> corners;
            for (int j = cornerCount(random); j > 0; --j) corners.push_back(anyVertex(random));
            mesh.faces.push_back(corners);
        }
        OwnedModel current =
            buildModel(mesh, round % 2 ? NormalSharing::perVertex : NormalSharing::none);
        for (int level = 1; level <= 3; ++level) {
            bool built = false;
            OwnedModel next = refined(current.model, &built);
            ASSERT_TRUE(built) << "round " << round << " level " << level;
            expectRecordRules(next.model);
            current = std::move(next);
        }
    }
}

TEST(InvalidInput, IsRefusedWithTheOutputLeftEmpty) {
    auto refusedAfter = [](void (*spoil)(ObjModel&)) {
        OwnedModel model = buildModel(twoQuadStripMesh(), NormalSharing::perVertex);
        spoil(model.model);
        bool built = true;
        OwnedModel output = refined(model.model, &built);
        EXPECT_FALSE(built);
        expectEmpty(output.model);
    };
    refusedAfter([](ObjModel& m) { m.faces[0].vertexIndices[1] = 6; });
    refusedAfter([](ObjModel& m) { m.faces[1].vertexIndices[0] = -1; });
    refusedAfter([](ObjModel& m) { m.faces[1].normalIndices[3] = 6; });
    refusedAfter([](ObjModel& m) {
        std::free(m.faces[1].normalIndices);
        m.faces[1].normalIndices = nullptr;
    });
    refusedAfter([](ObjModel& m) { m.faces[0].numVertices = -4; });
    refusedAfter([](ObjModel& m) { m.numVertices = -1; });
}

// Every allocation of the step's scratch tables failing in turn, in the plan and in the build:
// the step reports outOfMemory, throws nothing and leaves the output empty, until it is let
// through every one of them.
TEST(ScratchAllocationFailure, IsReportedAsOutOfMemoryWithTheOutputLeftEmpty) {
    for (const NormalSharing sharing : {NormalSharing::perVertex, NormalSharing::none}) {
        OwnedModel model = buildModel(pentagonalPrismMesh(), sharing);
        StepResult result = StepResult::outOfMemory;
        long failures = 0;
        for (long allowed = 0; result == StepResult::outOfMemory; ++allowed) {
            ASSERT_LT(allowed, 1000) << "the step never finished";
            DooSabinPlan plan;
            OwnedModel output;
            newCallsBeforeFailure = allowed;
            result = planDooSabinStep(model.model, plan);
            if (result == StepResult::built)
                result = buildDooSabinStep(model.model, plan, output.model);
            newCallsBeforeFailure = -1;
            if (result != StepResult::outOfMemory) break;
            ++failures;
            expectEmpty(output.model);
        }
        EXPECT_EQ(result, StepResult::built);
        EXPECT_GT(failures, 5) << "the scratch tables were not all made to fail";
    }
}

TEST(TextureCoordinates, AreNotCarriedIntoTheRefinement) {
    OwnedModel model = buildModel(cubeMesh(), NormalSharing::perFace);
    model.model.numTexCoords = 1;
    model.model.hasTexCoords = 1;
    model.model.texCoords = static_cast<Vec3f*>(std::malloc(sizeof(Vec3f)));
    model.model.texCoords[0] = {0, 0, 0};
    for (std::int32_t f = 0; f < 6; ++f) {
        model.model.faces[f].texCoordIndices = copiedIndices({0, 0, 0, 0});
    }
    OwnedModel once = refined(model.model);
    EXPECT_EQ(once.model.numTexCoords, 0);
    expectRecordRules(once.model);
}
