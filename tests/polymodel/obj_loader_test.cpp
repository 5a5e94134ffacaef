// The OBJ loader: its two reports, every message, the computed normals, and the files it must
// refuse or read soundly (long lines, mixed references, blanks, bad indices, locales).
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "obj_loader.h"
#include "obj_test_files.h"

namespace {

// Eight corners of the cube [-1, 1]^3, six counter-clockwise quads, one normal per face. The
// file's normal values are deliberately wrong: the loader recomputes them.
const std::string cubeVertices =
    "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\n"
    "v -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n";
const std::string cubeText = "# cube\n" + cubeVertices +
                             "vn 0 0 1\nvn 0 0 1\nvn 0 0 1\nvn 0 0 1\nvn 0 0 1\nvn 0 0 1\n"
                             "f 5//1 6//1 7//1 8//1\n"
                             "f 1//2 4//2 3//2 2//2\n"
                             "f 2//3 3//3 7//3 6//3\n"
                             "f 1//4 5//4 8//4 4//4\n"
                             "f 4//5 8//5 7//5 3//5\n"
                             "f 1//6 2//6 6//6 5//6\n";

const std::string cubeReport =
    "first pass results: found\n"
    "   * 8 vertices\n"
    "   * 0 texture coords.\n"
    "   * 6 normal vectors\n"
    "   * 6 faces\n"
    "   * has texture coords.: no\n"
    "   * has normals: yes\n"
    "second pass results: read\n"
    "   * 8 vertices\n"
    "   * 0 texture coords.\n"
    "   * 6 normal vectors\n"
    "   * 6 faces\n";

const std::string triangleVertices = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n";

void expectVec3(const Vec3f& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-6f);
    EXPECT_NEAR(v.y, y, 1e-6f);
    EXPECT_NEAR(v.z, z, 1e-6f);
}

void expectReleased(const ObjModel& model) {
    EXPECT_EQ(model.vertices, nullptr);
    EXPECT_EQ(model.texCoords, nullptr);
    EXPECT_EQ(model.normals, nullptr);
    EXPECT_EQ(model.faces, nullptr);
}

std::vector<int> vertexIndicesOf(const ObjFace& face) {
    return std::vector<int>(face.vertexIndices, face.vertexIndices + face.numVertices);
}

}  // namespace

// ---- Reports and the values read --------------------------------------------------------------

TEST(ObjLoaderCube, ReportsBothPassesOnStandardOutputAndNothingElse) {
    ScopedModel model;
    const LoadOutcome outcome = loadText(cubeText, model.get());
    ASSERT_TRUE(outcome.loaded);
    EXPECT_EQ(outcome.out, cubeReport);
    EXPECT_EQ(outcome.err, "");
}

TEST(ObjLoaderCube, FacesAreColoredQuadsWithZeroBasedIndices) {
    ScopedModel model;
    ASSERT_TRUE(loadText(cubeText, model.get()).loaded);
    ASSERT_EQ(model->numFaces, 6);
    EXPECT_EQ(model->hasTexCoords, 0);
    EXPECT_EQ(model->hasNormals, 1);
    for (int f = 0; f < 6; ++f) {
        const ObjFace& face = model->faces[f];
        EXPECT_EQ(face.primitive, primitiveQuads);
        EXPECT_EQ(face.numVertices, 4);
        EXPECT_FLOAT_EQ(face.color[0], 1.0f);
        EXPECT_FLOAT_EQ(face.color[1], 0.85f);
        EXPECT_FLOAT_EQ(face.color[2], 0.4f);
        EXPECT_EQ(face.texCoordIndices, nullptr);
        for (int j = 0; j < 4; ++j) EXPECT_EQ(face.normalIndices[j], f);
    }
    EXPECT_EQ(vertexIndicesOf(model->faces[0]), (std::vector<int>{4, 5, 6, 7}));
    EXPECT_EQ(vertexIndicesOf(model->faces[5]), (std::vector<int>{0, 1, 5, 4}));
}

TEST(ObjLoaderCube, EachNormalBecomesTheUnitNormalOfItsFace) {
    ScopedModel model;
    ASSERT_TRUE(loadText(cubeText, model.get()).loaded);
    expectVec3(model->normals[0], 0, 0, 1);
    expectVec3(model->normals[1], 0, 0, -1);
    expectVec3(model->normals[2], 1, 0, 0);
    expectVec3(model->normals[3], -1, 0, 0);
    expectVec3(model->normals[4], 0, 1, 0);
    expectVec3(model->normals[5], 0, -1, 0);
}

