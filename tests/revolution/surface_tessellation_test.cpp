// Tessellation of the revolved surface into bands of triangle strips: column placement,
// strip breaks at weight-sum sign changes, the closing band, and the basis reuse that must
// emit exactly the numbers of the plain per-sample evaluation.
#include "surface_tessellation.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "surface_evaluation.h"
#include "test_curves.h"

namespace {

GeneratrixCurve negativeMiddleCurve() {
    GeneratrixCurve curve;
    curve.appendPoint({0.2, 0.0, 0.1}, 1.0);
    curve.appendPoint({0.6, 0.0, 0.5}, -3.0);
    curve.appendPoint({0.3, 0.0, 0.9}, 1.0);
    return curve;
}

bool sameBits(const Point3d& a, const Point3d& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void expectSamePoint(const Point3d& actual, const Point3d& expected) {
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.z, expected.z);
}

std::vector<std::size_t> stripLengths(const SurfaceBand& band) {
    std::vector<std::size_t> lengths;
    for (const TriangleStrip& strip : band) lengths.push_back(strip.size());
    return lengths;
}

}  // namespace

TEST(SignRule, ZeroCountsWithThePositiveValues) {
    EXPECT_FALSE(weightSumsDifferInSign(0.0, 1.0));
    EXPECT_FALSE(weightSumsDifferInSign(-0.0, 2.0));
    EXPECT_TRUE(weightSumsDifferInSign(0.0, -1e-300));
    EXPECT_TRUE(weightSumsDifferInSign(-2.0, 3.0));
    EXPECT_FALSE(weightSumsDifferInSign(-2.0, -3.0));
}

TEST(SinglePrecision, RoundsInRangeAndSaturatesBeyondToInfinity) {
    EXPECT_EQ(singlePrecision(0.1), 0.1f);
    EXPECT_EQ(singlePrecision(-0.0), -0.0f);
    EXPECT_EQ(singlePrecision(3.4e38), 3.4e38f);
    EXPECT_EQ(singlePrecision(1e300), std::numeric_limits<float>::infinity());
    EXPECT_EQ(singlePrecision(-1e300), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(singlePrecision(-HUGE_VAL), -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(singlePrecision(std::nan(""))));
}

TEST(SampleGrid, ColumnsAndSamplesAreEvenlySpacedWithoutTheClosingColumn) {
    EXPECT_EQ(columnParameter(0, 10, 4), 0.0);
    EXPECT_EQ(columnParameter(3, 10, 4), 3.0 / 9.0 * 4.0);
    EXPECT_EQ(columnParameter(2, 5, 4), 2.0);
    EXPECT_EQ(sampleParameter(9, 10), 1.0);
    EXPECT_EQ(sampleParameter(1, 3), 0.5);
}

TEST(BandLayout, DefaultCountsGiveNineBandsOfOneStripOfTenPairs) {
    const GeneratrixCurve curve = startCurve();
    const RevolutionSurface surface = builtFrom(curve);
    const std::vector<SurfaceBand> bands = surfaceBands(surface, 10, 10);
    ASSERT_EQ(bands.size(), 9u);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        ASSERT_EQ(bands[i].size(), 1u) << "band " << i;
        ASSERT_EQ(bands[i][0].size(), 20u) << "band " << i;
        // Each pair starts with the earlier column; the later one sits at u = 4 (i + 1) / 9.
        const std::size_t later = (i + 1) % 9;
        double w = 0.0;
        for (int j = 0; j < 10; ++j) {
            const double v = j / 9.0;
            const StripVertex& a = bands[i][0][2 * j];
            const StripVertex& b = bands[i][0][2 * j + 1];
            expectSamePoint(a.point, surfacePoint(surface, i / 9.0 * 4.0, v, w));
            expectSamePoint(b.point, surfacePoint(surface, later / 9.0 * 4.0, v, w));
            expectSamePoint(b.normal, surfaceNormal(surface, later / 9.0 * 4.0, v));
        }
    }
}

TEST(BandLayout, ClosingBandReusesColumnZero) {
    std::mt19937 random(3);
    const GeneratrixCurve curve = randomCurve(random, 4, 0.5, 1.5);
    const RevolutionSurface surface = builtFrom(curve);
    const std::vector<SurfaceBand> bands = surfaceBands(surface, 7, 6);
    const TriangleStrip& opening = bands.front()[0];
    const TriangleStrip& closing = bands.back()[0];
    const TriangleStrip& beforeClosing = bands[bands.size() - 2][0];
    for (std::size_t k = 0; k < closing.size(); k += 2) {
        EXPECT_TRUE(sameBits(closing[k + 1].point, opening[k].point));
        EXPECT_TRUE(sameBits(closing[k + 1].normal, opening[k].normal));
        EXPECT_TRUE(sameBits(closing[k].point, beforeClosing[k + 1].point));
    }
}

