// The web build's fixed-function pipeline against values worked out by hand: the lighting
// formula, the normal matrix, the polygons of the strip modes, facing and wide lines.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "gl_lighting.h"
#include "gl_matrix.h"
#include "gl_primitives.h"

namespace {

MaterialParameters material(float ambient, float diffuse, float specular, float shininess) {
    return {{ambient, ambient, ambient, 1.0f},
            {diffuse, diffuse, diffuse, 0.5f},
            {specular, specular, specular, 1.0f},
            {0.0f, 0.0f, 0.0f, 1.0f},
            shininess};
}

LightParameters whiteLight(Vec4f position, float ambient) {
    return {position, {ambient, ambient, ambient, 1.0f}, {1, 1, 1, 1}, {1, 1, 1, 1}};
}

std::vector<std::vector<int>> polygonsOf(unsigned mode, int count) {
    std::vector<std::vector<int>> polygons;
    forEachPolygon(mode, count,
                   [&](const int* corners, int n) { polygons.emplace_back(corners, corners + n); });
    return polygons;
}

}  // namespace

TEST(Lighting, HeadOnDirectionalLightAddsEveryTerm) {
    // Scene 0.2 * 0.2 + light 0.5 * 0.2 + diffuse 1 * 0.5 + highlight 1^8 * 0.3 = 0.94.
    const Color c = litColor({0, 0, -3, 1}, {0, 0, 1}, material(0.2f, 0.5f, 0.3f, 8.0f),
                             whiteLight({0, 0, 1, 0}, 0.5f), true, defaultSceneAmbient);
    EXPECT_NEAR(c.r, 0.94f, 1e-6f);
    EXPECT_NEAR(c.b, 0.94f, 1e-6f);
    EXPECT_EQ(c.a, 0.5f);  // the material's diffuse alpha
}

TEST(Lighting, PositionalLightUsesTheDirectionFromTheVertex) {
    // Light at (0, 0, 2), vertex at (1, 0, 0): l = (-1, 0, 2) / sqrt 5, n.l = 2 / sqrt 5;
    // half vector (-1, 0, 2 + sqrt 5) normalized, n.h = (2 + sqrt 5) / sqrt(1 + (2 + sqrt 5)^2).
    const float root5 = std::sqrt(5.0f);
    const float nDotL = 2.0f / root5;
    const float nDotH = (2.0f + root5) / std::sqrt(1.0f + (2.0f + root5) * (2.0f + root5));
    const float expected = 0.0f + nDotL * 0.5f + nDotH * nDotH * 0.25f;
    const Color c = litColor({1, 0, 0, 1}, {0, 0, 1}, material(0.0f, 0.5f, 0.25f, 2.0f),
                             whiteLight({0, 0, 2, 1}, 0.0f), true, {0, 0, 0, 1});
    EXPECT_NEAR(c.g, expected, 1e-6f);
}

TEST(Lighting, SideAwayFromTheLightGetsOnlyAmbientLight) {
    const Color c = litColor({1, 0, 0, 1}, {1, 0, 0}, material(0.5f, 1.0f, 1.0f, 1.0f),
                             whiteLight({0, 0, 2, 1}, 0.4f), true, defaultSceneAmbient);
    EXPECT_NEAR(c.r, 0.5f * 0.2f + 0.5f * 0.4f, 1e-6f);
}

TEST(Lighting, LightOffLeavesSceneAmbientOnlyAndSumsAreClamped) {
    const MaterialParameters bright = material(1.0f, 1.0f, 1.0f, 0.0f);
    const LightParameters light = whiteLight({0, 0, 1, 0}, 1.0f);
    EXPECT_NEAR(litColor({0, 0, 0, 1}, {0, 0, 1}, bright, light, false, defaultSceneAmbient).r,
                0.2f, 1e-6f);
    EXPECT_EQ(litColor({0, 0, 0, 1}, {0, 0, 1}, bright, light, true, defaultSceneAmbient).r, 1.0f);
}

