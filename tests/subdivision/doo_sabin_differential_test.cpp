// The linear-time Doo-Sabin step against a plain transcription of the quadratic one (edges
// and boundary vertices found by scanning the edge table, V-faces by scanning all faces, rings
// by trying every corner): the same edge table and the same model, bit for bit, on closed,
// open, triangle and polygon meshes, on non-manifold and badly oriented ones, and on random
// face soups; and the same model again when the step is split over 2, 3 or 8 threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "edge_table.h"
#include "model_comparison.h"
#include "reference_doo_sabin.h"
#include "test_meshes.h"
#include "vertex_ring.h"

namespace {

testing::AssertionResult sameEdgeTable(const EdgeTable& actual, const EdgeTable& expected) {
    if (actual.size() != expected.size()) {
        return testing::AssertionFailure()
               << actual.size() << " edges, expected " << expected.size();
    }
    for (std::size_t i = 0; i < actual.size(); ++i) {
        const EdgeRecord& a = actual[i];
        const EdgeRecord& e = expected[i];
        const std::int32_t fieldsA[10] = {a.vertexA,         a.vertexB,       a.firstFrom,
                                          a.firstTo,         a.secondFrom,    a.secondTo,
                                          a.firstFromNormal, a.firstToNormal, a.secondFromNormal,
                                          a.secondToNormal};
        const std::int32_t fieldsE[10] = {e.vertexA,         e.vertexB,       e.firstFrom,
                                          e.firstTo,         e.secondFrom,    e.secondTo,
                                          e.firstFromNormal, e.firstToNormal, e.secondFromNormal,
                                          e.secondToNormal};
        for (int k = 0; k < 10; ++k) {
            if (fieldsA[k] != fieldsE[k]) {
                return testing::AssertionFailure() << "edge " << i << " field " << k << ": "
                                                   << fieldsA[k] << " instead of " << fieldsE[k];
            }
        }
    }
    return testing::AssertionSuccess();
}

template <typename Entry>
testing::AssertionResult sameArray(const char* name, const std::vector<Entry>& actual,
                                   const std::vector<Entry>& expected) {
    if (actual.size() != expected.size()) {
        return testing::AssertionFailure()
               << name << ": " << actual.size() << " entries, expected " << expected.size();
    }
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected[i]) {
            return testing::AssertionFailure() << name << "[" << i << "]: " << int(actual[i])
                                               << " instead of " << int(expected[i]);
        }
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult samePlan(const DooSabinPlan& actual, const DooSabinPlan& expected) {
    const CornerTopology& a = actual.topology;
    const CornerTopology& e = expected.topology;
    if (a.numCorners != e.numCorners || a.numEdges != e.numEdges ||
        a.numInteriorEdges != e.numInteriorEdges) {
        return testing::AssertionFailure() << "corner or edge counts differ";
    }
    testing::AssertionResult same = sameArray("faceStart", a.faceStart, e.faceStart);
    if (same) same = sameArray("cornerFace", a.cornerFace, e.cornerFace);
    if (same) same = sameArray("vertexStart", a.vertexStart, e.vertexStart);
    if (same) same = sameArray("cornersByVertex", a.cornersByVertex, e.cornersByVertex);
    if (same) same = sameArray("edgePartner", a.edgePartner, e.edgePartner);
    if (same) same = sameArray("partnerNext", a.partnerNext, e.partnerNext);
    if (same) same = sameArray("onBoundary", a.onBoundary, e.onBoundary);
    if (same)
        same =
            sameArray("V-face corners", actual.vertexFaces.corners, expected.vertexFaces.corners);
    if (same)
        same = sameArray("V-face starts", actual.vertexFaces.start, expected.vertexFaces.start);
    if (same) {
        same = sameArray("alongFan", actual.vertexFaces.alongFan, expected.vertexFaces.alongFan);
    }
    return same;
}

// Steps the model `levels` times both ways, comparing edge tables and results at each level.
void expectSameAsReference(const ObjModel& start, int levels) {
    OwnedModel current;
    const ObjModel* input = &start;
    for (int level = 1; level <= levels; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        EdgeTable referenceEdges;
        OwnedModel expected;
        referenceDooSabinStep(*input, expected.model, referenceEdges);
        EXPECT_TRUE(sameEdgeTable(buildEdgeTable(*input), referenceEdges));
        bool built = false;
        OwnedModel actual = refined(*input, &built);
        ASSERT_TRUE(built);
        ASSERT_TRUE(sameModel(actual.model, expected.model));
        // Split over threads, each writing its own ranges, the step makes the same model.
        DooSabinPlan plan;
        ASSERT_EQ(planDooSabinStep(*input, plan), StepResult::built);
        for (const int threads : {2, 3, 8}) {
            OwnedModel split;
            ASSERT_EQ(buildDooSabinStep(*input, plan, split.model, threads), StepResult::built);
            ASSERT_TRUE(sameModel(split.model, expected.model)) << threads << " threads";
        }
        current = std::move(actual);
        input = &current.model;
    }
}

void expectSameAsReference(const MeshSource& mesh, int levels) {
    for (const NormalSharing sharing :
         {NormalSharing::perFace, NormalSharing::perVertex, NormalSharing::none}) {
        SCOPED_TRACE("normal sharing " + std::to_string(int(sharing)));
        OwnedModel model = buildModel(mesh, sharing);
        expectSameAsReference(model.model, levels);
    }
}

// Faces whose every corner lists a random vertex: loops, repeats, fins, edges walked any way,
// faces of 0 to 6 corners, unused vertices, positions on a coarse lattice so that corners are
// often collinear or coincide.
MeshSource randomFaceSoup(std::mt19937& random) {
    std::uniform_int_distribution<int> vertexCount(1, 10), faceCount(1, 14), lattice(-3, 3);
    std::discrete_distribution<int> cornerCount({1, 1, 2, 8, 6, 2, 1});
    MeshSource mesh;
    const int vertices = vertexCount(random);
    for (int v = 0; v < vertices; ++v) {
        mesh.positions.push_back(point(float(lattice(random)), float(lattice(random)),
                                       float(lattice(random)) * 0.5f));
    }
    std::uniform_int_distribution<int> anyVertex(0, vertices - 1);
    const int faces = faceCount(random);
    for (int f = 0; f < faces; ++f) {
        std::vector<std::int32_t> corners;
        const int n = cornerCount(random);
        for (int j = 0; j < n; ++j) corners.push_back(anyVertex(random));
        mesh.faces.push_back(corners);
    }
    return mesh;
}

// A closed mesh shuffled: faces in random order, corners rotated, some faces turned over (so
// their edges are walked twice one way), positions jittered into saddles.
MeshSource shuffledClosedMesh(MeshSource mesh, std::mt19937& random) {
    std::shuffle(mesh.faces.begin(), mesh.faces.end(), random);
    std::uniform_int_distribution<int> coin(0, 5);
    std::uniform_real_distribution<float> jitter(-0.4f, 0.4f);
    for (auto& face : mesh.faces) {
        std::rotate(face.begin(), face.begin() + coin(random) % face.size(), face.end());
        if (coin(random) == 0) std::reverse(face.begin(), face.end());
    }
    for (Vec4f& p : mesh.positions) {
        p = point(p.x + jitter(random), p.y + jitter(random), p.z + jitter(random));
    }
    return mesh;
}

// Random normals, some zero and some exactly opposite to others, in place of the loader's.
void scrambleNormals(ObjModel& model, std::mt19937& random) {
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_real_distribution<float> component(-1.0f, 1.0f);
    for (std::int32_t i = 0; i < model.numNormals; ++i) {
        const int k = kind(random);
        if (k == 0) {
            model.normals[i] = {0.0f, 0.0f, 0.0f};
        } else if (k == 1 && i > 0) {
            const Vec3f& other = model.normals[i - 1];
            model.normals[i] = {-other.x, -other.y, -other.z};
        } else {
            model.normals[i] = {component(random), component(random), component(random)};
        }
    }
}

}  // namespace