TEST(BandLayout, FiveColumnsFallOnTheRingRowsAndFormASquare) {
    const GeneratrixCurve curve = startCurve();
    const RevolutionSurface surface = builtFrom(curve);
    const std::vector<SurfaceBand> bands = surfaceBands(surface, 5, 2);
    ASSERT_EQ(bands.size(), 4u);
    // Sample 0 of the columns at u = 0, 1, 2, 3 is the generatrix's first point turned.
    const Point3d corners[4] = {{0.2, 0, 0.2}, {0, 0.2, 0.2}, {-0.2, 0, 0.2}, {0, -0.2, 0.2}};
    for (int i = 0; i < 4; ++i) {
        const TriangleStrip& strip = bands[i][0];
        ASSERT_EQ(strip.size(), 4u);
        EXPECT_NEAR(strip[0].point.x, corners[i].x, 1e-15);
        EXPECT_NEAR(strip[0].point.y, corners[i].y, 1e-15);
        EXPECT_NEAR(strip[1].point.x, corners[(i + 1) % 4].x, 1e-15);
        EXPECT_NEAR(strip[1].point.y, corners[(i + 1) % 4].y, 1e-15);
        EXPECT_NEAR(strip[3].point.x, 4.0 * corners[(i + 1) % 4].x, 1e-15);
    }
}

TEST(BandLayout, TwoSamplesAlongTheCurveGiveTwoPairsPerStrip) {
    const GeneratrixCurve curve = startCurve();
    for (const SurfaceBand& band : surfaceBands(builtFrom(curve), 10, 2))
        EXPECT_EQ(stripLengths(band), std::vector<std::size_t>{4});
}

TEST(BandLayout, CountsBelowTwoEmitNothing) {
    const GeneratrixCurve curve = startCurve();
    const RevolutionSurface surface = builtFrom(curve);
    EXPECT_TRUE(surfaceBands(surface, 10, 1).empty());
    EXPECT_TRUE(surfaceBands(surface, 1, 10).empty());
    EXPECT_EQ(surfaceBands(surface, 2, 3).size(), 1u);  // one column closed onto itself
}

TEST(Orientation, CounterClockwiseFrontFacesTheNormalWhereTheWeightSumIsPositive) {
    std::mt19937 random(11);
    const GeneratrixCurve curve = randomCurve(random, 5, 0.3, 2.0);
    for (const SurfaceBand& band : surfaceBands(builtFrom(curve), 12, 8)) {
        const TriangleStrip& strip = band[0];
        for (std::size_t k = 0; k + 2 < strip.size(); k += 2) {
            const Point3d& a = strip[k].point;
            const Point3d& b = strip[k + 1].point;
            const Point3d& c = strip[k + 2].point;
            const Point3d e1 = {b.x - a.x, b.y - a.y, b.z - a.z};
            const Point3d e2 = {c.x - a.x, c.y - a.y, c.z - a.z};
            const Point3d front = {e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z,
                                   e1.x * e2.y - e1.y * e2.x};
            const Point3d& n = strip[k].normal;
            EXPECT_GT(front.x * n.x + front.y * n.y + front.z * n.z, 0.0);
        }
    }
}

TEST(SignBreaks, NegativeMiddleWeightSplitsEveryBandIntoThreeStrips) {
    const GeneratrixCurve curve = negativeMiddleCurve();
    const std::vector<SurfaceBand> bands = surfaceBands(builtFrom(curve), 10, 10);
    ASSERT_EQ(bands.size(), 9u);
    // Samples 0-1, 2-7 and 8-9: the pieces between 1 and 2 and between 7 and 8 stay open.
    for (const SurfaceBand& band : bands)
        EXPECT_EQ(stripLengths(band), (std::vector<std::size_t>{4, 12, 4}));
}

