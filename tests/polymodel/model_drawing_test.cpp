// The arithmetic behind the model drawing: flat face normals for models without normals and
// the end points of the normal lines. What reaches OpenGL is checked by the end-to-end tests.
#include <gtest/gtest.h>

#include <cmath>

#include "model_drawing.h"

namespace {

struct FaceFixture {
    Vec4f vertices[6];
    std::int32_t indices[6];
    ObjModel model{};
    ObjFace face{};

    FaceFixture(std::initializer_list<Vec4f> corners) {
        std::int32_t n = 0;
        for (const Vec4f& corner : corners) {
            vertices[n] = corner;
            indices[n] = n;
            ++n;
        }
        model.numVertices = n;
        model.vertices = vertices;
        face.numVertices = n;
        face.vertexIndices = indices;
    }
};

void expectVec3(const Vec3f& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-6f);
    EXPECT_NEAR(v.y, y, 1e-6f);
    EXPECT_NEAR(v.z, z, 1e-6f);
}

}  // namespace

TEST(FlatFaceNormal, ACounterClockwiseSquareSeenFromAboveFacesUp) {
    FaceFixture square({{0, 0, 0, 1}, {0, 0, 1, 1}, {1, 0, 1, 1}, {1, 0, 0, 1}});
    expectVec3(flatFaceNormal(square.model, square.face), 0, 1, 0);
}

TEST(FlatFaceNormal, ReversedWindingFacesTheOtherWay) {
    FaceFixture triangle({{0, 0, 0, 1}, {0, 1, 0, 1}, {1, 0, 0, 1}});
    expectVec3(flatFaceNormal(triangle.model, triangle.face), 0, 0, -1);
}

TEST(FlatFaceNormal, APolygonWhoseFirstThreeCornersAreCollinearStillHasOne) {
    FaceFixture pentagon({{0, 0, 0, 1}, {1, 0, 0, 1}, {2, 0, 0, 1}, {2, 1, 0, 1}, {0, 1, 0, 1}});
    expectVec3(flatFaceNormal(pentagon.model, pentagon.face), 0, 0, 1);
}

TEST(FlatFaceNormal, AFaceWithoutAreaGetsUpInsteadOfNaN) {
    FaceFixture line({{0, 0, 0, 1}, {1, 1, 1, 1}, {2, 2, 2, 1}});
    expectVec3(flatFaceNormal(line.model, line.face), 0, 1, 0);
}

TEST(NormalLineEnd, StartsAtTheUnscaledPositionAndFollowsTheLengthFactor) {
    const Vec4f p = {2.0f, 4.0f, 6.0f, 2.0f};  // drawn at (1, 2, 3); its line starts at (2, 4, 6)
    const Vec3f n = {0.0f, 1.0f, 0.0f};
    expectVec3(normalLineEnd(p, n, 1.0f), 2, 5, 6);
    expectVec3(normalLineEnd(p, n, -0.5f), 2, 3.5f, 6);  // pointing into the surface
    expectVec3(normalLineEnd(p, n, 0.0f), 2, 4, 6);      // collapsed to a point
}

TEST(NormalLineOptions, StartWithoutNormalLinesOfUnitLength) {
    const NormalLineOptions options;
    EXPECT_FALSE(options.showNormals);
    EXPECT_FLOAT_EQ(options.normalLength, 1.0f);
}
