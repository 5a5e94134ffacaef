// The editor's picture as data: window positions, curve strips, markers, label texts and places.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor_view.h"

namespace {

GeneratrixCurve twoPoints(double firstWeight, double secondWeight) {
    GeneratrixCurve curve;
    curve.appendPoint({0.2, 0, 0.2}, firstWeight);
    curve.appendPoint({0.8, 0, 0.8}, secondWeight);
    return curve;
}

std::size_t sampleTotal(const std::vector<std::vector<WindowPoint>>& strips) {
    std::size_t total = 0;
    for (const auto& strip : strips) total += strip.size();
    return total;
}

}  // namespace

TEST(EditorCurveStrips, StraightSegmentIsOneStripThroughTheEnds) {
    const auto strips = curveStrips(twoPoints(1, 1), 10);
    ASSERT_EQ(strips.size(), 1u);
    ASSERT_EQ(strips[0].size(), 10u);
    EXPECT_DOUBLE_EQ(strips[0].front().x, 0.8);
    EXPECT_DOUBLE_EQ(strips[0].front().y, 0.2);
    EXPECT_DOUBLE_EQ(strips[0].back().x, 0.2);
    EXPECT_DOUBLE_EQ(strips[0].back().y, 0.8);
}

TEST(EditorCurveStrips, SamplesAtSinglePrecisionParameters) {
    const auto strips = curveStrips(twoPoints(1, 1), 4);
    ASSERT_EQ(strips[0].size(), 4u);
    const double t = 1.0f / 3.0f;
    EXPECT_DOUBLE_EQ(strips[0][1].y, 0.2 + 0.6 * t);
}

TEST(EditorCurveStrips, TwoSamplesDrawTheChord) {
    const auto strips = curveStrips(twoPoints(1, 1), 2);
    ASSERT_EQ(strips.size(), 1u);
    ASSERT_EQ(strips[0].size(), 2u);
    EXPECT_EQ(curveStrips(twoPoints(1, 1), 1)[0].size(), 2u);
}

TEST(EditorCurveStrips, SignChangeOfTheWeightSumSplitsTheCurve) {
    // Weights 1 and -1: the sum is 1 - 2t, negative after t = 0.5.
    const auto strips = curveStrips(twoPoints(1, -1), 10);
    ASSERT_EQ(strips.size(), 2u);
    EXPECT_EQ(strips[0].size(), 5u);
    EXPECT_EQ(strips[1].size(), 5u);
    // Each side keeps its own end of the curve; no vertex stands for the run off to infinity.
    EXPECT_DOUBLE_EQ(strips[0].front().x, 0.8);
    EXPECT_DOUBLE_EQ(strips[1].back().x, 0.2);
}

TEST(EditorCurveStrips, ZeroSumCountsAsNonNegative) {
    // With 11 samples t = 0.5 is a sample whose sum is exactly 0: it stays with the positive side.
    const auto strips = curveStrips(twoPoints(1, -1), 11);
    ASSERT_EQ(strips.size(), 2u);
    EXPECT_EQ(strips[0].size(), 6u);
    EXPECT_TRUE(std::isnan(strips[0].back().x) || std::isinf(strips[0].back().x));
    EXPECT_EQ(strips[1].size(), 5u);
}

TEST(EditorCurveStrips, EachSignChangeStartsANewStrip) {
    GeneratrixCurve curve = twoPoints(-1, -1);
    EXPECT_EQ(curveStrips(curve, 10).size(), 1u);
    curve.appendPoint({0.5, 0, 0.9}, 8);
    curve.weights = {1, -3, 1};  // sum (1-t)^2 - 6t(1-t) + t^2: negative in the middle only
    const auto strips = curveStrips(curve, 21);
    EXPECT_EQ(strips.size(), 3u);
    EXPECT_EQ(sampleTotal(strips), 21u);
}

TEST(EditorCurveStrips, EmptyCurveIsOneUnbrokenStripOfNotANumber) {
    const auto strips = curveStrips(GeneratrixCurve{}, 10);
    ASSERT_EQ(strips.size(), 1u);
    ASSERT_EQ(strips[0].size(), 10u);
    for (const WindowPoint& p : strips[0]) EXPECT_TRUE(std::isnan(p.x) && std::isnan(p.y));
}

TEST(EditorMarker, SquareOfHalfSizePickToleranceAroundTheWindowPosition) {
    const auto corners = markerCorners({0.2, 0, 0.5});
    EXPECT_DOUBLE_EQ(corners[0].x, 0.78);
    EXPECT_DOUBLE_EQ(corners[0].y, 0.52);
    EXPECT_DOUBLE_EQ(corners[1].x, 0.78);
    EXPECT_DOUBLE_EQ(corners[1].y, 0.48);
    EXPECT_DOUBLE_EQ(corners[2].x, 0.82);
    EXPECT_DOUBLE_EQ(corners[2].y, 0.48);
    EXPECT_DOUBLE_EQ(corners[3].x, 0.82);
    EXPECT_DOUBLE_EQ(corners[3].y, 0.52);
}

