// The rational Bezier generatrix: binomials, the Bernstein basis, evaluation, point removal,
// and the homogeneous de Casteljau construction that the pages show.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "curve_construction.h"
#include "curve_file.h"
#include "generatrix_curve.h"

namespace {

GeneratrixCurve curveOf(const std::vector<Point3d>& points, const std::vector<double>& weights) {
    GeneratrixCurve curve;
    for (std::size_t i = 0; i < points.size(); ++i) curve.appendPoint(points[i], weights[i]);
    return curve;
}

void expectPointNear(const Point3d& actual, const Point3d& expected, double tolerance = 1e-12) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// Points on a wavy profile, enough for high degrees.
GeneratrixCurve wavyCurve(int pointCount, double weight) {
    GeneratrixCurve curve;
    for (int i = 0; i < pointCount; ++i)
        curve.appendPoint({0.5 + 0.3 * std::sin(i), 0.0, static_cast<double>(i) / pointCount},
                          weight);
    return curve;
}

// A sample curve of curves/, as the pages and the export tool read it.
GeneratrixCurve sampleCurve(const std::string& name) {
    std::ifstream file(std::string(CURVES_DIR) + "/" + name + ".curve");
    std::stringstream text;
    text << file.rdbuf();
    GeneratrixCurve curve;
    CurveFileError error;
    EXPECT_TRUE(readCurveText(text.str(), curve, error))
        << name << ": " << describeCurveError(error);
    return curve;
}

// The polynomial Bezier curve by de Casteljau, as an independent reference.
Point3d deCasteljau(std::vector<Point3d> points, double t) {
    for (std::size_t level = points.size(); level > 1; --level)
        for (std::size_t i = 0; i + 1 < level; ++i) {
            points[i].x = (1 - t) * points[i].x + t * points[i + 1].x;
            points[i].y = (1 - t) * points[i].y + t * points[i + 1].y;
            points[i].z = (1 - t) * points[i].z + t * points[i + 1].z;
        }
    return points[0];
}

}  // namespace

TEST(CurveBinomial, KnownValues) {
    EXPECT_EQ(binomial(13, 6), 1716u);
    EXPECT_EQ(binomial(40, 20), 137846528820ull);
    EXPECT_EQ(binomial(0, 0), 1u);
    EXPECT_EQ(binomial(5, 0), 1u);
    EXPECT_EQ(binomial(5, 5), 1u);
}

TEST(CurveBinomial, ZeroOutsideTheRange) {
    EXPECT_EQ(binomial(5, -1), 0u);
    EXPECT_EQ(binomial(5, 6), 0u);
    EXPECT_EQ(binomialValue(70, 71), 0.0);
}

TEST(CurveBinomial, ExactAgainstPascalsTriangleUpToDegree62) {
    std::vector<std::uint64_t> row{1};
    for (int n = 1; n <= maxExactBinomialDegree; ++n) {
        std::vector<std::uint64_t> next(n + 1, 1);
        for (int i = 1; i < n; ++i) next[i] = row[i - 1] + row[i];
        row = next;
        for (int i = 0; i <= n; ++i) ASSERT_EQ(binomial(n, i), row[i]) << "n=" << n << " i=" << i;
    }
}

TEST(CurveBinomial, FloatingValueBeyondTheExactRangeStaysClose) {
    // C(70, 35) = 112186277816662845432, about 1.1219e20.
    EXPECT_NEAR(binomialValue(70, 35) / 1.12186277816662845432e20, 1.0, 1e-12);
    EXPECT_EQ(binomialValue(70, 1), 70.0);
}

TEST(CurveBernstein, ZeroExponentIsExactlyOneAtTheEnds) {
    EXPECT_EQ(bernstein(5, 0, 0.0), 1.0);
    EXPECT_EQ(bernstein(5, 5, 1.0), 1.0);
    EXPECT_EQ(bernstein(5, 1, 0.0), 0.0);
    EXPECT_EQ(bernstein(0, 0, 0.3), 1.0);
}

