// Construction of the four quarter-turn nets from the generatrix.
#include "revolution_surface.h"

#include <gtest/gtest.h>

#include "test_curves.h"

namespace {

void expectRow(const GeneratrixCurve& row, const std::vector<Point3d>& points, double weight) {
    ASSERT_EQ(row.pointCount(), points.size());
    ASSERT_EQ(row.weights.size(), points.size());
    for (std::size_t j = 0; j < points.size(); ++j) {
        EXPECT_DOUBLE_EQ(row.controlPoints[j].x, points[j].x) << "point " << j;
        EXPECT_DOUBLE_EQ(row.controlPoints[j].y, points[j].y) << "point " << j;
        EXPECT_DOUBLE_EQ(row.controlPoints[j].z, points[j].z) << "point " << j;
        EXPECT_DOUBLE_EQ(row.weights[j], weight) << "weight " << j;
    }
}

bool sameRow(const GeneratrixCurve& a, const GeneratrixCurve& b) {
    if (a.pointCount() != b.pointCount() || a.weights != b.weights) return false;
    for (std::size_t j = 0; j < a.pointCount(); ++j) {
        const Point3d& p = a.controlPoints[j];
        const Point3d& q = b.controlPoints[j];
        if (p.x != q.x || p.y != q.y || p.z != q.z) return false;
    }
    return true;
}

}  // namespace

TEST(SurfaceShape, ProgramStartsWithFourPatchesOfThreeEmptyRowsAndNoSource) {
    EXPECT_EQ(revolutionSurface.source, nullptr);
    ASSERT_EQ(revolutionSurface.patches.size(), 4u);
    for (const SurfacePatch& patch : revolutionSurface.patches) {
        ASSERT_EQ(patch.size(), 3u);
        for (const GeneratrixCurve& row : patch) EXPECT_EQ(row.pointCount(), 0u);
    }
}

TEST(SurfaceShape, CornerWeightFactorIsSinglePrecisionPointSevenOne) {
    EXPECT_EQ(cornerWeightFactor, 0.7099999785423279);
}

TEST(ShiftCurve, MovesAlongOneSideOfTheSquareAndScalesWeights) {
    GeneratrixCurve curve;
    curve.appendPoint({0.5, 0.25, 0.3}, 2.0);
    curve.appendPoint({-0.4, 0.1, 0.9}, -1.0);
    const GeneratrixCurve addX = shiftCurve(curve, true, 0.5);
    ASSERT_EQ(addX.pointCount(), 2u);
    EXPECT_DOUBLE_EQ(addX.controlPoints[0].y, 0.75);
    EXPECT_DOUBLE_EQ(addX.controlPoints[1].y, -0.3);
    EXPECT_EQ(addX.controlPoints[1].x, -0.4);
    EXPECT_EQ(addX.controlPoints[1].z, 0.9);
    EXPECT_EQ(addX.weights, (std::vector<double>{1.0, -0.5}));
    const GeneratrixCurve subtractY = shiftCurve(curve, false, 1.0);
    EXPECT_DOUBLE_EQ(subtractY.controlPoints[0].x, 0.25);
    EXPECT_DOUBLE_EQ(subtractY.controlPoints[1].x, -0.5);
    EXPECT_EQ(subtractY.controlPoints[1].y, 0.1);
    EXPECT_EQ(subtractY.weights, curve.weights);
}

TEST(RebuildSurface, StartCurveGivesTheTurnedRowsWithPowersOfTheCornerFactor) {
    const GeneratrixCurve curve = startCurve();
    const RevolutionSurface surface = builtFrom(curve);
    const double c2 = 0.504099969530106, c4 = 0.25411677928025383;
    expectRow(surface.patches[0][0], {{0.2, 0, 0.2}, {0.8, 0, 0.8}}, 1.0);
    expectRow(surface.patches[0][1], {{0.2, 0.2, 0.2}, {0.8, 0.8, 0.8}}, cornerWeightFactor);
    expectRow(surface.patches[1][1], {{-0.2, 0.2, 0.2}, {-0.8, 0.8, 0.8}}, c2);
    expectRow(surface.patches[2][2], {{0, -0.2, 0.2}, {0, -0.8, 0.8}}, 0.3579109675495634);
    expectRow(surface.patches[3][1], {{0.2, -0.2, 0.2}, {0.8, -0.8, 0.8}}, c4);
    expectRow(surface.patches[3][2], {{0.2, 0, 0.2}, {0.8, 0, 0.8}}, c4);
}

TEST(RebuildSurface, NeighboringPatchesShareTheirRingRows) {
    std::mt19937 random(7);
    const GeneratrixCurve curve = randomCurve(random, 6, -2.0, 2.0);
    const RevolutionSurface surface = builtFrom(curve);
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(sameRow(surface.patches[k][2], surface.patches[k + 1][0])) << "patch " << k;
}

