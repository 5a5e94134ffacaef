// The polygon model record: its primitive rule and the ownership of its arrays.
#include <gtest/gtest.h>

#include <cstdlib>

#include "obj_model.h"

TEST(PrimitiveForCorners, TrianglesQuadsAndPolygonsForEveryOtherCount) {
    EXPECT_EQ(primitiveForCorners(3), primitiveTriangles);
    EXPECT_EQ(primitiveForCorners(4), primitiveQuads);
    EXPECT_EQ(primitiveForCorners(2), primitivePolygon);
    EXPECT_EQ(primitiveForCorners(5), primitivePolygon);
    EXPECT_EQ(primitiveForCorners(12), primitivePolygon);
}

TEST(ModelArrays, ZeroCountsLeaveTheirArraysNullAndFacesComeZeroFilled) {
    ObjModel model{};
    model.numVertices = 3;
    model.numFaces = 2;
    ASSERT_TRUE(allocateModelArrays(&model));
    EXPECT_NE(model.vertices, nullptr);
    EXPECT_EQ(model.texCoords, nullptr);
    EXPECT_EQ(model.normals, nullptr);
    ASSERT_NE(model.faces, nullptr);
    EXPECT_EQ(model.faces[1].numVertices, 0);
    EXPECT_EQ(model.faces[1].vertexIndices, nullptr);
    EXPECT_EQ(model.faces[1].normalIndices, nullptr);
    freeModelArrays(&model);
}

TEST(ModelArrays, ReleasingTwiceDoesNothingTheSecondTimeAndKeepsTheCounts) {
    ObjModel model{};
    model.numVertices = 2;
    model.numNormals = 2;
    model.numFaces = 1;
    model.hasNormals = 1;
    ASSERT_TRUE(allocateModelArrays(&model));
    model.faces[0].numVertices = 3;
    model.faces[0].vertexIndices = static_cast<std::int32_t*>(std::calloc(3, sizeof(std::int32_t)));
    model.faces[0].normalIndices = static_cast<std::int32_t*>(std::calloc(3, sizeof(std::int32_t)));
    freeModelArrays(&model);
    freeModelArrays(&model);
    EXPECT_EQ(model.vertices, nullptr);
    EXPECT_EQ(model.normals, nullptr);
    EXPECT_EQ(model.faces, nullptr);
    EXPECT_EQ(model.numVertices, 2);
    EXPECT_EQ(model.numFaces, 1);
    EXPECT_EQ(model.hasNormals, 1);
}

TEST(ModelArrays, APartlyFilledFaceArrayReleasesOnlyTheIndexArraysThatExist) {
    ObjModel model{};
    model.numVertices = 4;
    model.numFaces = 3;
    ASSERT_TRUE(allocateModelArrays(&model));
    model.faces[0].vertexIndices =
        static_cast<std::int32_t*>(std::malloc(4 * sizeof(std::int32_t)));
    model.faces[0].texCoordIndices =
        static_cast<std::int32_t*>(std::malloc(4 * sizeof(std::int32_t)));
    // Faces 1 and 2 were never filled; the sanitizer build reports any bad release.
    freeModelArrays(&model);
    EXPECT_EQ(model.faces, nullptr);
}

TEST(ModelArrays, ANullModelIsIgnored) { freeModelArrays(nullptr); }