TEST(ObjLoaderNormals, ASharedNormalIsTheNormalizedSumOfItsFacesAreaWeightedNormals) {
    // Triangle 1 lies in z = 0 with area 2 (normal (0,0,4)); triangle 2 in x = 0 with area 0.5
    // (normal (1,0,0)). Both share normal 1 at their common corner.
    ScopedModel model;
    const std::string text =
        "v 0 0 0\nv 2 0 0\nv 0 2 0\nv 0 0 1\nv 0 1 0\n"
        "vn 9 9 9\nvn 0 0 1\nvn 0 0 1\n"
        "f 1//1 2//2 3//2\n"
        "f 1//1 5//3 4//3\n";
    ASSERT_TRUE(loadText(text, model.get()).loaded);
    const float length = std::sqrt(16.0f + 1.0f);
    expectVec3(model->normals[0], 1.0f / length, 0.0f, 4.0f / length);
    expectVec3(model->normals[1], 0, 0, 1);
    expectVec3(model->normals[2], 1, 0, 0);
}

TEST(ObjLoaderNormals, ANormalNoFaceRefersToKeepsItsValueScaledToUnitLength) {
    ScopedModel model;
    ASSERT_TRUE(loadText(triangleVertices + "vn 0 0 1\nvn 0 3 4\nf 1//1 2//1 3//1\n", model.get())
                    .loaded);
    expectVec3(model->normals[1], 0.0f, 0.6f, 0.8f);
}

TEST(ObjLoaderNormals, AZeroLengthSumFallsBackToTheFileValueThenToUp) {
    // Both faces are degenerate (collinear corners): their normal sums are zero.
    ScopedModel model;
    const std::string text =
        "v 0 0 0\nv 1 0 0\nv 2 0 0\n"
        "vn 0 0 5\nvn 0 0 0\n"
        "f 1//1 2//1 3//1\n"
        "f 1//2 2//2 3//2\n";
    ASSERT_TRUE(loadText(text, model.get()).loaded);
    expectVec3(model->normals[0], 0, 0, 1);
    expectVec3(model->normals[1], 0, 1, 0);
}

TEST(ObjLoaderNormals, AreComputedOnlyWhenTheFacesCarryThem) {
    ScopedModel model;
    ASSERT_TRUE(loadText(triangleVertices + "vn 0 0 2\nf 1 2 3\n", model.get()).loaded);
    EXPECT_EQ(model->hasNormals, 0);
    expectVec3(model->normals[0], 0, 0, 2);  // not a face normal: left as read
    EXPECT_EQ(model->faces[0].normalIndices, nullptr);
}

TEST(ObjLoaderValues, AVertexWithThreeNumbersGetsWOneWithFourKeepsItWithAColorGetsOne) {
    ScopedModel model;
    ASSERT_TRUE(loadText("v 1 2 3\nv 4 5 6 0.5\nv 7 8 9\nv 0 2 2 0 0.5 1\nv 0 0 0 124 7 9 1\n"
                         "v 0 0 0 2 3\n",
                         model.get())
                    .loaded);
    EXPECT_FLOAT_EQ(model->vertices[0].w, 1.0f);
    EXPECT_FLOAT_EQ(model->vertices[1].x, 4.0f);
    EXPECT_FLOAT_EQ(model->vertices[1].w, 0.5f);
    EXPECT_FLOAT_EQ(model->vertices[2].z, 9.0f);
    // x y z r g b and x y z r g b a: a position and its colour
    EXPECT_FLOAT_EQ(model->vertices[3].z, 2.0f);
    EXPECT_FLOAT_EQ(model->vertices[3].w, 1.0f);
    EXPECT_FLOAT_EQ(model->vertices[4].w, 1.0f);
    EXPECT_FLOAT_EQ(model->vertices[5].w, 1.0f) << "five numbers: no w either";
}

