// Model sizes: the heap a model takes, the exact size of a refinement before it is built, the
// upper bound for later levels, the 32-bit limits and the memory budget.
#include "model_size.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <climits>
#include <random>

#include "doo_sabin.h"
#include "test_meshes.h"

#if defined(__SANITIZE_ADDRESS__)
#define ALLOCATOR_REPLACED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ALLOCATOR_REPLACED 1
#endif
#endif

namespace {

void expectSameSize(const ModelSize& a, const ModelSize& b) {
    EXPECT_EQ(a.vertices, b.vertices);
    EXPECT_EQ(a.texCoords, b.texCoords);
    EXPECT_EQ(a.normals, b.normals);
    EXPECT_EQ(a.faces, b.faces);
    EXPECT_EQ(a.corners, b.corners);
    EXPECT_EQ(a.indexListBytes, b.indexListBytes);
    EXPECT_EQ(a.indexLists, b.indexLists);
}

void expectBoundHolds(const ModelSize& bound, const ModelSize& actual) {
    EXPECT_EQ(bound.vertices, actual.vertices);
    EXPECT_EQ(bound.normals, actual.normals);
    EXPECT_GE(bound.faces, actual.faces);
    EXPECT_GE(bound.corners, actual.corners);
    EXPECT_GE(bound.indexListBytes, actual.indexListBytes);
    EXPECT_GE(modelBytes(bound), modelBytes(actual));
}

std::vector<MeshSource> variedMeshes() {
    return {cubeMesh(),
            twoQuadStripMesh(),
            pentagonalPrismMesh(),
            gridMesh(4, 3, [](int c, int r) { return float(c * r % 3); }),
            {{point(0, 0, 0), point(1, 0, 0), point(0, 1, 0)}, {{0, 1, 2}, {0, 2, 1}}},
            {{point(0, 0, 0), point(1, 0, 0), point(0, 1, 0), point(1, 1, 0), point(0, -1, 1),
              point(1, -1, 1), point(0, 0, 2), point(1, 0, 2), point(9, 9, 9)},
             {{0, 1, 3, 2}, {1, 0, 4, 5}, {0, 1, 7, 6}, {4, 5, 2}, {4, 5, 3}, {}, {6}}}};
}

}  // namespace

TEST(IndexListHeapBytes, FollowsTheAllocatorsRounding) {
    EXPECT_EQ(indexListHeapBytes(0), 0);
    for (int n = 1; n <= 6; ++n) EXPECT_EQ(indexListHeapBytes(n), 32) << n;
    EXPECT_EQ(indexListHeapBytes(7), 48);
    EXPECT_EQ(indexListHeapBytes(10), 48);
    EXPECT_EQ(indexListHeapBytes(11), 64);
}

#ifndef ALLOCATOR_REPLACED
TEST(IndexListHeapBytes, MatchesWhatMallocReallyGives) {
    for (int n = 1; n <= 40; ++n) {
        void* block = std::malloc(sizeof(std::int32_t) * std::size_t(n));
        EXPECT_EQ(std::int64_t(malloc_usable_size(block)) + 8, indexListHeapBytes(n)) << n;
        std::free(block);
    }
}
#endif

TEST(MeasureModel, CountsArraysAndIndexLists) {
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perFace);
    const ModelSize size = measureModel(cube.model);
    expectSameSize(size, {8, 0, 6, 6, 24, 6 * 32, 2});
    EXPECT_EQ(modelBytes(size), 8u * 16 + 6 * 12 + 6 * sizeof(ObjFace) + 2 * 6 * 32);
}

TEST(PlannedSize, IsExactlyTheSizeOfTheStepsOutput) {
    for (const MeshSource& mesh : variedMeshes()) {
        for (const NormalSharing sharing : {NormalSharing::perVertex, NormalSharing::none}) {
            OwnedModel current = buildModel(mesh, sharing);
            for (int level = 1; level <= 3; ++level) {
                DooSabinPlan plan;
                ASSERT_EQ(planDooSabinStep(current.model, plan), StepResult::built);
                OwnedModel next = refined(current.model);
                expectSameSize(plan.outputSize, measureModel(next.model));
                current = std::move(next);
            }
        }
    }
}

TEST(PlannedSize, IsRefusedForAModelThatBreaksTheRules) {
    OwnedModel strip = buildModel(twoQuadStripMesh(), NormalSharing::none);
    strip.model.faces[0].vertexIndices[0] = 99;
    DooSabinPlan plan;
    EXPECT_EQ(planDooSabinStep(strip.model, plan), StepResult::invalidInput);
}

