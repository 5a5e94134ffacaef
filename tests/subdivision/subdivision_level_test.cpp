// The subdivision level driver: record identity by level, results equal to the steps taken
// one by one, nothing left behind, and levels refused (with nothing changed) when their model
// would overflow its counts or the memory budget.
#include "subdivision_level.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <array>
#include <climits>
#include <string>
#include <vector>

#include "model_comparison.h"
#include "model_size.h"
#include "record_watch.h"
#include "test_meshes.h"

namespace {

// The program's subdivided record: created with new, released and deleted when the test ends.
struct ShownModel {
    ObjModel* record = new ObjModel{};
    ShownModel() = default;
    ShownModel(const ShownModel&) = delete;
    ShownModel& operator=(const ShownModel&) = delete;
    ~ShownModel() {
        freeModelArrays(record);
        delete record;
    }
};

OwnedModel stepped(const ObjModel& base, int levels) {
    OwnedModel current = refined(base);
    for (int level = 2; level <= levels; ++level) current = refined(current.model);
    return current;
}

bool apply(const ObjModel& base, ShownModel& shown, int level, std::string* errors = nullptr,
           std::uint64_t budget = 0) {
    testing::internal::CaptureStderr();
    const bool applied = budget == 0 ? applySubdivisionLevel(base, shown.record, level)
                                     : applySubdivisionLevel(base, shown.record, level, budget);
    const std::string text = testing::internal::GetCapturedStderr();
    if (errors != nullptr) *errors = text;
    return applied;
}

// Bytes the allocator has handed out and not had back, or 0 when it cannot tell.
std::size_t bytesInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

}  // namespace

TEST(LevelOne, RefillsTheShownRecord) {
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perFace);
    ShownModel shown;
    const ObjModel* record = shown.record;
    watch(record);
    ASSERT_TRUE(apply(cube.model, shown, 1));
    ASSERT_TRUE(apply(cube.model, shown, 1));
    EXPECT_EQ(shown.record, record);
    EXPECT_FALSE(watchedRecordDestroyed);
    EXPECT_TRUE(sameModel(*shown.record, stepped(cube.model, 1).model));
}

TEST(LevelThree, ReplacesTheRecordWithThreeStepsFromTheBase) {
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perVertex);
    ShownModel shown;
    ASSERT_TRUE(apply(cube.model, shown, 1));
    watch(shown.record);
    ASSERT_TRUE(apply(cube.model, shown, 3));
    EXPECT_TRUE(watchedRecordDestroyed);
    EXPECT_TRUE(sameModel(*shown.record, stepped(cube.model, 3).model));
    watch(shown.record);
    ASSERT_TRUE(apply(cube.model, shown, 2));
    EXPECT_TRUE(watchedRecordDestroyed);
}

TEST(GoingDown, RebuildsLevelOneFromTheBaseAndKeepsItAtZero) {
    OwnedModel torus = buildModel(quadTorusMesh(6, 4), NormalSharing::perVertex);
    ShownModel shown;
    ASSERT_TRUE(apply(torus.model, shown, 2));
    ASSERT_TRUE(apply(torus.model, shown, 1));
    const OwnedModel levelOne = stepped(torus.model, 1);
    EXPECT_TRUE(sameModel(*shown.record, levelOne.model));
    // Level 0 shows the base: the model built last is kept as it is.
    const ObjModel* record = shown.record;
    const Vec4f* vertices = shown.record->vertices;
    ASSERT_TRUE(apply(torus.model, shown, 0));
    ASSERT_TRUE(apply(torus.model, shown, -3));
    EXPECT_EQ(shown.record, record);
    EXPECT_EQ(shown.record->vertices, vertices);
    // Up to 1 again: built anew, the same.
    ASSERT_TRUE(apply(torus.model, shown, 1));
    EXPECT_TRUE(sameModel(*shown.record, levelOne.model));
}

TEST(Rebuilds, LeaveNoArraysBehind) {
    OwnedModel sphere = buildModel(triangleSphereMesh(2), NormalSharing::perVertex);
    const std::size_t before = bytesInUse();
    if (before == 0) GTEST_SKIP() << "the allocator does not report its use here";
    {
        ShownModel shown;
        for (const int level : {1, 3, 2, 0, 1, 4, 3}) {
            ASSERT_TRUE(apply(sphere.model, shown, level));
            if (level == 0) continue;
            // What is held now is the base and the shown model, give or take the allocator's
            // bookkeeping of the few large arrays.
            const double shownBytes = double(modelBytes(measureModel(*shown.record)));
            EXPECT_NEAR(double(bytesInUse() - before), shownBytes, 0.02 * shownBytes + 65536)
                << "level " << level;
        }
    }
    EXPECT_NEAR(double(bytesInUse()), double(before), 4096.0);
}