TEST(ObjLoaderValues, TextureCoordinatesFillMissingComponentsWithZero) {
    ScopedModel model;
    ASSERT_TRUE(loadText("v 0 0 0\nvt 0.25\nvt 0.5 0.75\nvt 0.1 0.2 0.3\n", model.get()).loaded);
    ASSERT_EQ(model->numTexCoords, 3);
    expectVec3(model->texCoords[0], 0.25f, 0, 0);
    expectVec3(model->texCoords[1], 0.5f, 0.75f, 0);
    expectVec3(model->texCoords[2], 0.1f, 0.2f, 0.3f);
}

TEST(ObjLoaderValues, NumbersTakeSignsExponentsAndLeadingBlanks) {
    ScopedModel model;
    ASSERT_TRUE(loadText("v   +1.5   -2e1 .25\nvn\t1 -0 +0\n", model.get()).loaded);
    EXPECT_FLOAT_EQ(model->vertices[0].x, 1.5f);
    EXPECT_FLOAT_EQ(model->vertices[0].y, -20.0f);
    EXPECT_FLOAT_EQ(model->vertices[0].z, 0.25f);
    EXPECT_FLOAT_EQ(model->normals[0].x, 1.0f);
}

TEST(ObjLoaderValues, HexadecimalNumbersAreReadAsPercentFReadsThem) {
    ScopedModel model;
    ASSERT_TRUE(loadText("v 0x1p0 -0X1.8P1 +0x.8\nv 1 2 3 0x2\nvt 0x1p-2 0xAp0\nvn 0x0 0x1p0 0\n",
                         model.get())
                    .loaded);
    EXPECT_EQ(model->vertices[0].x, 1.0f);
    EXPECT_EQ(model->vertices[0].y, -3.0f);
    EXPECT_EQ(model->vertices[0].z, 0.5f);
    EXPECT_EQ(model->vertices[1].w, 2.0f);
    expectVec3(model->texCoords[0], 0.25f, 10.0f, 0.0f);
    expectVec3(model->normals[0], 0.0f, 1.0f, 0.0f);
}

TEST(ObjLoaderValues, NumbersBelowTheFloatRangeRoundToZero) {
    ScopedModel model;
    ASSERT_TRUE(loadText("v 1e-50 -1e-60 1e-40\n", model.get()).loaded);
    EXPECT_EQ(model->vertices[0].x, 0.0f);
    EXPECT_EQ(model->vertices[0].y, 0.0f);
    EXPECT_GT(model->vertices[0].z, 0.0f);  // a denormal, kept
}

TEST(ObjLoaderValues, InfiniteOrUndefinedNumbersAreNoNumbers) {
    const std::string vertexError = "Error reading vertex data!\n";
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"v 1e39 0 0\n", vertexError},
        {"v 0 -1e400 0\n", vertexError},
        {"v inf 0 0\n", vertexError},
        {"v 0 0 nan\n", vertexError},
        {"v 0 0 0\nvn 0 infinity 0\n", "Error reading normal vectors!\n"},
        {"v 0 0 0\nvt nan 0.5\n", "Error reading texture coordinates!\n"},
    };
    for (const auto& c : cases) {
        ScopedModel model;
        const LoadOutcome outcome = loadText(c.text, model.get());
        EXPECT_FALSE(outcome.loaded) << c.text;
        EXPECT_EQ(outcome.err, c.message) << c.text;
    }
}

TEST(ObjLoaderValues, AnOptionalFieldThatIsNoNumberLeavesTheShorterForm) {
    // w, and the texture coordinate's v and w: the line reads as if the field were not there.
    ScopedModel model;
    ASSERT_TRUE(loadText("v 1 2 3 inf\nv 1 2 3 nan\nv 1 2 3 1e39\nv 1 2 3 -0x1p200\n"
                         "vt 0.5 nan\nvt 0.5 0.25 inf\nvt 0.5 -inf 0.25\n",
                         model.get())
                    .loaded);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(model->vertices[i].w, 1.0f) << i;
    expectVec3(model->texCoords[0], 0.5f, 0.0f, 0.0f);
    expectVec3(model->texCoords[1], 0.5f, 0.25f, 0.0f);
    expectVec3(model->texCoords[2], 0.5f, 0.0f, 0.0f);
}

