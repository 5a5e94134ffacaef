// Curve files: written curves read back bit for bit, and every kind of bad line refused with
// its line number, leaving the curve as it was.
#include "curve_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(CurveFile, WrittenCurvesReadBackBitForBit) {
    std::mt19937_64 random(15);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_real_distribution<double> weight(-5.0, 5.0);
    GeneratrixCurve curve;
    // Hard numbers first: a negative zero, the smallest subnormal, the largest double,
    // tenths that no binary fraction holds, a weight stepped down to nearly 0 by the keys.
    curve.appendPoint({0.0, 0.0, -0.0}, std::numeric_limits<double>::denorm_min());
    curve.appendPoint({std::numeric_limits<double>::max(), 0.0, 0.1}, -0.7);
    curve.appendPoint({1.0 / 3.0, 0.0, 600.0 / 599.0}, 1.0 - 10 * 0.1);
    for (int i = 0; i < 200; ++i)
        curve.appendPoint({unit(random), 0.0, unit(random)}, weight(random));

    GeneratrixCurve read;
    CurveFileError error;
    ASSERT_TRUE(readCurveText(curveText(curve), read, error)) << describeCurveError(error);
    ASSERT_EQ(read.pointCount(), curve.pointCount());
    for (std::size_t i = 0; i < curve.pointCount(); ++i) {
        EXPECT_TRUE(sameBits(read.controlPoints[i].x, curve.controlPoints[i].x)) << i;
        EXPECT_TRUE(sameBits(read.controlPoints[i].z, curve.controlPoints[i].z)) << i;
        EXPECT_TRUE(sameBits(read.weights[i], curve.weights[i])) << i;
        EXPECT_EQ(read.controlPoints[i].y, 0.0);
    }
}

TEST(CurveFile, CommentsBlankLinesTabsAndCarriageReturnsAreLayoutOnly) {
    GeneratrixCurve read;
    CurveFileError error;
    ASSERT_TRUE(readCurveText("# a vase\n\n  0.5\t0.25 2 # widest\r\n0 1 1", read, error));
    ASSERT_EQ(read.pointCount(), 2u);
    EXPECT_EQ(read.controlPoints[0].x, 0.5);
    EXPECT_EQ(read.controlPoints[0].z, 0.25);
    EXPECT_EQ(read.weights[0], 2.0);
    EXPECT_EQ(read.controlPoints[1].z, 1.0);
    ASSERT_TRUE(readCurveText("# nothing but a comment\n", read, error));
    EXPECT_EQ(read.pointCount(), 0u);
}

TEST(CurveFile, BadLinesAreRefusedByNumberAndNothingIsLoaded) {
    struct Row {
        const char* text;
        const char* expected;
    };
    const Row rows[] = {
        {"0.2 0.2 1\n0.5 0.5\n", "line 2: expected three numbers, x z weight, found 2"},
        {"0.2 0.2 1 4\n", "line 1: expected three numbers, x z weight, found 4"},
        {"# x z w\n\n0.2 abc 1\n", "line 3: 'abc' is not a number"},
        {"0.2 0,5 1\n", "line 1: '0,5' is not a number"},
        {"0.2 0.5 1x\n", "line 1: '1x' is not a number"},
        {"0.2 0.5 +1\n", "line 1: '+1' is not a number"},
        {"0.2 0.5 nan\n", "line 1: 'nan' is not a finite number"},
        {"0.2 inf 1\n", "line 1: 'inf' is not a finite number"},
        {"0.2 1e999 1\n", "line 1: '1e999' is beyond the range of numbers"},
        {"0.1 0 1\n-0.5 0.5 1\n", "line 2: x is negative (-0.5); the axis is x = 0"},
    };
    for (const Row& row : rows) {
        GeneratrixCurve curve;
        curve.appendPoint({0.7, 0.0, 0.7}, 3.0);
        CurveFileError error;
        EXPECT_FALSE(readCurveText(row.text, curve, error)) << row.text;
        EXPECT_EQ(describeCurveError(error), row.expected);
        ASSERT_EQ(curve.pointCount(), 1u) << "half loaded: " << row.text;
        EXPECT_EQ(curve.weights[0], 3.0);
    }
}

}  // namespace