TEST(SignBreaks, EmptyGeneratrixGivesUnbrokenStripsOfNotANumberPoints) {
    const GeneratrixCurve curve;
    const std::vector<SurfaceBand> bands = surfaceBands(builtFrom(curve), 10, 10);
    ASSERT_EQ(bands.size(), 9u);
    for (const SurfaceBand& band : bands) {
        ASSERT_EQ(stripLengths(band), std::vector<std::size_t>{20});
        for (const StripVertex& vertex : band[0]) {
            EXPECT_TRUE(std::isnan(vertex.point.x) && std::isnan(vertex.point.z));
            EXPECT_EQ(vertex.normal.x * vertex.normal.x + vertex.normal.z * vertex.normal.z, 0.0);
        }
    }
}

TEST(SignBreaks, ExactZeroWeightSumStartsANewStripOnlyWhenTheSignTurnsNegative) {
    GeneratrixCurve curve;  // weight sum 1 - 2v: exactly 0 at v = 0.5, negative after it
    curve.appendPoint({0.3, 0.0, 0.2}, 1.0);
    curve.appendPoint({0.6, 0.0, 0.8}, -1.0);
    const std::vector<SurfaceBand> bands = surfaceBands(builtFrom(curve), 6, 5);
    for (const SurfaceBand& band : bands) {
        EXPECT_EQ(stripLengths(band), (std::vector<std::size_t>{6, 4}));
        EXPECT_FALSE(std::isfinite(band[0][4].point.x));  // the pole at v = 0.5 is still passed on
    }
}

// Reusing basis values must not change a single bit of what is emitted.
TEST(BasisReuse, EmitsTheSameBitsAsPlainEvaluation) {
    std::mt19937 random(99);
    std::vector<GeneratrixCurve> curves = {GeneratrixCurve{}, startCurve(), negativeMiddleCurve()};
    for (int count = 1; count <= 14; ++count)
        curves.push_back(randomCurve(random, count, -1.5, 2.5));
    GeneratrixCurve pole;
    pole.appendPoint({0.3, 0.0, 0.2}, 1.0);
    pole.appendPoint({0.6, 0.0, 0.8}, -1.0);
    curves.push_back(pole);
    const int counts[][2] = {{5, 2}, {10, 10}, {13, 9}, {23, 31}};
    for (const GeneratrixCurve& curve : curves) {
        const RevolutionSurface surface = builtFrom(curve);
        for (const auto& count : counts) {
            const std::vector<SurfaceBand> plain =
                surfaceBands(surface, count[0], count[1], SampleEvaluation::plain);
            const std::vector<SurfaceBand> reused =
                surfaceBands(surface, count[0], count[1], SampleEvaluation::reusedBasis);
            ASSERT_EQ(plain.size(), reused.size());
            for (std::size_t i = 0; i < plain.size(); ++i) {
                ASSERT_EQ(stripLengths(plain[i]), stripLengths(reused[i]));
                for (std::size_t s = 0; s < plain[i].size(); ++s)
                    for (std::size_t k = 0; k < plain[i][s].size(); ++k) {
                        ASSERT_TRUE(sameBits(plain[i][s][k].point, reused[i][s][k].point))
                            << curve.pointCount() << " points, band " << i << " vertex " << k;
                        ASSERT_TRUE(sameBits(plain[i][s][k].normal, reused[i][s][k].normal))
                            << curve.pointCount() << " points, band " << i << " vertex " << k;
                    }
            }
        }
    }
}

// So many samples that the per-frame basis tables would be too large: each sample then
// recomputes its basis, with the same results, and only one band is held at a time.
TEST(BasisReuse, HugeSampleCountsStreamBandsOfBoundedSize) {
    std::mt19937 random(5);
    const GeneratrixCurve curve = randomCurve(random, 40, 0.5, 1.5);
    const RevolutionSurface surface = builtFrom(curve);
    const int curveSamples = 60000;
    int bandCount = 0;
    std::vector<SurfaceBand> firstBand;
    tessellateSurface(surface, 5, curveSamples, [&](const SurfaceBand& band) {
        ++bandCount;
        ASSERT_EQ(stripLengths(band), std::vector<std::size_t>{2u * curveSamples});
        if (firstBand.empty()) firstBand.push_back(band);
    });
    EXPECT_EQ(bandCount, 4);
    double w = 0.0;
    for (int j : {0, 12345, curveSamples - 1}) {
        const double v = sampleParameter(j, curveSamples);
        expectSamePoint(firstBand[0][0][2 * j + 1].point, surfacePoint(surface, 1.0, v, w));
        expectSamePoint(firstBand[0][0][2 * j + 1].normal, surfaceNormal(surface, 1.0, v));
    }
}
