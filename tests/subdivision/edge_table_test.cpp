// The edge table: its plain look-ups, and its linear construction's records and order.
#include "edge_table.h"

#include <gtest/gtest.h>

#include "test_meshes.h"

namespace {

EdgeRecord record(std::int32_t a, std::int32_t b, std::int32_t secondFrom) {
    return {a,          b,
            0,          1,
            secondFrom, secondFrom < 0 ? -1 : 2,
            0,          1,
            secondFrom, secondFrom < 0 ? -1 : 2};
}

}  // namespace

TEST(FindEdge, MatchesEitherDirectionAndReturnsTheFirstRecord) {
    const EdgeTable table = {record(0, 1, 5), record(1, 2, -1), record(2, 1, 4)};
    EXPECT_EQ(findEdge(table, 0, 1), 0);
    EXPECT_EQ(findEdge(table, 1, 0), 0);
    EXPECT_EQ(findEdge(table, 2, 1), 1);
    EXPECT_EQ(findEdge(table, 0, 2), -1);
    EXPECT_EQ(findEdge(EdgeTable{}, 0, 1), -1);
}

TEST(IsBoundaryVertex, NeedsARecordWithoutSecondFace) {
    const EdgeTable table = {record(0, 1, 5), record(1, 2, -1), record(3, 0, 7)};
    EXPECT_FALSE(isBoundaryVertex(table, 0));
    EXPECT_TRUE(isBoundaryVertex(table, 1));
    EXPECT_TRUE(isBoundaryVertex(table, 2));
    EXPECT_FALSE(isBoundaryVertex(table, 3));
    EXPECT_FALSE(isBoundaryVertex(table, 9));  // mentioned nowhere
}

TEST(BuildEdgeTable, ListsTheStripsSevenEdgesInTheOrderMet) {
    OwnedModel strip = buildModel(twoQuadStripMesh(), NormalSharing::perVertex);
    const EdgeTable table = buildEdgeTable(strip.model);
    const std::int32_t ends[7][2] = {{0, 1}, {1, 4}, {4, 3}, {3, 0}, {1, 2}, {2, 5}, {5, 4}};
    ASSERT_EQ(table.size(), 7u);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(table[i].vertexA, ends[i][0]) << "edge " << i;
        EXPECT_EQ(table[i].vertexB, ends[i][1]) << "edge " << i;
    }
    // 1-4 is walked 1 -> 4 by face 0 (corners 1, 2) and 4 -> 1 by face 1 (corners 7, 4).
    const EdgeRecord& shared = table[1];
    EXPECT_EQ(shared.firstFrom, 1);
    EXPECT_EQ(shared.firstTo, 2);
    EXPECT_EQ(shared.secondFrom, 7);
    EXPECT_EQ(shared.secondTo, 4);
    EXPECT_EQ(shared.firstFromNormal, 1);
    EXPECT_EQ(shared.firstToNormal, 2);
    EXPECT_EQ(shared.secondFromNormal, 7);
    EXPECT_EQ(shared.secondToNormal, 4);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(isInteriorEdge(table[i]), i == 1) << "edge " << i;
    // Face 0's last corner closes its loop: edge 3-0 runs from corner 3 to corner 0.
    EXPECT_EQ(table[3].firstFrom, 3);
    EXPECT_EQ(table[3].firstTo, 0);
}

TEST(BuildEdgeTable, PairsEveryCubeEdgeWithTheOppositeWalk) {
    OwnedModel cube = buildModel(cubeMesh(), NormalSharing::perFace);
    const EdgeTable table = buildEdgeTable(cube.model);
    ASSERT_EQ(table.size(), 12u);
    for (const EdgeRecord& edge : table) {
        ASSERT_TRUE(isInteriorEdge(edge));
        // The second face enters at vertexB and leaves at vertexA.
        EXPECT_EQ(cube.model.faces[edge.secondFrom / 4].vertexIndices[edge.secondFrom % 4],
                  edge.vertexB);
        EXPECT_EQ(cube.model.faces[edge.secondTo / 4].vertexIndices[edge.secondTo % 4],
                  edge.vertexA);
    }
    for (std::int32_t v = 0; v < 8; ++v) EXPECT_FALSE(isBoundaryVertex(table, v));
}

TEST(BuildEdgeTable, KeepsTheLastOfSeveralLaterFaces) {
    const MeshSource fin = {{point(0, 0, 0), point(1, 0, 0), point(0, 1, 0), point(1, 1, 0),
                             point(0, -1, 1), point(1, -1, 1), point(0, 0, 2), point(1, 0, 2)},
                            {{0, 1, 3, 2}, {1, 0, 4, 5}, {0, 1, 7, 6}}};
    OwnedModel model = buildModel(fin, NormalSharing::none);
    const EdgeTable table = buildEdgeTable(model.model);
    ASSERT_GE(findEdge(table, 0, 1), 0);
    const EdgeRecord& edge = table[findEdge(table, 0, 1)];
    EXPECT_EQ(edge.firstFrom, 0);
    EXPECT_EQ(edge.secondFrom, 8);
    EXPECT_EQ(edge.secondTo, 9);
}

TEST(BuildEdgeTable, IsEmptyForAModelThatBreaksTheRules) {
    OwnedModel strip = buildModel(twoQuadStripMesh(), NormalSharing::none);
    strip.model.faces[1].vertexIndices[2] = 6;  // one past the last vertex
    EXPECT_TRUE(buildEdgeTable(strip.model).empty());
}