TEST(CurveBernstein, BasisSumsToOneAtHighDegrees) {
    for (int n : {13, 40, 80}) {
        for (double t = 0.0; t <= 1.0; t += 0.0625) {
            double sum = 0.0;
            for (int i = 0; i <= n; ++i) sum += bernstein(n, i, t);
            EXPECT_NEAR(sum, 1.0, 1e-12) << "n=" << n << " t=" << t;
        }
    }
}

TEST(CurveEvaluate, StraightSegmentOfTwoUnitWeights) {
    const GeneratrixCurve curve = curveOf({{0.2, 0, 0.2}, {0.8, 0, 0.8}}, {1, 1});
    double weightSum = 0;
    expectPointNear(curve.evaluate(0.5, weightSum), {0.5, 0, 0.5});
    EXPECT_DOUBLE_EQ(weightSum, 1.0);
}

TEST(CurveEvaluate, HeavierMiddleWeightPullsTheCurve) {
    const GeneratrixCurve curve = curveOf({{0, 0, 0}, {1, 0, 0}, {1, 0, 1}}, {1, 2, 1});
    double weightSum = 0;
    expectPointNear(curve.evaluate(0.5, weightSum), {5.0 / 6.0, 0, 1.0 / 6.0});
    EXPECT_DOUBLE_EQ(weightSum, 1.5);
}

TEST(CurveEvaluate, EqualWeightsGiveThePolynomialCurve) {
    for (double k : {1.0, 3.5, -2.0}) {
        const GeneratrixCurve curve = wavyCurve(7, k);
        for (double t = 0.0; t <= 1.0; t += 0.125) {
            double weightSum = 0;
            expectPointNear(curve.evaluate(t, weightSum), deCasteljau(curve.controlPoints, t));
            EXPECT_NEAR(weightSum, k, 1e-12);
        }
    }
}

TEST(CurveEvaluate, EndPointsAreInterpolated) {
    const GeneratrixCurve curve =
        curveOf({{0.1, 0, 0.3}, {0.9, 0, 0.4}, {0.7, 0, 0.9}}, {2.5, 1, -0.5});
    double weightSum = 0;
    const Point3d first = curve.evaluate(0.0, weightSum);
    EXPECT_EQ(first.x, 0.1);
    EXPECT_EQ(first.z, 0.3);
    EXPECT_EQ(weightSum, 2.5);
    const Point3d last = curve.evaluate(1.0, weightSum);
    EXPECT_DOUBLE_EQ(last.x, 0.7);
    EXPECT_DOUBLE_EQ(last.z, 0.9);
    EXPECT_EQ(weightSum, -0.5);
}

TEST(CurveEvaluate, ZeroWeightPointHasNoInfluence) {
    const GeneratrixCurve with = curveOf({{0, 0, 0}, {5, 0, 9}, {1, 0, 1}}, {1, 0, 1});
    const GeneratrixCurve moved = curveOf({{0, 0, 0}, {-3, 0, 2}, {1, 0, 1}}, {1, 0, 1});
    for (double t = 0.0; t <= 1.0; t += 0.1) {
        double sumA = 0, sumB = 0;
        expectPointNear(with.evaluate(t, sumA), moved.evaluate(t, sumB));
        EXPECT_DOUBLE_EQ(sumA, sumB);
    }
}

TEST(CurveEvaluate, NegativeWeightsFlipTheSignOfTheSum) {
    const GeneratrixCurve curve = curveOf({{0.2, 0, 0.2}, {0.8, 0, 0.8}}, {1, -1});
    double before = 0, at = 0, after = 0;
    curve.evaluate(0.49, before);
    const Point3d far = curve.evaluate(0.5, at);
    curve.evaluate(0.51, after);
    EXPECT_GT(before, 0.0);
    EXPECT_EQ(at, 0.0);
    EXPECT_LT(after, 0.0);
    EXPECT_FALSE(std::isfinite(far.x));
    double near = 0;
    EXPECT_GT(std::fabs(curve.evaluate(0.4999, near).x), 100.0);
}

TEST(CurveEvaluate, OnePointIsTheWholeCurve) {
    const GeneratrixCurve curve = curveOf({{0.3, 0, 0.6}}, {-2});
    for (double t : {0.0, 0.25, 1.0}) {
        double weightSum = 0;
        expectPointNear(curve.evaluate(t, weightSum), {0.3, 0, 0.6});
        EXPECT_EQ(weightSum, -2.0);
    }
}