TEST(ObjLoaderValues, AllFourReferenceFormsAreRead) {
    ScopedModel model;
    ASSERT_TRUE(loadText(triangleVertices + "vt 0 0\nvt 1 0\nvt 0 1\nvn 0 0 1\n"
                                            "f 1/3/1 2/2/1 3/1/1\n",
                         model.get())
                    .loaded);
    EXPECT_EQ(model->hasTexCoords, 1);
    EXPECT_EQ(model->hasNormals, 1);
    EXPECT_EQ(model->faces[0].texCoordIndices[0], 2);
    EXPECT_EQ(model->faces[0].texCoordIndices[2], 0);

    ScopedModel textured;
    ASSERT_TRUE(loadText(triangleVertices + "vt 0 0\nvt 1 0\nf 1/2 2/1 3/2\n", textured.get())
                    .loaded);
    EXPECT_EQ(textured->hasTexCoords, 1);
    EXPECT_EQ(textured->hasNormals, 0);
    EXPECT_EQ(textured->faces[0].texCoordIndices[1], 0);
    EXPECT_EQ(textured->faces[0].normalIndices, nullptr);

    ScopedModel plain;
    ASSERT_TRUE(loadText(triangleVertices + "f 4 2 3 1\n", plain.get()).loaded);
    EXPECT_EQ(plain->hasTexCoords, 0);
    EXPECT_EQ(vertexIndicesOf(plain->faces[0]), (std::vector<int>{3, 1, 2, 0}));
}

TEST(ObjLoaderValues, PrimitivesFollowTheCornerCount) {
    ScopedModel model;
    ASSERT_TRUE(loadText("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv -1 1 0\n"
                         "f 1 2 3\nf 1 2 3 4\nf 1 2 3 4 5\n",
                         model.get())
                    .loaded);
    EXPECT_EQ(model->faces[0].primitive, primitiveTriangles);
    EXPECT_EQ(model->faces[1].primitive, primitiveQuads);
    EXPECT_EQ(model->faces[2].primitive, primitivePolygon);
    EXPECT_EQ(model->faces[2].numVertices, 5);
}

TEST(ObjLoaderLines, AFileEndingWithOrWithoutANewlineHasAsManyFacesAsFaceLines) {
    for (const std::string& ending : {std::string("\n"), std::string("")}) {
        ScopedModel model;
        ASSERT_TRUE(loadText(triangleVertices + "f 1 2 3\nf 2 4 3" + ending, model.get()).loaded);
        EXPECT_EQ(model->numFaces, 2);
        EXPECT_EQ(vertexIndicesOf(model->faces[1]), (std::vector<int>{1, 3, 2}));
    }
    ScopedModel vertexLast;
    ASSERT_TRUE(loadText("f 1 2 3\n" + triangleVertices, vertexLast.get()).loaded);
    EXPECT_EQ(vertexLast->numFaces, 1);
    EXPECT_EQ(vertexLast->numVertices, 4);
}

TEST(ObjLoaderLines, OtherStatementsAreSkippedSilently) {
    ScopedModel model;
    const LoadOutcome outcome =
        loadText("# comment\ng group\no object\ns 1\nmtllib a.mtl\nusemtl b\n\n" +
                     triangleVertices + "f 1 2 3\n",
                 model.get());
    ASSERT_TRUE(outcome.loaded);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out.find("Warning"), std::string::npos);
    EXPECT_EQ(model->numFaces, 1);
}

TEST(ObjLoaderLines, AnUnknownVLinePrintsTheWarningWithTheWholeLine) {
    ScopedModel model;
    const LoadOutcome outcome = loadText("vp 0.5 1\n" + triangleVertices, model.get());
    ASSERT_TRUE(outcome.loaded);
    EXPECT_EQ(outcome.out.rfind("Warning: unknown token \"vp 0.5 1\n\"! (ignoring)\n"
                                "first pass results: found\n",
                                0),
              0u);
    EXPECT_EQ(model->numVertices, 4);
}

TEST(ObjLoaderLines, VerticesAloneLoadWithNoFacesAndBothFlagsOff) {
    ScopedModel model;
    const LoadOutcome outcome = loadText(triangleVertices, model.get());
    ASSERT_TRUE(outcome.loaded);
    EXPECT_EQ(model->numFaces, 0);
    EXPECT_EQ(model->faces, nullptr);
    EXPECT_NE(outcome.out.find("   * has texture coords.: no\n   * has normals: no\n"),
              std::string::npos);
}