TEST(BoundNextLevel, NeverUndercountsALaterLevel) {
    for (const MeshSource& mesh : variedMeshes()) {
        for (const NormalSharing sharing : {NormalSharing::perFace, NormalSharing::none}) {
            OwnedModel base = buildModel(mesh, sharing);
            OwnedModel current = refined(base.model);
            for (int level = 2; level <= 4; ++level) {
                OwnedModel next = refined(current.model);
                expectBoundHolds(boundNextDooSabinLevel(measureModel(current.model)),
                                 measureModel(next.model));
                current = std::move(next);
            }
        }
    }
}

TEST(BoundNextLevel, IsExactForClosedMeshes) {
    for (const MeshSource& mesh : {cubeMesh(), quadTorusMesh(6, 4), triangleSphereMesh(1)}) {
        OwnedModel base = buildModel(mesh, NormalSharing::perVertex);
        OwnedModel current = refined(base.model);
        for (int level = 2; level <= 3; ++level) {
            OwnedModel next = refined(current.model);
            expectSameSize(boundNextDooSabinLevel(measureModel(current.model)),
                           measureModel(next.model));
            current = std::move(next);
        }
    }
}

TEST(BoundNextLevel, IsExactForEveryMeshTakenForAClosedManifold) {
    MeshSource flippedFace = cubeMesh();
    std::reverse(flippedFace.faces[0].begin(), flippedFace.faces[0].end());
    const struct {
        MeshSource mesh;
        bool closedManifold;
    } cases[] = {
        {tetrahedronMesh(), true},
        {octahedronMesh(), true},
        {pentagonalPrismMesh(), true},
        {quadTorusMesh(5, 3), true},
        {twistedSphereMesh(3.0f), true},  // folds that a picture of the ring would cross
        {twoQuadStripMesh(), false},
        {twoCubesSharingAnEdgeMesh(), false},
        {twoTetrahedraSharingAVertexMesh(), false},
        {flippedFace, false},
        {{{point(0, 0, 0), point(1, 0, 0), point(0, 1, 0)}, {{0, 1, 2}, {0, 2, 1}}}, false},
    };
    for (const auto& c : cases) {
        OwnedModel base = buildModel(c.mesh, NormalSharing::perVertex);
        DooSabinPlan plan;
        ASSERT_EQ(planDooSabinStep(base.model, plan), StepResult::built);
        EXPECT_EQ(isClosedManifold(base.model, plan.topology), c.closedManifold)
            << c.mesh.faces.size() << " faces";
        if (!c.closedManifold) continue;
        OwnedModel current = refined(base.model);
        for (int level = 2; level <= 3; ++level) {
            OwnedModel next = refined(current.model);
            expectSameSize(boundNextDooSabinLevel(measureModel(current.model)),
                           measureModel(next.model));
            current = std::move(next);
        }
    }
}

TEST(BoundNextLevel, SaturatesInsteadOfOverflowing) {
    ModelSize size = {24, 0, 24, 26, 96, 26 * 32, 2};
    for (int level = 0; level < 100; ++level) size = boundNextDooSabinLevel(size);
    EXPECT_GT(size.vertices, 0);
    EXPECT_GT(size.faces, 0);
    EXPECT_FALSE(fitsRecordCounts(size));
    EXPECT_GT(modelBytes(size), std::uint64_t{1} << 50);
}

TEST(FitsRecordCounts, StopsAtTheLargest32BitCount) {
    const std::int64_t largest = INT32_MAX;
    EXPECT_TRUE(fitsRecordCounts({largest, 0, largest, largest, 0, 0, 2}));
    EXPECT_FALSE(fitsRecordCounts({largest + 1, 0, 0, 1, 0, 0, 1}));
    EXPECT_FALSE(fitsRecordCounts({1, 0, largest + 1, 1, 0, 0, 2}));
    EXPECT_FALSE(fitsRecordCounts({1, 0, 0, largest + 1, 0, 0, 1}));
}

TEST(MemoryBudget, IsAtMostHalfTheMemoryAndSixteenGibibytes) {
    const std::uint64_t budget = memoryBudgetBytes();
    EXPECT_GT(budget, std::uint64_t{0});
    EXPECT_LE(budget, std::uint64_t{16} << 30);
}