TEST(RebuildSurface, ClosingRowRepeatsTheFirstRingWithFourCornerFactors) {
    std::mt19937 random(8);
    const GeneratrixCurve curve = randomCurve(random, 5, -2.0, 2.0);
    const RevolutionSurface surface = builtFrom(curve);
    const GeneratrixCurve& first = surface.patches[0][0];
    const GeneratrixCurve& closing = surface.patches[3][2];
    const double c = cornerWeightFactor;
    ASSERT_EQ(closing.pointCount(), first.pointCount());
    for (std::size_t j = 0; j < first.pointCount(); ++j) {
        EXPECT_DOUBLE_EQ(closing.controlPoints[j].x, first.controlPoints[j].x);
        EXPECT_DOUBLE_EQ(closing.controlPoints[j].y + 1.0, 1.0);
        EXPECT_EQ(closing.controlPoints[j].z, first.controlPoints[j].z);
        EXPECT_DOUBLE_EQ(closing.weights[j], c * c * c * c * first.weights[j]);
    }
}

TEST(RebuildSurface, WeightChangeScalesOneColumnInAllTwelveRows) {
    std::mt19937 random(9);
    GeneratrixCurve curve = randomCurve(random, 4, 0.5, 2.0);
    const RevolutionSurface before = builtFrom(curve);
    curve.weightAt(2) *= -3.0;
    const RevolutionSurface after = builtFrom(curve);
    for (int k = 0; k < 4; ++k) {
        for (int i = 0; i < 3; ++i) {
            const GeneratrixCurve& a = before.patches[k][i];
            const GeneratrixCurve& b = after.patches[k][i];
            for (std::size_t j = 0; j < 4; ++j) {
                const double expected = j == 2 ? -3.0 * a.weights[j] : a.weights[j];
                EXPECT_DOUBLE_EQ(b.weights[j], expected) << k << " " << i << " " << j;
                EXPECT_EQ(b.controlPoints[j].x, a.controlPoints[j].x);
                EXPECT_EQ(b.controlPoints[j].y, a.controlPoints[j].y);
            }
        }
    }
}

TEST(RebuildSurface, SecondRebuildReplacesRatherThanAppends) {
    const GeneratrixCurve curve = startCurve();
    RevolutionSurface surface = builtFrom(curve);
    const RevolutionSurface first = surface;
    rebuildSurface(surface);
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(sameRow(surface.patches[k][i], first.patches[k][i]));
}

TEST(RebuildSurface, PointOnTheAxisStaysPutInEveryRow) {
    GeneratrixCurve curve;
    curve.appendPoint({0.0, 0.0, 0.4}, 1.0);
    const RevolutionSurface surface = builtFrom(curve);
    for (const SurfacePatch& patch : surface.patches)
        for (const GeneratrixCurve& row : patch) expectRow(row, {{0.0, 0.0, 0.4}}, row.weights[0]);
}

TEST(RebuildSurface, OnePointGivesRowsOfOneAndNoPointsGiveEmptyRows) {
    GeneratrixCurve one;
    one.appendPoint({0.3, 0.0, 0.6}, 2.0);
    for (const SurfacePatch& patch : builtFrom(one).patches)
        for (const GeneratrixCurve& row : patch) EXPECT_EQ(row.pointCount(), 1u);
    GeneratrixCurve none;
    for (const SurfacePatch& patch : builtFrom(none).patches)
        for (const GeneratrixCurve& row : patch) EXPECT_EQ(row.pointCount(), 0u);
}

TEST(RebuildSurface, WithoutSourceChangesNothingAndLostShapeIsRestored) {
    RevolutionSurface unset = emptyRevolutionSurface();
    rebuildSurface(unset);
    EXPECT_EQ(unset.patches.size(), 4u);
    const GeneratrixCurve curve = startCurve();
    RevolutionSurface damaged;
    damaged.source = &curve;
    rebuildSurface(damaged);
    ASSERT_EQ(damaged.patches.size(), 4u);
    for (const SurfacePatch& patch : damaged.patches) EXPECT_EQ(patch.size(), 3u);
}

TEST(RebuildRoundSurface, SameControlPointsWithWeightsOneCosFortyFiveOne) {
    std::mt19937 random(7);
    const GeneratrixCurve curve = randomCurve(random, 5, 0.2, 3.0);
    const RevolutionSurface shown = builtFrom(curve);
    RevolutionSurface round = emptyRevolutionSurface();
    round.source = &curve;
    rebuildRoundSurface(round);
    for (int k = 0; k < surfacePatchCount; ++k) {
        for (int i = 0; i < patchRowCount; ++i) {
            const GeneratrixCurve& row = round.patches[k][i];
            GeneratrixCurve samePoints = shown.patches[k][i];
            samePoints.weights = row.weights;
            EXPECT_TRUE(sameRow(row, samePoints)) << "patch " << k << " row " << i;
            const double factor = i == 1 ? roundCornerWeightFactor : 1.0;
            for (std::size_t j = 0; j < curve.pointCount(); ++j)
                EXPECT_EQ(row.weights[j], factor * curve.weights[j]);
        }
    }
}