TEST(ObjLoaderLines, WindowsLineEndingsReadLikeUnixOnes) {
    std::string text = cubeText;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
        text.insert(at, "\r");
    ScopedModel model;
    const LoadOutcome outcome = loadText(text, model.get());
    ASSERT_TRUE(outcome.loaded) << outcome.err;
    EXPECT_EQ(outcome.out, cubeReport);
    EXPECT_EQ(model->faces[3].numVertices, 4);
}

TEST(ObjLoaderLines, AUtf8ByteOrderMarkBeforeTheFirstLineIsSkipped) {
    for (const char* afterMark : {"", "\n"}) {
        ScopedModel model;
        const LoadOutcome outcome = loadText(std::string("\xEF\xBB\xBF") + afterMark +
                                                 "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                                                 "v 5 5 5\nf 1 2 3 4\n",
                                             model.get());
        ASSERT_TRUE(outcome.loaded) << outcome.err;
        EXPECT_EQ(model->numVertices, 5);
        EXPECT_FLOAT_EQ(model->vertices[4].x, 5.0f);
        EXPECT_EQ(vertexIndicesOf(model->faces[0]), (std::vector<int>{0, 1, 2, 3}));
    }
}

// ---- Failures and their messages ------------------------------------------------------------

TEST(ObjLoaderFailures, Utf16TextIsNamedAsSuch) {
    const struct {
        std::string text;
        const char* err;
    } rows[] = {
        {std::string("\xFF\xFEv\0 \0"
                     "0\0\n\0",
                     10),
         "error: the file is UTF-16 text (little-endian); save it as UTF-8 or ASCII!\n"},
        {std::string("\xFE\xFF\0v\0 \0"
                     "0\0\n",
                     10),
         "error: the file is UTF-16 text (big-endian); save it as UTF-8 or ASCII!\n"},
        {std::string("v\0 \0"
                     "0\0\n\0",
                     8),
         "error: the file is UTF-16 text (little-endian); save it as UTF-8 or ASCII!\n"},
    };
    for (const auto& row : rows) {
        ScopedModel model;
        const LoadOutcome outcome = loadText(row.text, model.get());
        EXPECT_FALSE(outcome.loaded);
        EXPECT_EQ(outcome.err, row.err);
        EXPECT_EQ(outcome.out, "");
    }
}

TEST(ObjLoaderFailures, AFolderIsNamedAsSuch) {
    ObjModel model{};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadObjFile("/", &model));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: \"/\" is a folder, not an OBJ file!\n");
}

TEST(ObjLoaderFailures, AMissingFileIsReportedAndTheModelLeftUntouched) {
    ObjModel model{};
    model.numVertices = 77;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadObjFile("/nonexistent/folder/none.obj", &model));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: couldn't open \"/nonexistent/folder/none.obj\"!\n");
    EXPECT_EQ(model.numVertices, 77);
}

TEST(ObjLoaderFailures, AnEmptyFileHasNoVertex) {
    ScopedModel model;
    const LoadOutcome outcome = loadText("", model.get());
    EXPECT_FALSE(outcome.loaded);
    EXPECT_EQ(outcome.err, "error: no vertex found!\n");
    EXPECT_EQ(outcome.out, "");
}

TEST(ObjLoaderFailures, FullReferencesWithoutTextureLinesContradictTheCounts) {
    ScopedModel model;
    const LoadOutcome outcome =
        loadText(triangleVertices + "vn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n", model.get());
    EXPECT_FALSE(outcome.loaded);
    EXPECT_EQ(outcome.err, "error: contradiction between collected info!\n");
    expectReleased(model.model);
    EXPECT_EQ(model->numFaces, 1);  // the counts found so far stay
}

TEST(ObjLoaderFailures, AFaceOfFewerThanThreeBlankSeparatedReferencesFailsTheReadingPass) {
    // Tabs do not separate corners, but the counting pass reads the first reference after them.
    for (const char* face : {"f 1 2\n", "f\t1\t2\t3\n", "f\t1 2 3\n"}) {
        ScopedModel model;
        const LoadOutcome outcome = loadText(triangleVertices + face, model.get());
        EXPECT_FALSE(outcome.loaded) << face;
        EXPECT_EQ(outcome.err, "Error: a face must have at least 3 vertices!\n") << face;
        EXPECT_NE(outcome.out.find("   * 1 faces\n"), std::string::npos) << face;  // counted
        EXPECT_EQ(outcome.out.find("second pass"), std::string::npos);
        expectReleased(model.model);
        EXPECT_EQ(model->numVertices, 4);
    }
}

