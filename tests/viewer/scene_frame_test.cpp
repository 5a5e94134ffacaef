// The perspective frame's pure parts: the projection ratio and the ground grid.
#include "scene_frame.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

TEST(PerspectiveAspect, FollowsTheWindowRatio) {
    EXPECT_EQ(perspectiveAspect(800, 400), 2.0);
    EXPECT_EQ(perspectiveAspect(600, 600), 1.0);
}

TEST(PerspectiveAspect, CollapsedWindowStaysFinite) {
    EXPECT_TRUE(std::isfinite(perspectiveAspect(600, 0)));
    EXPECT_TRUE(std::isfinite(perspectiveAspect(0, 0)));
    EXPECT_GT(perspectiveAspect(600, 0), 0.0);
}

TEST(GroundGrid, ZUpGridLiesInTheGroundPlaneAndSpansFiveUnits) {
    const auto lines = groundGridLines(UpAxis::z);
    for (const GridLine& line : lines) {
        EXPECT_EQ(line.from[2], 0.0f);
        EXPECT_EQ(line.to[2], 0.0f);
    }
    EXPECT_EQ(lines[0].from, (std::array<float, 3>{-2.5f, 2.5f, 0.0f}));
    EXPECT_EQ(lines[0].to, (std::array<float, 3>{-2.5f, -2.5f, 0.0f}));
    EXPECT_EQ(lines[1].from, (std::array<float, 3>{2.5f, -2.5f, 0.0f}));
    EXPECT_EQ(lines[60].from, (std::array<float, 3>{2.5f, 2.5f, 0.0f}));
    EXPECT_EQ(lines[61].to, (std::array<float, 3>{-2.5f, 2.5f, 0.0f}));
}

TEST(GroundGrid, YUpGridLiesInTheGroundPlane) {
    const auto lines = groundGridLines(UpAxis::y);
    for (const GridLine& line : lines) {
        EXPECT_EQ(line.from[1], 0.0f);
        EXPECT_EQ(line.to[1], 0.0f);
    }
    EXPECT_EQ(lines[0].from, (std::array<float, 3>{-2.5f, 0.0f, 2.5f}));
    EXPECT_EQ(lines[1].to, (std::array<float, 3>{-2.5f, 0.0f, -2.5f}));
}

TEST(GroundGrid, MiddleLinesPassThroughTheOriginAndLinesAreASixthApart) {
    const auto lines = groundGridLines(UpAxis::z);
    EXPECT_NEAR(lines[30].from[0], 0.0f, 1e-6f);
    EXPECT_NEAR(lines[31].from[1], 0.0f, 1e-6f);
    for (int i = 1; i <= 30; ++i)
        EXPECT_NEAR(lines[2 * i].from[0] - lines[2 * i - 2].from[0], 1.0f / 6.0f, 1e-6f);
}

}  // namespace