TEST(DooSabinMatchesPlainStep, OnClosedQuadAndTriangleMeshes) {
    expectSameAsReference(cubeMesh(), 3);
    expectSameAsReference(tetrahedronMesh(), 3);
    expectSameAsReference(octahedronMesh(), 2);
    expectSameAsReference(quadTorusMesh(8, 5), 2);
    expectSameAsReference(triangleSphereMesh(1), 2);
    expectSameAsReference(noisySphereMesh(1, 3), 2);
}

TEST(DooSabinMatchesPlainStep, OnPolygonsAndOpenMeshes) {
    expectSameAsReference(pentagonalPrismMesh(), 2);
    expectSameAsReference(singleQuadMesh(), 2);
    expectSameAsReference(twoQuadStripMesh(), 3);
    expectSameAsReference(gridMesh(5, 4, [](int c, int r) { return float((c * 7 + r * 3) % 4); }),
                          2);
}

TEST(DooSabinMatchesPlainStep, OnNonManifoldEdgesAndEdgesWalkedOneWayTwice) {
    // Three quads on the edge 0-1; two triangles walking 4-5 the same way; a pillow of two
    // triangles sharing all their edges, whose vertices have two faces each.
    const MeshSource fin = {{point(0, 0, 0), point(1, 0, 0), point(0, 1, 0), point(1, 1, 0),
                             point(0, -1, 1), point(1, -1, 1), point(0, 0, 2), point(1, 0, 2)},
                            {{0, 1, 3, 2}, {1, 0, 4, 5}, {0, 1, 7, 6}, {4, 5, 2}, {4, 5, 3}}};
    expectSameAsReference(fin, 2);
    const MeshSource pillow = {{point(0, 0, 0), point(1, 0, 0), point(0, 1, 0)},
                               {{0, 1, 2}, {0, 2, 1}}};
    expectSameAsReference(pillow, 3);
}