TEST(CurveEvaluate, EmptyCurveGivesZeroSumAndNotANumber) {
    const GeneratrixCurve curve;
    double weightSum = 1;
    const Point3d point = curve.evaluate(0.5, weightSum);
    EXPECT_EQ(weightSum, 0.0);
    EXPECT_TRUE(std::isnan(point.x));
    EXPECT_TRUE(std::isnan(point.z));
}

TEST(CurveEvaluate, HighDegreeCurveStaysOnThePolynomialCurve) {
    const GeneratrixCurve curve = wavyCurve(41, 1.0);
    double weightSum = 0;
    expectPointNear(curve.evaluate(0.3, weightSum), deCasteljau(curve.controlPoints, 0.3), 1e-10);
    EXPECT_NEAR(weightSum, 1.0, 1e-12);
}

TEST(CurveRemovePoint, FirstPointShiftsTheRestDown) {
    GeneratrixCurve curve = curveOf({{1, 0, 1}, {2, 0, 2}, {3, 0, 3}}, {0.5, 1.5, 2.5});
    curve.removePoint(0);
    ASSERT_EQ(curve.pointCount(), 2u);
    ASSERT_EQ(curve.weights.size(), 2u);
    EXPECT_EQ(curve.controlPoints[0].x, 2);
    EXPECT_EQ(curve.controlPoints[1].x, 3);
    EXPECT_EQ(curve.weights[0], 1.5);
    EXPECT_EQ(curve.weights[1], 2.5);
}

TEST(CurveRemovePoint, LastPointLeavesAnEmptyCurve) {
    GeneratrixCurve curve = curveOf({{1, 0, 1}}, {1});
    curve.removePoint(0);
    EXPECT_EQ(curve.pointCount(), 0u);
    EXPECT_TRUE(curve.weights.empty());
}

TEST(CurveConstruction, EndsAtTheCurvePointAtEveryParameter) {
    const GeneratrixCurve curves[] = {
        curveOf({{0.1, 0, 0}, {0.8, 0, 0.2}, {0.3, 0, 0.5}, {0.9, 0, 0.7}, {0.2, 0, 1}},
                {1, 2.5, 0.4, 1.7, 0.9}),
        curveOf({{0.2, 0, 0}, {0.6, 0, 0.5}, {0.2, 0, 1}}, {1, -0.3, 1}),
        wavyCurve(12, 1.0),
        sampleCurve("goblet"),  // weights up to 30
        sampleCurve("quarter_circle"),
    };
    for (const GeneratrixCurve& curve : curves) {
        for (int k = 0; k < 50; ++k) {
            const double t = k / 49.0;
            const CurveConstruction construction = constructCurvePoint(curve, t);
            ASSERT_EQ(construction.rounds.size(), curve.pointCount());
            ASSERT_EQ(construction.rounds.back().size(), 1u);
            double weightSum = 0.0;
            const Point3d expected = curve.evaluate(t, weightSum);
            expectPointNear(projectedPoint(construction.rounds.back()[0]), expected);
            EXPECT_NEAR(construction.rounds.back()[0].weight, weightSum, 1e-12);
        }
    }
}

TEST(CurveConstruction, MiddleWeightOfHalfRootTwoDrawsAnExactQuarterCircle) {
    struct Row {
        const char* name;
        GeneratrixCurve arc;
        double centreX, centreZ, radius;
    };
    const Row rows[] = {
        {"unit arc", curveOf({{1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, {1, std::sqrt(0.5), 1}), 0, 0, 1},
        // The page's sample: its weight written out in full in the file.
        {"quarter_circle.curve", sampleCurve("quarter_circle"), 0, 0.1, 0.8},
    };
    for (const Row& row : rows) {
        for (int k = 0; k < 50; ++k) {
            const Point3d p =
                projectedPoint(constructCurvePoint(row.arc, k / 49.0).rounds.back()[0]);
            EXPECT_NEAR(std::hypot(p.x - row.centreX, p.z - row.centreZ), row.radius, 1e-12)
                << row.name << " at t = " << k / 49.0;
        }
    }
}