TEST(NormalMatrix, ScaledAxisGetsTheInverseScale) {
    const NormalMatrix n = normalMatrix(scaleMatrix(2.0f, 1.0f, 4.0f));
    const Vec3f v = transformNormal(n, {1.0f, 1.0f, 1.0f});
    EXPECT_FLOAT_EQ(v.x, 0.5f);
    EXPECT_FLOAT_EQ(v.y, 1.0f);
    EXPECT_FLOAT_EQ(v.z, 0.25f);
}

TEST(NormalMatrix, RotationTurnsNormalsAsPoints) {
    const Mat4 r = rotationMatrix(90.0f, 0.0f, 0.0f, 1.0f);
    const Vec3f v = transformNormal(normalMatrix(r), {1.0f, 0.0f, 0.0f});
    EXPECT_NEAR(v.x, 0.0f, 1e-6f);
    EXPECT_NEAR(v.y, 1.0f, 1e-6f);
}

TEST(Primitives, StripTrianglesKeepTheFirstOnesTurn) {
    const std::vector<std::vector<int>> expected = {{0, 1, 2}, {2, 1, 3}, {2, 3, 4}};
    EXPECT_EQ(polygonsOf(GL_TRIANGLE_STRIP, 5), expected);
}

TEST(Primitives, QuadStripQuadsGoRoundTheirCorners) {
    const std::vector<std::vector<int>> expected = {{0, 1, 3, 2}, {2, 3, 5, 4}};
    EXPECT_EQ(polygonsOf(GL_QUAD_STRIP, 6), expected);
}

TEST(Primitives, IncompleteQuadsAndTinyPolygonsAreDropped) {
    EXPECT_EQ(polygonsOf(GL_QUADS, 7).size(), 1u);
    EXPECT_TRUE(polygonsOf(GL_POLYGON, 2).empty());
    const std::vector<std::vector<int>> pentagon = {{0, 1, 2, 3, 4}};
    EXPECT_EQ(polygonsOf(GL_POLYGON, 5), pentagon);
}

TEST(Primitives, LineLoopClosesItself) {
    std::vector<std::pair<int, int>> segments;
    forEachSegment(GL_LINE_LOOP, 3, [&](int a, int b) { segments.emplace_back(a, b); });
    const std::vector<std::pair<int, int>> expected = {{0, 1}, {1, 2}, {2, 0}};
    EXPECT_EQ(segments, expected);
}

TEST(Primitives, CounterClockwiseCornersHavePositiveArea) {
    const Vec4f square[4] = {{0, 0, 0, 1}, {1, 0, 0, 1}, {2, 2, 0, 2}, {0, 1, 0, 1}};
    const int turning[4] = {0, 1, 2, 3};
    const int reversed[4] = {3, 2, 1, 0};
    EXPECT_FLOAT_EQ(projectedArea(square, turning, 4), 2.0f);
    EXPECT_FLOAT_EQ(projectedArea(square, reversed, 4), -2.0f);
}

TEST(Primitives, WideLineIsMovedAcrossItsShallowerAxis) {
    // Three pixels wide on a 600 x 300 viewport: 1.5 pixels either side, 3 / 300 or 3 / 600
    // in normalized units.
    const auto flat = wideLineQuad({-0.5f, 0, 0, 1}, {0.5f, 0.1f, 0, 1}, 3.0f, 600, 300);
    EXPECT_FLOAT_EQ(flat[0].y, -0.01f);
    EXPECT_FLOAT_EQ(flat[3].y, 0.01f);
    EXPECT_FLOAT_EQ(flat[0].x, -0.5f);
    // Steep, and with w = 2: the offset is scaled by w to stay the same on the screen.
    const auto steep = wideLineQuad({0, -1, 0, 2}, {0.2f, 1, 0, 2}, 3.0f, 600, 300);
    EXPECT_FLOAT_EQ(steep[0].x, -0.01f);
    EXPECT_FLOAT_EQ(steep[2].x, 0.21f);
    EXPECT_FLOAT_EQ(steep[2].y, 1.0f);
}