TEST(ObjLoaderFailures, MalformedDataLinesNameWhatCouldNotBeRead) {
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"v 1 2\n", "Error reading vertex data!\n"},
        {"v 0 0 0\nvt abc\n", "Error reading texture coordinates!\n"},
        {"v 0 0 0\nvn 1 2\n", "Error reading normal vectors!\n"},
        {"v 1,5 2 3\n", "Error reading vertex data!\n"},
    };
    for (const Case& c : cases) {
        ScopedModel model;
        const LoadOutcome outcome = loadText(c.text, model.get());
        EXPECT_FALSE(outcome.loaded) << c.text;
        EXPECT_EQ(outcome.err, c.message) << c.text;
        expectReleased(model.model);
    }
}

TEST(ObjLoaderFailures, AFaceWithoutAVertexIsReportedAndSkippedInBothPasses) {
    ScopedModel model;
    const LoadOutcome outcome =
        loadText(triangleVertices + "f 1 2 3\nf x 1 2 3\nf\nf 2 4 3\n", model.get());
    ASSERT_TRUE(outcome.loaded);
    EXPECT_EQ(outcome.err,
              "Error: found face with no vertex!\nError: found face with no vertex!\n");
    ASSERT_EQ(model->numFaces, 2);
    EXPECT_EQ(vertexIndicesOf(model->faces[1]), (std::vector<int>{1, 3, 2}));
    EXPECT_NE(outcome.out.find("second pass results: read\n   * 4 vertices\n"
                               "   * 0 texture coords.\n   * 0 normal vectors\n   * 2 faces\n"),
              std::string::npos);
}

// ---- Indices that name no entry ---------------------------------------------------------------

TEST(ObjLoaderIndices, AnIndexThatNamesNoEntryFailsNamingTheLine) {
    const std::string entries = triangleVertices + "vt 0 0\nvt 1 1\nvn 0 0 1\n";
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {triangleVertices + "f 0 1 2\n",
         "Error: face on line 5 refers to vertex 0, but indices count from 1!\n"},
        {entries + "f 1 2 5\n",
         "Error: face on line 8 refers to vertex 5, but the file has only 4!\n"},
        {entries + "f 1/1 2/3 3/1\n",
         "Error: face on line 8 refers to texture coord. 3, but the file has only 2!\n"},
        {entries + "f 1/1/1 2/1/1 3/2/9\n",
         "Error: face on line 8 refers to normal 9, but the file has only 1!\n"},
        {entries + "f 1 2 99999999999999\n",
         "Error: face on line 8 refers to vertex 99999999999999, but the file has only 4!\n"},
        {"v 0 0 0\nv 1 0 0\nf -1 -2 -3\nv 0 1 0\n",
         "Error: face on line 3 refers to vertex -3, but only 2 precede it!\n"},
    };
    for (const auto& c : cases) {
        ScopedModel model;
        const LoadOutcome outcome = loadText(c.text, model.get());
        EXPECT_FALSE(outcome.loaded) << c.text;
        EXPECT_EQ(outcome.err, c.message);
        expectReleased(model.model);
    }
}