TEST(DooSabinMatchesPlainStep, OnShuffledClosedMeshesWithSaddles) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        expectSameAsReference(shuffledClosedMesh(round % 2 ? cubeMesh() : quadTorusMesh(6, 4),
                                                 random),
                              2);
    }
}

TEST(DooSabinMatchesPlainStep, OnRandomFaceSoups) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE("soup " + std::to_string(round));
        const MeshSource soup = randomFaceSoup(random);
        expectSameAsReference(soup, 2);
        OwnedModel scrambled = buildModel(soup, NormalSharing::perVertex);
        scrambleNormals(scrambled.model, random);
        expectSameAsReference(scrambled.model, 2);
    }
}

// The levels of a closed manifold take each plan from the plan before: the same, entry for
// entry, as the plan gathered from the model built.
TEST(DooSabinPlanAfterAStep, MatchesThePlanGatheredFromItsModel) {
    std::mt19937 random(5);
    const MeshSource meshes[] = {cubeMesh(),
                                 tetrahedronMesh(),
                                 pentagonalPrismMesh(),
                                 quadTorusMesh(6, 4),
                                 twistedSphereMesh(3.0f),
                                 monkeySaddleSphereMesh(),
                                 shuffledClosedMesh(triangleSphereMesh(1), random)};
    for (const MeshSource& mesh : meshes) {
        SCOPED_TRACE(std::to_string(mesh.faces.size()) + " faces");
        OwnedModel current = buildModel(mesh, NormalSharing::perVertex);
        DooSabinPlan plan;
        ASSERT_EQ(planDooSabinStep(current.model, plan), StepResult::built);
        if (!isClosedManifold(current.model, plan.topology)) continue;  // a face turned over
        for (int level = 1; level <= 3; ++level) {
            SCOPED_TRACE("level " + std::to_string(level));
            OwnedModel next;
            ASSERT_EQ(buildDooSabinStep(current.model, plan, next.model), StepResult::built);
            DooSabinPlan derived, gathered;
            ASSERT_EQ(planDooSabinStepAfter(next.model, plan, derived), StepResult::built);
            ASSERT_EQ(planDooSabinStep(next.model, gathered), StepResult::built);
            ASSERT_TRUE(samePlan(derived, gathered));
            EXPECT_EQ(derived.outputSize.faces, gathered.outputSize.faces);
            EXPECT_EQ(derived.outputSize.corners, gathered.outputSize.corners);
            EXPECT_EQ(derived.outputSize.indexListBytes, gathered.outputSize.indexListBytes);
            plan = std::move(derived);
            current = std::move(next);
        }
    }
}

TEST(RingOrderingMatchesPlainRule, OnRandomRingsWithTiesAndReflexAnchors) {
    std::mt19937 random(99);
    std::uniform_int_distribution<int> size(1, 9), lattice(-2, 2), normalKind(0, 4);
    for (int round = 0; round < 3000; ++round) {
        MeshSource ring;
        const int n = size(random);
        std::vector<std::int32_t> corners;
        for (int i = 0; i < n; ++i) {
            ring.positions.push_back(point(float(lattice(random)), float(lattice(random)),
                                           float(lattice(random)) * 0.25f));
            corners.push_back(i);
        }
        ring.faces.push_back(corners);
        OwnedModel a = buildModel(ring, NormalSharing::perVertex);
        OwnedModel b = buildModel(ring, NormalSharing::perVertex);
        const Vec3f normals[5] = {{0, 0, 1}, {0, 0, -1}, {0.3f, -0.2f, 0.9f}, {0, 0, 0}, {1, 0, 0}};
        const Vec3f normal = normals[normalKind(random)];
        orderVertexRing(a.model.faces[0], normal, a.model);
        referenceOrderVertexRing(b.model.faces[0], normal, b.model);
        ASSERT_TRUE(sameModel(a.model, b.model)) << "round " << round;
    }
}