TEST(EditorLabelText, StartingPointsReadAsCoordinatesAndWeight) {
    EXPECT_EQ(pointLabelText({0.2, 0, 0.2}, 1.0f), "(0.20,0.20,1.0)");
    EXPECT_EQ(pointLabelText({0.8, 0, 0.8}, 1.0f), "(0.80,0.80,1.0)");
    EXPECT_EQ(pointLabelText({1.0, 0, 600.0 / 599.0}, -0.3f), "(1.00,1.00,-0.3)");
}

TEST(EditorLabelText, ShowsCurveXNotTheWindowPosition) {
    EXPECT_EQ(pointLabelText({0.0, 0.7, 0.05}, 2.5f), "(0.00,0.05,2.5)");
}

TEST(EditorLabelNumber, NumbersThatFitKeepTheirFixedForm) {
    EXPECT_EQ(formatLabelNumber(999999.9, 1), "999999.9");
    EXPECT_EQ(formatLabelNumber(-999999.9, 1), "-999999.9");
    EXPECT_EQ(formatLabelNumber(123456.789, 2), "123456.79");
    EXPECT_EQ(formatLabelNumber(1.4e-16, 1), "0.0");
}

TEST(EditorLabelNumber, TooLongNumbersFallBackToAnExponentFormThatFits) {
    EXPECT_EQ(formatLabelNumber(1e7, 1), "1.00e+07");
    EXPECT_EQ(formatLabelNumber(-1e7, 1), "-1.00e+07");
    EXPECT_EQ(formatLabelNumber(-12345678.0, 2), "-1.23e+07");
    EXPECT_EQ(formatLabelNumber(1e300, 2), "1.00e+300");
    EXPECT_EQ(formatLabelNumber(-1e300, 2), "-1.0e+300");
    EXPECT_EQ(formatLabelNumber(-std::numeric_limits<double>::max(), 1), "-1.8e+308");
    EXPECT_EQ(formatLabelNumber(std::numeric_limits<float>::lowest(), 1), "-3.40e+38");
}

TEST(EditorLabelNumber, NonFiniteValuesStayShort) {
    EXPECT_EQ(formatLabelNumber(std::numeric_limits<double>::infinity(), 1), "inf");
    EXPECT_EQ(formatLabelNumber(-std::numeric_limits<double>::infinity(), 2), "-inf");
    const std::string nan = formatLabelNumber(std::numeric_limits<double>::quiet_NaN(), 1);
    EXPECT_NE(nan.find("nan"), std::string::npos);
}

TEST(EditorLabelNumber, NeverLongerThanNineCharacters) {
    for (double magnitude = 1.0; magnitude < 1e308; magnitude *= 7.3)
        for (double value : {magnitude, -magnitude, 1.0 / magnitude, -1.0 / magnitude})
            for (int decimals : {1, 2})
                EXPECT_LE(formatLabelNumber(value, decimals).size(), 9u) << value;
}

TEST(EditorLabelText, HugeWeightsKeepTheWholeLabel) {
    EXPECT_EQ(pointLabelText({0.2, 0, 0.2}, 1e7f), "(0.20,0.20,1.00e+07)");
    EXPECT_EQ(pointLabelText({0.2, 0, 0.2}, -1e7f), "(0.20,0.20,-1.00e+07)");
    EXPECT_EQ(pointLabelText({0.2, 0, 0.2}, std::numeric_limits<float>::infinity()),
              "(0.20,0.20,inf)");
}

TEST(EditorLabelPosition, StartsAtTheWindowPositionAwayFromTheEdges) {
    const WindowPoint position = labelRasterPosition({0.5, 0, 0.3});
    EXPECT_DOUBLE_EQ(position.x, 0.5);
    EXPECT_DOUBLE_EQ(position.y, 0.3);
}

TEST(EditorLabelPosition, NearTheRightEdgeStartsAtPointEight) {
    EXPECT_EQ(labelRasterPosition({0.0, 0, 0.3}).x, 0.8);
    EXPECT_EQ(labelRasterPosition({0.1, 0, 0.3}).x, 0.8);
    EXPECT_DOUBLE_EQ(labelRasterPosition({0.25, 0, 0.3}).x, 0.75);
}

TEST(EditorLabelPosition, NearTheTopStaysBelowIt) {
    EXPECT_EQ(labelRasterPosition({0.5, 0, 0.99}).y, 0.98);
    EXPECT_EQ(labelRasterPosition({0.5, 0, 600.0 / 599.0}).y, 0.98);
    EXPECT_EQ(labelRasterPosition({0.5, 0, 0.97}).y, 0.97);
    const WindowPoint corner = labelRasterPosition({0.0, 0, 1.0});
    EXPECT_EQ(corner.x, 0.8);
    EXPECT_EQ(corner.y, 0.98);
}