TEST(ObjLoaderIndices, NegativeIndicesCountBackFromTheEntriesReadSoFar) {
    ScopedModel model;
    ASSERT_TRUE(loadText("v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\nf -3//-1 -2//-1 -1//-1\n"
                         "v 1 1 0\nf -3 -1 -2\n",
                         model.get())
                    .loaded);
    // The second face has no normals, so the model carries none.
    EXPECT_EQ(vertexIndicesOf(model->faces[0]), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(vertexIndicesOf(model->faces[1]), (std::vector<int>{1, 3, 2}));
}

// ---- Mixed reference forms ----------------------------------------------------------------------

TEST(ObjLoaderMixedForms, FacesWithAndWithoutAKindLoadWithoutItInEitherOrderAndSaySo) {
    const std::string texturedFaces = "f 1/1 2/1 3/1\nf 2/1 4/1 3/1\n";
    const std::string normalFaces = "f 1//1 2//1 3//1\nf 2//1 4//1 3//1\n";
    const std::string plainFace = "f 1 2 4\n";
    const struct {
        std::string faces;
        const char* warning;
    } rows[] = {
        {texturedFaces + plainFace, "only 2 of the 3 faces carry texture coords."},
        {plainFace + texturedFaces, "only 2 of the 3 faces carry texture coords."},
        {normalFaces + plainFace, "only 2 of the 3 faces carry normals"},
        {plainFace + normalFaces, "only 2 of the 3 faces carry normals"},
        {plainFace + plainFace + "f 1//1 2//1 3//1\n", "only 1 of the 3 faces carries normals"},
    };
    for (const auto& row : rows) {
        ScopedModel model;
        const LoadOutcome outcome =
            loadText(triangleVertices + "vt 0 0\nvn 0 0 1\n" + row.faces, model.get());
        ASSERT_TRUE(outcome.loaded) << row.faces << outcome.err;
        EXPECT_EQ(model->numFaces, 3);
        EXPECT_EQ(model->hasTexCoords, 0) << row.faces;
        EXPECT_EQ(model->hasNormals, 0) << row.faces;
        EXPECT_NE(outcome.out.find(std::string("Warning: ") + row.warning +
                                   ": all faces are read without them!\n"),
                  std::string::npos)
            << outcome.out;
    }
}

TEST(ObjLoaderMixedForms, ACornerLackingAKindItsFaceCarriesFailsNamingTheLine) {
    ScopedModel inside;
    const LoadOutcome mixedCorners =
        loadText(triangleVertices + "vt 0 0\nf 1/1 2 3/1\n", inside.get());
    EXPECT_FALSE(mixedCorners.loaded);
    EXPECT_EQ(mixedCorners.err,
              "Error: face on line 6 has a corner without the texture coord. index that the "
              "faces carry!\n");
    expectReleased(inside.model);
}

TEST(ObjLoaderMixedForms, TheFlagsComeFromTheReferenceAfterTheKeywordWhateverSpaceFollowsIt) {
    // "1" decides (no normals); the corners are the blank-separated words after "f\t1".
    ScopedModel model;
    const LoadOutcome outcome =
        loadText(triangleVertices + "vn 0 0 1\nf\t1 2//1 3//1 4//1\n", model.get());
    ASSERT_TRUE(outcome.loaded) << outcome.err;
    EXPECT_EQ(model->hasNormals, 0);
    EXPECT_EQ(model->faces[0].normalIndices, nullptr);
    EXPECT_EQ(vertexIndicesOf(model->faces[0]), (std::vector<int>{1, 2, 3}));
}

TEST(ObjLoaderMixedForms, IndicesOfKindsTheModelDoesNotCarryAreLeftOut) {
    ScopedModel model;
    const LoadOutcome outcome =
        loadText(triangleVertices +
                     "vt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\nf 2//1 4//1 3//1\nf 1 2 4\n",
                 model.get());
    ASSERT_TRUE(outcome.loaded) << outcome.err;
    EXPECT_EQ(model->hasTexCoords, 0);
    EXPECT_EQ(model->hasNormals, 0);
    for (int f = 0; f < model->numFaces; ++f) {
        EXPECT_EQ(model->faces[f].texCoordIndices, nullptr);
        EXPECT_EQ(model->faces[f].normalIndices, nullptr);
    }
}

// ---- Blanks and long lines ----------------------------------------------------------------------

TEST(ObjLoaderBlanks, BlanksAndWordsThatAreNoReferenceMakeNoCorner) {
    // Trailing blanks and carriage returns, doubled blanks, and words that are no reference.
    for (const char* face : {"f 1 2 3 \n", "f 1 2 3   \n", "f 1 2 3 \r\n", "f 1 2 3\t\n",
                             "f  1   2  3\n", "f 1 2 x 3 #\n"}) {
        ScopedModel model;
        const LoadOutcome outcome = loadText(triangleVertices + face, model.get());
        ASSERT_TRUE(outcome.loaded) << face << outcome.err;
        EXPECT_EQ(vertexIndicesOf(model->faces[0]), (std::vector<int>{0, 1, 2})) << face;
        EXPECT_EQ(model->faces[0].primitive, primitiveTriangles);
    }
}

TEST(ObjLoaderBlanks, ThreeBlanksButTwoReferencesIsStillTooFewCorners) {
    ScopedModel model;
    const LoadOutcome outcome = loadText(triangleVertices + "f 1 2  \n", model.get());
    EXPECT_FALSE(outcome.loaded);
    EXPECT_EQ(outcome.err, "Error: a face must have at least 3 vertices!\n");
}

TEST(ObjLoaderLongLines, APolygonOfManyCornersOnOneLineIsReadWhole) {
    std::string text;
    std::string face = "f";
    for (int i = 0; i < 200; ++i) {
        const double angle = 2.0 * M_PI * i / 200.0;
        text +=
            "v " + std::to_string(std::cos(angle)) + " " + std::to_string(std::sin(angle)) + " 0\n";
        face += " " + std::to_string(i + 1);
    }
    ScopedModel model;
    ASSERT_GT(face.size(), 255u);
    ASSERT_TRUE(loadText(text + face + "\n", model.get()).loaded);
    ASSERT_EQ(model->numFaces, 1);
    EXPECT_EQ(model->faces[0].numVertices, 200);
    EXPECT_EQ(model->faces[0].vertexIndices[199], 199);
    EXPECT_EQ(model->faces[0].primitive, primitivePolygon);
}

TEST(ObjLoaderLongLines, TextPastAnyBufferLengthNeverStartsALineOfItsOwn) {
    // A comment whose 128th and 256th characters begin what would look like data lines.
    const std::string comment = "#" + std::string(126, ' ') + "f 1 2 3" + std::string(121, ' ') +
                                "v 9 9 9 " + std::string(300, '-');
    const std::string longVertex = "v" + std::string(400, ' ') + "1 2 3\n";
    ScopedModel model;
    const LoadOutcome outcome =
        loadText(comment + "\n" + triangleVertices + longVertex + "f 1 2 3\n", model.get());
    ASSERT_TRUE(outcome.loaded) << outcome.err;
    EXPECT_EQ(model->numVertices, 5);
    EXPECT_EQ(model->numFaces, 1);
    EXPECT_FLOAT_EQ(model->vertices[4].z, 3.0f);
}

TEST(ObjLoaderLongLines, LinesAcrossTheReadBufferAreReadWhole) {
    // Over a megabyte of vertex lines, so that lines straddle the reader's buffer boundaries,
    // after a comment line longer than the buffer.
    std::string text = "#" + std::string(3u << 20, 'x') + "\n";
    const int count = 100000;
    for (int i = 0; i < count; ++i) text += "v " + std::to_string(i) + " 0.5 -1\n";
    ScopedModel model;
    ASSERT_TRUE(loadText(text, model.get()).loaded);
    ASSERT_EQ(model->numVertices, count);
    int wrong = 0;
    for (int i = 0; i < count; ++i) {
        const Vec4f& v = model->vertices[i];
        if (v.x != static_cast<float>(i) || v.y != 0.5f || v.z != -1.0f || v.w != 1.0f) ++wrong;
    }
    EXPECT_EQ(wrong, 0);
}

// ---- Locale ---------------------------------------------------------------------------------------

namespace {

// Selects a locale whose decimal separator is a comma: an installed one, else one built into a
// private folder with the system's localedef. False when neither is possible.
bool selectCommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "pt_BR.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) return true;
    }
    const std::string folder = testing::TempDir() + "comma_locale_" + std::to_string(::getpid());
    const std::string command =
        "localedef -c -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(("mkdir -p '" + folder + "'").c_str()) != 0) return false;
    std::system(command.c_str());
    ::setenv("LOCPATH", folder.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

}  // namespace

TEST(ObjLoaderLocale, NumbersUseAFullStopWhateverTheLocale) {
    if (!selectCommaLocale()) GTEST_SKIP() << "no locale with a decimal comma can be had";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    ScopedModel model;
    const LoadOutcome outcome = loadText("v 1.5 2.25 -0.125\nvn 0.5 0 0\n", model.get());
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(outcome.loaded) << outcome.err;
    EXPECT_FLOAT_EQ(model->vertices[0].x, 1.5f);
    EXPECT_FLOAT_EQ(model->vertices[0].y, 2.25f);
    EXPECT_FLOAT_EQ(model->vertices[0].z, -0.125f);
}