TEST(RefusedLevel, OverTheBudgetChangesNothing) {
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perFace);
    ShownModel shown;
    ASSERT_TRUE(apply(cube.model, shown, 2));
    const ObjModel* record = shown.record;
    const ObjModel fields = *shown.record;
    const OwnedModel levelTwo = stepped(cube.model, 2);
    std::string errors;
    EXPECT_FALSE(apply(cube.model, shown, 3, &errors, 60000));
    EXPECT_EQ(shown.record, record);
    EXPECT_EQ(std::memcmp(shown.record, &fields, sizeof fields), 0);
    EXPECT_TRUE(sameModel(*shown.record, levelTwo.model));
    EXPECT_EQ(errors.find("Subdivision level 3 not built: it needs "), 0u) << errors;
    EXPECT_NE(errors.find("MiB, more than the memory budget of "), std::string::npos) << errors;
    EXPECT_EQ(errors.find('\n'), errors.size() - 1) << "one line";
}

TEST(RefusedLevel, AtLevelOneKeepsTheRecordAndItsModel) {
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perFace);
    ShownModel shown;
    ASSERT_TRUE(apply(cube.model, shown, 1));
    const ObjModel fields = *shown.record;
    EXPECT_FALSE(apply(cube.model, shown, 1, nullptr, 100));
    EXPECT_EQ(std::memcmp(shown.record, &fields, sizeof fields), 0);
}

TEST(RefusedLevel, PastThe32BitCountsComesBackAtOnce) {
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perFace);
    ShownModel shown;
    ASSERT_TRUE(apply(cube.model, shown, 1));
    const ObjModel fields = *shown.record;
    std::string errors;
    // Level 17 of the cube has 24 * 4^16 vertices.
    const std::uint64_t everything = ~std::uint64_t{0};
    EXPECT_FALSE(apply(cube.model, shown, 17, &errors, everything));
    EXPECT_EQ(errors,
              "Subdivision level 17 not built: its model would have more than "
              "2147483647 vertices or faces.\n");
    EXPECT_FALSE(apply(cube.model, shown, 20, &errors));
    EXPECT_FALSE(errors.empty());
    EXPECT_EQ(std::memcmp(shown.record, &fields, sizeof fields), 0);
}

TEST(HighLevels, OfASingleFaceAreBuiltSinceTheyDoNotGrow) {
    // The bound for later levels assumes growth; the exact check builds the level anyway.
    OwnedModel quad = buildModel(singleQuadMesh(), NormalSharing::perVertex);
    ShownModel shown;
    watch(shown.record);
    ASSERT_TRUE(apply(quad.model, shown, 40));
    EXPECT_TRUE(watchedRecordDestroyed);
    EXPECT_TRUE(sameModel(*shown.record, stepped(quad.model, 40).model));
    const ObjModel* record = shown.record;
    watch(record);
    ASSERT_TRUE(apply(quad.model, shown, 1, nullptr, 4096));  // level 1 still refills in place
    EXPECT_EQ(shown.record, record);
    EXPECT_FALSE(watchedRecordDestroyed);
    EXPECT_TRUE(sameModel(*shown.record, stepped(quad.model, 1).model));
}

TEST(HighLevels, OfOpenMeshesBuiltAsideEqualTheStepsTakenOneByOne) {
    OwnedModel grid = buildModel(flatGridMesh(3, 2), NormalSharing::perVertex);
    // The exact peak of the three steps, which the bound for the later levels overshoots.
    std::uint64_t exactPeak = 0;
    OwnedModel current;
    const ObjModel* input = &grid.model;
    for (int level = 1; level <= 3; ++level) {
        OwnedModel next = refined(*input);
        const ModelSize in = measureModel(*input);
        exactPeak = std::max(exactPeak, modelBytes(in) + stepScratchBytes(in) +
                                            modelBytes(measureModel(next.model)));
        current = std::move(next);
        input = &current.model;
    }
    ASSERT_LT(modelBytes(measureModel(current.model)),
              modelBytes(boundNextDooSabinLevel(
                  boundNextDooSabinLevel(measureModel(stepped(grid.model, 1).model)))));
    ShownModel shown;
    ASSERT_TRUE(apply(grid.model, shown, 3, nullptr, exactPeak));
    EXPECT_TRUE(sameModel(*shown.record, current.model));
}

TEST(HighLevels, OfAClosedMeshThatIsNoManifoldAreRefusedOnlyPastTheirExactNeed) {
    // Four faces meet at the shared edge: these cubes grow less than the bound for closed
    // meshes says, so a budget of their exact need must do.
    OwnedModel cubes = buildModel(twoCubesSharingAnEdgeMesh(), NormalSharing::perVertex);
    const int level = 4;
    std::uint64_t exactPeak = 0;
    OwnedModel current;
    const ObjModel* input = &cubes.model;
    for (int step = 1; step <= level; ++step) {
        OwnedModel next = refined(*input);
        const ModelSize in = measureModel(*input);
        exactPeak = std::max(exactPeak, modelBytes(in) + stepScratchBytes(in) +
                                            modelBytes(measureModel(next.model)));
        current = std::move(next);
        input = &current.model;
    }
    ModelSize bound = measureModel(stepped(cubes.model, 1).model);
    for (int step = 2; step <= level; ++step) bound = boundNextDooSabinLevel(bound);
    ASSERT_GT(modelBytes(bound), modelBytes(measureModel(current.model)));
    ShownModel shown;
    ASSERT_TRUE(apply(cubes.model, shown, level, nullptr, exactPeak));
    EXPECT_TRUE(sameModel(*shown.record, current.model));
    ShownModel empty;
    std::string errors;
    EXPECT_FALSE(apply(cubes.model, empty, level, &errors, exactPeak - 1));
    EXPECT_EQ(errors.find("Subdivision level 4 not built: it needs "), 0u) << errors;
}

