// Points and normals of the revolved surface: patch selection, the start curve's known
// values, perpendicularity to the tangents, and the degenerate nets.
#include "surface_evaluation.h"

#include <cmath>

#include <gtest/gtest.h>

#include "test_curves.h"

namespace {

void expectNear(const Point3d& actual, const Point3d& expected, double tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

double length(const Point3d& p) { return std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z); }
double dot(const Point3d& a, const Point3d& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Point3d difference(const Point3d& a, const Point3d& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

}  // namespace

TEST(PatchSelection, BoundariesBelongToTheLowerPatch) {
    EXPECT_EQ(selectPatch(0.0).patch, 0u);
    EXPECT_EQ(selectPatch(1.0).patch, 0u);
    EXPECT_EQ(selectPatch(1.0).s, 1.0);
    EXPECT_EQ(selectPatch(std::nextafter(1.0, 2.0)).patch, 1u);
    EXPECT_EQ(selectPatch(2.0).patch, 1u);
    EXPECT_EQ(selectPatch(2.5).patch, 2u);
    EXPECT_EQ(selectPatch(2.5).s, 0.5);
    EXPECT_EQ(selectPatch(3.0).patch, 2u);
    EXPECT_EQ(selectPatch(4.0).patch, 3u);
    EXPECT_EQ(selectPatch(4.0).s, 1.0);
}

TEST(PatchSelection, ParametersOutsideTheTurnStayWithinTheFourPatches) {
    EXPECT_EQ(selectPatch(-0.5).patch, 0u);
    EXPECT_EQ(selectPatch(-0.5).s, -0.5);
    EXPECT_EQ(selectPatch(7.0).patch, 3u);
    EXPECT_EQ(selectPatch(std::nan("")).patch, 3u);
    const GeneratrixCurve curve = startCurve();
    const RevolutionSurface surface = builtFrom(curve);
    double weightSum = 0.0;
    EXPECT_TRUE(std::isnan(surfacePoint(surface, std::nan(""), 0.5, weightSum).x));
}

TEST(TripleProduct, EqualsTheCrossProductOfEdgesForUnitWeights) {
    const HomogeneousPoint p{1, 2, 3, 1}, q{2, 2, 3, 1}, r{1, 3, 3, 1};
    const Point3d n = tripleProduct(p, q, r);  // (1,0,0) x (0,1,0)
    EXPECT_EQ(n.x, 0.0);
    EXPECT_EQ(n.y, 0.0);
    EXPECT_EQ(n.z, 1.0);
    const HomogeneousPoint a{1, 4, -2, 1}, b{0.5, 1, 2, 1}, c{-3, 0.25, 1, 1};
    const Point3d e1 = {b.x - a.x, b.y - a.y, b.z - a.z}, e2 = {c.x - a.x, c.y - a.y, c.z - a.z};
    const Point3d m = tripleProduct(a, b, c);
    expectNear(m, {e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x},
               1e-12);
}

TEST(StartCurveValues, PointsAndWeightSums) {
    const GeneratrixCurve curve = startCurve();
    const RevolutionSurface surface = builtFrom(curve);
    double w = 0.0;
    expectNear(surfacePoint(surface, 0.0, 0.5, w), {0.5, 0.0, 0.5}, 1e-12);
    EXPECT_DOUBLE_EQ(w, 1.0);
    expectNear(surfacePoint(surface, 1.0, 0.5, w), {0.0, 0.5, 0.5}, 1e-12);
    EXPECT_DOUBLE_EQ(w, 0.7099999785423279);
    expectNear(surfacePoint(surface, 0.5, 0.5, w), {0.3865814707, 0.3402555878, 0.5}, 1e-9);
    EXPECT_NEAR(w, 0.7824999839, 1e-9);
    expectNear(surfacePoint(surface, 4.0, 1.0, w), {0.8, 0.0, 0.8}, 1e-12);
    EXPECT_DOUBLE_EQ(w, 0.25411677928025383);
    expectNear(surfacePoint(surface, 1.5, 0.25, w), {-0.2381789114, 0.2706070295, 0.35}, 1e-9);
}

TEST(StartCurveValues, UnitNormals) {
    const GeneratrixCurve curve = startCurve();
    const RevolutionSurface surface = builtFrom(curve);
    const double h = 0.70710678;
    expectNear(surfaceNormal(surface, 0.0, 0.5), {h, 0.0, -h}, 1e-8);
    expectNear(surfaceNormal(surface, 1.0, 0.5), {0.0, h, -h}, 1e-8);
    expectNear(surfaceNormal(surface, 0.5, 0.5), {0.5294749334, 0.4527010624, -0.7174385291}, 1e-9);
    expectNear(surfaceNormal(surface, 1.5, 0.25), {-0.4527010624, 0.5294749334, -0.7174385291},
               1e-9);
    EXPECT_NEAR(length(surfaceNormal(surface, 2.7, 0.9)), 1.0, 1e-14);
}

TEST(StartCurveValues, GlobalFormsReadTheProgramSurface) {
    const GeneratrixCurve curve = startCurve();
    revolutionSurface.source = &curve;
    rebuildSurface();
    double w = 0.0;
    expectNear(surfacePoint(0.0, 0.5, w), {0.5, 0.0, 0.5}, 1e-12);
    expectNear(surfaceNormal(1.0, 0.5), {0.0, 0.70710678, -0.70710678}, 1e-8);
    revolutionSurface = emptyRevolutionSurface();
}

// The normal is perpendicular to both tangents, for weights of either sign; the tangents are
// central difference quotients of the surface point.
TEST(NormalDirection, PerpendicularToBothTangentsForRandomCurves) {
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> parameterU(0.02, 3.98), parameterV(0.02, 0.98);
    const double step = 1e-6;
    int checked = 0;
    for (int trial = 0; trial < 40; ++trial) {
        const GeneratrixCurve curve = randomCurve(random, 2 + trial % 6, -1.0, 2.0);
        const RevolutionSurface surface = builtFrom(curve);
        for (int sample = 0; sample < 10; ++sample) {
            const double u = parameterU(random), v = parameterV(random);
            double w = 0.0, w1 = 0.0, w2 = 0.0;
            surfacePoint(surface, u, v, w);
            if (std::fabs(w) < 0.05) continue;  // too close to a pole of the rational form
            const Point3d du = difference(surfacePoint(surface, u + step, v, w1),
                                          surfacePoint(surface, u - step, v, w2));
            const Point3d dv = difference(surfacePoint(surface, u, v + step, w1),
                                          surfacePoint(surface, u, v - step, w2));
            const Point3d n = surfaceNormal(surface, u, v);
            if (length(du) < 1e-7 || length(dv) < 1e-7) continue;
            EXPECT_NEAR(length(n), 1.0, 1e-12);
            EXPECT_NEAR(dot(n, du) / length(du), 0.0, 1e-5) << "u " << u << " v " << v;
            EXPECT_NEAR(dot(n, dv) / length(dv), 0.0, 1e-5) << "u " << u << " v " << v;
            ++checked;
        }
    }
    EXPECT_GT(checked, 300);
}

TEST(NormalDirection, FlipsWithTheSignOfTheWeightSum) {
    GeneratrixCurve positive = startCurve();
    GeneratrixCurve negative = positive;
    negative.weightAt(0) = -1.0;
    negative.weightAt(1) = -1.0;
    const Point3d n = surfaceNormal(builtFrom(positive), 0.7, 0.3);
    const Point3d m = surfaceNormal(builtFrom(negative), 0.7, 0.3);
    expectNear(m, {-n.x, -n.y, -n.z}, 1e-14);
}

TEST(DegenerateNets, PointOnTheAxisGivesAShortUnnormalizedNormal) {
    GeneratrixCurve curve;
    curve.appendPoint({0.0, 0.0, 0.1}, 1.0);
    curve.appendPoint({0.5, 0.0, 0.5}, 1.0);
    curve.appendPoint({0.0, 0.0, 0.9}, 1.0);
    const RevolutionSurface surface = builtFrom(curve);
    for (double u : {0.0, 0.3, 1.0, 2.5, 3.9}) {
        EXPECT_LE(length(surfaceNormal(surface, u, 0.0)), 1e-8) << u;
        EXPECT_LE(length(surfaceNormal(surface, u, 1.0)), 1e-8) << u;
        double w = 0.0;
        expectNear(surfacePoint(surface, u, 0.0, w), {0.0, 0.0, 0.1}, 1e-15);
    }
}

TEST(DegenerateNets, OnePointTracesALoopWithAZeroNormal) {
    GeneratrixCurve curve;
    curve.appendPoint({0.5, 0.0, 0.3}, 2.0);
    const RevolutionSurface surface = builtFrom(curve);
    for (double u : {0.0, 0.5, 1.0, 2.2, 3.7}) {
        double w = 0.0;
        const Point3d p = surfacePoint(surface, u, 0.4, w);
        EXPECT_NEAR(p.z, 0.3, 1e-15);
        EXPECT_GT(std::hypot(p.x, p.y), 0.49);
        EXPECT_GT(w, 0.0);
        const Point3d n = surfaceNormal(surface, u, 0.4);
        EXPECT_EQ(length(n), 0.0);
    }
}

TEST(DegenerateNets, NoPointsGiveNotANumberPointAndZeroNormal) {
    const GeneratrixCurve curve;
    const RevolutionSurface surface = builtFrom(curve);
    double w = 1.0;
    const Point3d p = surfacePoint(surface, 1.5, 0.5, w);
    EXPECT_EQ(w, 0.0);
    EXPECT_TRUE(std::isnan(p.x) && std::isnan(p.y) && std::isnan(p.z));
    EXPECT_EQ(length(surfaceNormal(surface, 1.5, 0.5)), 0.0);
}

TEST(WeightSumSign, NegativeMiddleWeightGivesTheSameSignPatternInEveryPatch) {
    GeneratrixCurve curve;
    curve.appendPoint({0.2, 0.0, 0.1}, 1.0);
    curve.appendPoint({0.6, 0.0, 0.5}, -3.0);
    curve.appendPoint({0.3, 0.0, 0.9}, 1.0);
    const RevolutionSurface surface = builtFrom(curve);
    for (double u : {0.0, 0.4, 1.0, 1.6, 2.9, 3.99}) {
        double w = 0.0;
        surfacePoint(surface, u, 0.02, w);
        EXPECT_GT(w, 0.0) << u;
        surfacePoint(surface, u, 0.5, w);
        EXPECT_LT(w, 0.0) << u;
        surfacePoint(surface, u, 0.98, w);
        EXPECT_GT(w, 0.0) << u;
    }
}

TEST(RoundSurface, EveryQuarterIsACircularArcWhereTheShownOneBulges) {
    GeneratrixCurve curve;
    curve.appendPoint({0.5, 0.0, 0.2}, 1.0);
    curve.appendPoint({0.25, 0.0, 0.8}, 2.0);
    const RevolutionSurface shown = builtFrom(curve);
    RevolutionSurface round = emptyRevolutionSurface();
    round.source = &curve;
    rebuildRoundSurface(round);
    double weightSum = 0.0;
    for (const double v : {0.0, 0.3, 1.0}) {
        const Point3d start = surfacePoint(round, 0.0, v, weightSum);
        double largestShown = 0.0;
        for (int step = 0; step <= 400; ++step) {
            const double u = step / 100.0;
            const Point3d p = surfacePoint(round, u, v, weightSum);
            EXPECT_NEAR(std::hypot(p.x, p.y), start.x, 1e-15) << "u " << u << " v " << v;
            EXPECT_NEAR(p.z, start.z, 1e-15);
            const Point3d q = surfacePoint(shown, u, v, weightSum);
            largestShown = std::max(largestShown, std::hypot(q.x, q.y) / start.x);
        }
        EXPECT_NEAR(largestShown, 1.03046, 1e-5) << "v " << v;
    }
}
