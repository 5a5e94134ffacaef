// Fitting a model into the start view: the box of its drawn points is centred on the origin
// with its largest extent 2, each vertex moving as the point it draws.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model_fit.h"

namespace {

// A model of bare vertices; the fit looks at nothing else.
struct VertexModel {
    std::vector<Vec4f> vertices;
    ObjModel model{};
    explicit VertexModel(std::vector<Vec4f> points) : vertices(std::move(points)) {
        model.numVertices = std::int32_t(vertices.size());
        model.vertices = vertices.data();
    }
};

Vec3f drawn(const Vec4f& v) { return {v.x / v.w, v.y / v.w, v.z / v.w}; }

TEST(ModelFit, CentersTheBoxAndMakesItsLargestExtentTwo) {
    VertexModel box({{10, 20, 30, 1}, {50, 25, 31, 1}, {30, 22, 30.5f, 1}});
    fitModel(box.model);
    EXPECT_FLOAT_EQ(box.vertices[0].x, -1.0f);
    EXPECT_FLOAT_EQ(box.vertices[1].x, 1.0f);
    EXPECT_FLOAT_EQ(box.vertices[0].y, -0.125f);  // y spans 5 of 40: a quarter of the x span
    EXPECT_FLOAT_EQ(box.vertices[1].y, 0.125f);
    EXPECT_FLOAT_EQ(box.vertices[0].z, -0.025f);
    EXPECT_FLOAT_EQ(box.vertices[2].x, 0.0f);
    EXPECT_EQ(box.vertices[2].w, 1.0f);
}

TEST(ModelFit, AVertexWithWeightMovesAsItsDrawnPointAndKeepsItsWeight) {
    // Drawn points (0, 0, 0), (4, 0, 0) and (2, 0, 0) from a w of 4.
    VertexModel weighted({{0, 0, 0, 1}, {4, 0, 0, 1}, {8, 0, 0, 4}});
    fitModel(weighted.model);
    EXPECT_EQ(weighted.vertices[2].w, 4.0f);
    EXPECT_FLOAT_EQ(drawn(weighted.vertices[0]).x, -1.0f);
    EXPECT_FLOAT_EQ(drawn(weighted.vertices[2]).x, 0.0f);
    EXPECT_FLOAT_EQ(drawn(weighted.vertices[1]).x, 1.0f);
}

TEST(ModelFit, ADirectionIsOnlyScaledAndLeftOutOfTheBox) {
    VertexModel withDirection({{-2, 0, 0, 1}, {2, 0, 0, 1}, {100, 50, 0, 0}});
    fitModel(withDirection.model);
    EXPECT_FLOAT_EQ(withDirection.vertices[1].x, 1.0f);
    EXPECT_FLOAT_EQ(withDirection.vertices[2].x, 50.0f);
    EXPECT_FLOAT_EQ(withDirection.vertices[2].y, 25.0f);
    EXPECT_EQ(withDirection.vertices[2].w, 0.0f);
}

TEST(ModelFit, ASinglePointIsOnlyMovedToTheOrigin) {
    VertexModel point({{3, -4, 5, 1}, {3, -4, 5, 1}});
    fitModel(point.model);
    EXPECT_EQ(point.vertices[0].x, 0.0f);
    EXPECT_EQ(point.vertices[0].y, 0.0f);
    EXPECT_EQ(point.vertices[1].z, 0.0f);
}

TEST(ModelFit, ABoxNearTheFloatLimitStaysFinite) {
    VertexModel huge({{-3e38f, 0, 0, 1}, {3e38f, 1e38f, 0, 1}});
    fitModel(huge.model);
    EXPECT_FLOAT_EQ(huge.vertices[0].x, -1.0f);
    EXPECT_FLOAT_EQ(huge.vertices[1].x, 1.0f);
    EXPECT_TRUE(std::isfinite(huge.vertices[1].y));
}

}  // namespace