// The steps the driver has told of: step, level and the faces of the model made; and whether
// every face lay in one range of the kinds told, coloured as its kind.
std::vector<std::array<std::int32_t, 3>> toldSteps;
bool kindsAsColoured = true;
void noteStep(const BuiltStep& built) {
    toldSteps.push_back({built.step, built.level, built.model->numFaces});
    std::int32_t next = 0;
    for (const FaceKindRange& range : *built.kinds) {
        kindsAsColoured = kindsAsColoured && range.begin == next;
        for (std::int32_t f = range.begin; f < range.end; ++f) {
            const float* color = built.model->faces[f].color;
            kindsAsColoured =
                kindsAsColoured && std::equal(color, color + 3, faceKindColor(range.kind));
        }
        next = range.end;
    }
    kindsAsColoured = kindsAsColoured && next == built.model->numFaces;
}

TEST(Progress, EveryStepIsToldWithTheModelAndKindsItMadeInPlaceAndAside) {
    // The cube's forecast fits, so it is stepped in place; the quad's bound for level 6 passes
    // the small budget, so it is built aside and checked step by step.
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perFace);
    OwnedModel quad = buildModel(singleQuadMesh(), NormalSharing::perVertex);
    const struct {
        const ObjModel* base;
        int level;
        std::uint64_t budget;
    } rebuilds[] = {{&cube.model, 3, memoryBudgetBytes()}, {&quad.model, 6, 4096}};
    for (const auto& rebuild : rebuilds) {
        toldSteps.clear();
        ShownModel shown;
        LevelRequest request;
        request.budgetBytes = rebuild.budget;
        request.progress = noteStep;
        ASSERT_TRUE(applySubdivisionLevel(*rebuild.base, shown.record, rebuild.level, request));
        std::vector<std::array<std::int32_t, 3>> expected;
        for (int step = 1; step <= rebuild.level; ++step) {
            expected.push_back({step, rebuild.level, stepped(*rebuild.base, step).model.numFaces});
        }
        EXPECT_EQ(toldSteps, expected);
    }
    EXPECT_TRUE(kindsAsColoured);
}

TEST(EmptyBase, GivesEmptyLevels) {
    const MeshSource points = {{point(0, 0, 0), point(1, 2, 3)}, {}};
    OwnedModel base = buildModel(points, NormalSharing::none);
    ShownModel shown;
    ASSERT_TRUE(apply(base.model, shown, 64));
    EXPECT_EQ(shown.record->numVertices, 0);
    EXPECT_EQ(shown.record->numFaces, 0);
    EXPECT_EQ(shown.record->vertices, nullptr);
}

TEST(HighLevels, HaveNoDeepestLevel) {
    // A lone face does not grow, so any level of it fits.
    OwnedModel quad = buildModel(singleQuadMesh(), NormalSharing::none);
    ShownModel shown;
    ASSERT_TRUE(apply(quad.model, shown, 100));
    EXPECT_TRUE(sameModel(*shown.record, stepped(quad.model, 100).model));
}

TEST(RefusedLevel, OfAnOpenMeshGivesUpOnceItsGrowthShowsIt) {
    // A grid grows about fourfold per level: level 20 is out of reach, which the growth of its
    // second step already shows.
    OwnedModel grid = buildModel(flatGridMesh(4, 4), NormalSharing::perVertex);
    ShownModel shown;
    std::string errors;
    EXPECT_FALSE(apply(grid.model, shown, 20, &errors, std::uint64_t{1} << 30));
    EXPECT_EQ(errors.find("Subdivision level 20 not built: it would need about "), 0u) << errors;
    EXPECT_EQ(shown.record->faces, nullptr);
}

TEST(InvalidBase, IsRefusedWithItsReason) {
    OwnedModel strip = buildModel(twoQuadStripMesh(), NormalSharing::none);
    strip.model.faces[1].vertexIndices[1] = 42;
    ShownModel shown;
    std::string errors;
    EXPECT_FALSE(apply(strip.model, shown, 2, &errors));
    EXPECT_EQ(errors,
              "Subdivision level 2 not built: the model has a face whose indices lie "
              "outside its arrays.\n");
    EXPECT_EQ(shown.record->faces, nullptr);
}
