// Ordering of V-face rings: counter-clockwise about the reference normal from the anchor,
// ties kept in list order, both index lists permuted alike, and a sound order for rings that
// no corner can start (a reflex or surrounded anchor).
#include "vertex_ring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>

#include "test_meshes.h"

namespace {

// A one-face model whose face lists the positions in order; normal indices 100 + i.
OwnedModel ringOf(const std::vector<Vec4f>& positions) {
    MeshSource mesh;
    mesh.positions = positions;
    std::vector<std::int32_t> corners(positions.size());
    std::iota(corners.begin(), corners.end(), 0);
    mesh.faces.push_back(corners);
    OwnedModel model = buildModel(mesh, NormalSharing::perVertex);
    for (std::size_t i = 0; i < positions.size(); ++i) {
        model.model.faces[0].normalIndices[i] = std::int32_t(100 + i);
    }
    return model;
}

std::vector<std::int32_t> ordered(const std::vector<Vec4f>& positions, Vec3f normal) {
    OwnedModel ring = ringOf(positions);
    ObjFace& face = ring.model.faces[0];
    orderVertexRing(face, normal, ring.model);
    std::vector<std::int32_t> order(face.vertexIndices, face.vertexIndices + face.numVertices);
    for (std::int32_t i = 0; i < face.numVertices; ++i) {
        EXPECT_EQ(face.normalIndices[i], 100 + face.vertexIndices[i]) << "lists permuted apart";
    }
    return order;
}

const Vec3f up = {0, 0, 1};
const Vec3f down = {0, 0, -1};

}  // namespace

TEST(RingOfThree, ComesOutCounterClockwiseWhateverItsListOrder) {
    const Vec4f anchor = point(0, 0, 0), a = point(1, 0, 0), b = point(0, 1, 0);
    EXPECT_EQ(ordered({anchor, a, b}, up), (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(ordered({anchor, b, a}, up), (std::vector<std::int32_t>{0, 2, 1}));
    EXPECT_EQ(ordered({anchor, a, b}, down), (std::vector<std::int32_t>{0, 2, 1}));
}

TEST(RingOfFour, GatheredAcrossComesOutAroundTheAnchor) {
    // Anchor, opposite corner, one neighbour, the other neighbour.
    const std::vector<Vec4f> square = {point(0, 0, 0), point(1, 1, 0), point(0, 1, 0),
                                       point(1, 0, 0)};
    EXPECT_EQ(ordered(square, up), (std::vector<std::int32_t>{0, 3, 1, 2}));
    EXPECT_EQ(ordered(square, down), (std::vector<std::int32_t>{0, 2, 1, 3}));
}

TEST(RingTies, CornersOnOneRayKeepListOrder) {
    const std::vector<Vec4f> ring = {point(0, 0, 0), point(2, 0, 0), point(1, 0, 0),
                                     point(0, 1, 0)};
    EXPECT_EQ(ordered(ring, up), (std::vector<std::int32_t>{0, 1, 2, 3}));
    const std::vector<Vec4f> swapped = {point(0, 0, 0), point(1, 0, 0), point(2, 0, 0),
                                        point(0, 1, 0)};
    EXPECT_EQ(ordered(swapped, up), (std::vector<std::int32_t>{0, 1, 2, 3}));
}

TEST(RingTies, AZeroNormalKeepsListOrder) {
    const std::vector<Vec4f> square = {point(0, 0, 0), point(1, 1, 0), point(0, 1, 0),
                                       point(1, 0, 0)};
    EXPECT_EQ(ordered(square, {0, 0, 0}), (std::vector<std::int32_t>{0, 1, 2, 3}));
}

TEST(SmallRings, OfOneAndTwoCornersStayAsTheyAre) {
    EXPECT_EQ(ordered({point(0, 0, 0)}, up), (std::vector<std::int32_t>{0}));
    EXPECT_EQ(ordered({point(0, 0, 0), point(1, 0, 0)}, down), (std::vector<std::int32_t>{0, 1}));
}

TEST(RingWithoutNormalIndices, IsOrderedAll) {
    OwnedModel ring = ringOf({point(0, 0, 0), point(0, 1, 0), point(1, 0, 0)});
    ObjFace& face = ring.model.faces[0];
    std::free(face.normalIndices);
    face.normalIndices = nullptr;
    orderVertexRing(face, up, ring.model);
    EXPECT_EQ(face.vertexIndices[1], 2);
    EXPECT_EQ(face.vertexIndices[2], 1);
}

TEST(ReflexAnchor, OrdersTheWholeRingByAngleAboutItsCentroid) {
    // A square whose top edge is notched down to the anchor: from the anchor the other corners
    // span more than a half-plane, so no corner can take position 1.
    const std::vector<Vec4f> notched = {point(0, 0.5f, 0), point(1, -1, 0), point(-1, 1, 0),
                                        point(1, 1, 0), point(-1, -1, 0)};
    EXPECT_EQ(ordered(notched, up), (std::vector<std::int32_t>{0, 2, 4, 1, 3}));
    EXPECT_EQ(ordered(notched, down), (std::vector<std::int32_t>{0, 3, 1, 4, 2}));
}

TEST(ReflexAnchor, SurroundedAnchorStillKeepsEveryCornerOnce) {
    const std::vector<Vec4f> around = {point(0, 0, 0), point(0, -1, 0), point(1, 0, 0),
                                       point(-1, 0, 0), point(0, 1, 0)};
    // The anchor is the centroid, so the ring may start in any direction; it must turn
    // counter-clockwise a quarter at a time.
    const std::vector<std::int32_t> order = ordered(around, up);
    ASSERT_EQ(order.size(), 5u);
    for (int p = 1; p < 4; ++p) {
        const Vec4f& a = around[order[p]];
        const Vec4f& b = around[order[p + 1]];
        EXPECT_EQ(a.x * b.y - a.y * b.x, 1.0f) << "position " << p;
    }
}

TEST(ReflexAnchor, BrokenPositionsGiveAPermutationWithoutFault) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<Vec4f> broken = {point(0, 0.5f, 0), point(1, -1, 0),  point(nan, 1, 0),
                                       point(inf, 1, 0),  point(-1, -1, 0), point(-1, 1, 0)};
    for (const Vec3f normal : {up, Vec3f{inf, 0, 1}, Vec3f{nan, nan, nan}}) {
        std::vector<std::int32_t> order = ordered(broken, normal);
        EXPECT_EQ(order[0], 0);
        std::sort(order.begin(), order.end());
        EXPECT_EQ(order, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5}));
    }
}

TEST(OrderByAngle, TurnsCounterClockwiseAboutTheNormalFromTheAnchor) {
    OwnedModel ring = ringOf({point(1, 0, 5), point(0, -1, 5), point(-1, 0, 5), point(0, 1, 5)});
    ObjFace& face = ring.model.faces[0];
    orderRingByAngle(face, up, ring.model);
    EXPECT_EQ(std::vector<std::int32_t>(face.vertexIndices, face.vertexIndices + 4),
              (std::vector<std::int32_t>{0, 3, 2, 1}));
    EXPECT_EQ(face.normalIndices[1], 103);
}

TEST(LargeRing, OfManyCornersOnACircleComesOutInTurn) {
    // A fan's hub: 400 corners listed in shuffled order.
    const int n = 400;
    std::vector<int> turnOf(n);
    std::iota(turnOf.begin(), turnOf.end(), 0);
    std::shuffle(turnOf.begin() + 1, turnOf.end(), std::mt19937(3));
    std::vector<Vec4f> positions;
    for (int i = 0; i < n; ++i) {
        const float angle = 2.0f * 3.14159265f * float(turnOf[i]) / float(n);
        positions.push_back(point(std::cos(angle), std::sin(angle), 0));
    }
    const std::vector<std::int32_t> order = ordered(positions, up);
    for (int p = 0; p < n; ++p) EXPECT_EQ(turnOf[order[p]], p);
}
