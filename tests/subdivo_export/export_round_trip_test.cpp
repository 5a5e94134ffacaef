// A written level read back with the loader is the model the level driver built: the same
// counts, every vertex the same float bit for bit, the same faces and references; and the
// materials name the colour of every face. Formatted over several threads, the text is the
// same, byte for byte.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "../polymodel/obj_test_files.h"
#include "face_geometry.h"
#include "face_materials.h"
#include "model_size.h"
#include "obj_writer.h"
#include "subdivision_level.h"
#include "surface_normals.h"
#include "written_surface.h"

namespace {

std::string modelPath(const std::string& name) { return std::string(MODELS_DIR) + "/" + name; }

// The model of a level as Subdivo builds it, and its owner.
struct BuiltLevel {
    ScopedModel base;
    ObjModel* shown = new ObjModel{};
    ~BuiltLevel() {
        freeModelArrays(shown);
        delete shown;
    }
    const ObjModel& model(int level) const { return level == 0 ? base.model : *shown; }
};

bool buildLevel(const std::string& path, int level, BuiltLevel& built) {
    testing::internal::CaptureStdout();
    const bool loaded = loadObjFile(path.c_str(), built.base.get());
    testing::internal::GetCapturedStdout();
    return loaded && applySubdivisionLevel(built.base.model, built.shown, level);
}

// The OBJ text of the model, written through a file as the tool writes it.
std::string writtenText(const ObjModel& model, ObjWriteResult* result = nullptr, int threads = 1) {
    const std::string path = writeTempFile("");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ObjWriteSettings settings;
    settings.comment = "round trip";
    settings.materialLibrary = "round_trip.mtl";
    settings.threads = threads;
    const ObjWriteResult written = writeObjText(model, colourMaterials(model), settings, file);
    std::fclose(file);
    if (result != nullptr) *result = written;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::remove(path.c_str());
    return text.str();
}

bool sameBits(const void* a, const void* b, std::size_t bytes) {
    return bytes == 0 || std::memcmp(a, b, bytes) == 0;
}

void expectSameIndices(const std::int32_t* written, const std::int32_t* read, std::int32_t n,
                       const char* what, std::int32_t f) {
    ASSERT_EQ(written == nullptr, read == nullptr) << what << " of face " << f;
    if (written != nullptr) {
        EXPECT_TRUE(sameBits(written, read, sizeof(std::int32_t) * std::size_t(n)))
            << what << " of face " << f;
    }
}

void expectSameMesh(const ObjModel& written, const ObjModel& read) {
    ASSERT_EQ(read.numVertices, written.numVertices);
    ASSERT_EQ(read.numTexCoords, written.numTexCoords);
    ASSERT_EQ(read.numNormals, written.numNormals);
    ASSERT_EQ(read.numFaces, written.numFaces);
    EXPECT_EQ(read.hasTexCoords, written.hasTexCoords);
    EXPECT_EQ(read.hasNormals, written.hasNormals);
    for (std::int32_t v = 0; v < written.numVertices; ++v) {
        ASSERT_TRUE(sameBits(&read.vertices[v], &written.vertices[v], sizeof(Vec4f)))
            << "vertex " << v;
    }
    EXPECT_TRUE(sameBits(read.texCoords, written.texCoords, sizeof(Vec3f) * read.numTexCoords));
    for (std::int32_t f = 0; f < written.numFaces; ++f) {
        const ObjFace& a = written.faces[f];
        const ObjFace& b = read.faces[f];
        ASSERT_EQ(b.numVertices, a.numVertices) << "face " << f;
        EXPECT_EQ(b.primitive, a.primitive) << "face " << f;
        expectSameIndices(a.vertexIndices, b.vertexIndices, a.numVertices, "vertices", f);
        expectSameIndices(a.texCoordIndices, b.texCoordIndices, a.numVertices, "texture", f);
        expectSameIndices(a.normalIndices, b.normalIndices, a.numVertices, "normals", f);
    }
}

struct RoundTripCase {
    const char* model;
    int level;
    int threads = 1;  // formatting the text
};

std::ostream& operator<<(std::ostream& out, const RoundTripCase& c) {
    return out << c.model << " at level " << c.level << " on " << c.threads << " threads";
}

class WrittenLevelReadsBack : public testing::TestWithParam<RoundTripCase> {};

TEST_P(WrittenLevelReadsBack, AsTheSameMeshBitForBit) {
    const RoundTripCase& c = GetParam();
    BuiltLevel built;
    ASSERT_TRUE(buildLevel(modelPath(c.model), c.level, built));
    const ObjModel& written = built.model(c.level);
    const std::string text = writtenText(written, nullptr, c.threads);
    if (c.threads != 1) {
        EXPECT_EQ(text, writtenText(written));
    }
    ScopedModel read;
    const LoadOutcome outcome = loadText(text, read.get());
    ASSERT_TRUE(outcome.loaded) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    expectSameMesh(written, read.model);
}

INSTANTIATE_TEST_SUITE_P(SampleModels, WrittenLevelReadsBack,
                         testing::Values(RoundTripCase{"poly.obj", 0}, RoundTripCase{"poly.obj", 1},
                                         RoundTripCase{"poly.obj", 3}, RoundTripCase{"cube.obj", 4},
                                         RoundTripCase{"grid.obj", 2},
                                         RoundTripCase{"torus.obj", 2},
                                         RoundTripCase{"no_normals.obj", 0},
                                         RoundTripCase{"no_normals.obj", 2},
                                         RoundTripCase{"poly.obj", 3, 3}),
                         [](const testing::TestParamInfo<RoundTripCase>& row) {
                             std::string name = row.param.model;
                             return name.substr(0, name.find('.')) + "_level_" +
                                    std::to_string(row.param.level) +
                                    (row.param.threads == 1
                                         ? ""
                                         : "_threads_" + std::to_string(row.param.threads));
                         });

TEST(WrittenModel, KeepsTextureCoordinatesAndHomogeneousWeights) {
    ScopedModel loaded;
    ASSERT_TRUE(loadText("v 0 0 0\nv 2 0 0 2\nv 0 3e-7 0 0.5\nv 1 1 1 0\n"
                         "vt 0.25 0.5\nvt 1 0.1 0.7\nvn 0 0 1\n"
                         "f 1/1/1 2/2/1 3/1/1\nf 1/2/1 3/1/1 4/2/1\n",
                         loaded.get())
                    .loaded);
    const std::string text = writtenText(loaded.model);
    EXPECT_NE(text.find("\nv 0 0 0\n"), std::string::npos) << "w of 1 is left out";
    EXPECT_NE(text.find("\nv 2 0 0 2\n"), std::string::npos);
    ScopedModel read;
    ASSERT_TRUE(loadText(text, read.get()).loaded);
    expectSameMesh(loaded.model, read.model);
}

// Two triangles glued along all three edges: every vertex lies between just two faces, which
// get no V-face, so the written level 1 is whole and refining the file once more gives the
// level 2 that the driver builds, the same vertices and faces bit for bit.
TEST(WrittenModel, OfAVertexBetweenTwoFacesRefinesOnIntoTheLevelAbove) {
    BuiltLevel once, twice;
    const std::string path = writeTempFile("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 3 2\n");
    ASSERT_TRUE(buildLevel(path, 1, once));
    ASSERT_TRUE(buildLevel(path, 2, twice));
    std::remove(path.c_str());
    ObjWriteResult result{};
    const std::string text = writtenText(once.model(1), &result);
    EXPECT_TRUE(result.written);
    EXPECT_EQ(result.facesLeftOut, 0);
    ScopedModel read;
    const LoadOutcome outcome = loadText(text, read.get());
    ASSERT_TRUE(outcome.loaded) << outcome.err;
    ObjModel* again = new ObjModel{};
    ASSERT_TRUE(applySubdivisionLevel(read.model, again, 1));
    const ObjModel& expected = twice.model(2);
    ASSERT_EQ(again->numVertices, expected.numVertices);
    ASSERT_EQ(again->numFaces, expected.numFaces);
    EXPECT_TRUE(sameBits(again->vertices, expected.vertices,
                         sizeof(Vec4f) * std::size_t(expected.numVertices)));
    for (std::int32_t f = 0; f < expected.numFaces; ++f) {
        ASSERT_EQ(again->faces[f].numVertices, expected.faces[f].numVertices) << "face " << f;
        expectSameIndices(again->faces[f].vertexIndices, expected.faces[f].vertexIndices,
                          expected.faces[f].numVertices, "vertices", f);
    }
    freeModelArrays(again);
    delete again;
}

// Reads the colour each "f" line gets from the "usemtl" before it and the material library.
TEST(WrittenModel, EveryFaceUsesTheMaterialOfItsColor) {
    BuiltLevel built;
    ASSERT_TRUE(buildLevel(modelPath("grid.obj"), 2, built));
    const ObjModel& model = built.model(2);
    const std::vector<FaceMaterial> materials = colourMaterials(model);
    ASSERT_EQ(materials.size(), 3u);  // an open grid has all three kinds

    std::FILE* library = std::tmpfile();
    ASSERT_TRUE(writeMaterialLibrary(materials, library));
    std::rewind(library);
    std::map<std::string, std::array<float, 3>> diffuse;
    char line[256], name[128] = "";
    while (std::fgets(line, sizeof line, library) != nullptr) {
        float r, g, b;
        if (std::sscanf(line, "newmtl %127s", name) == 1) continue;
        if (std::sscanf(line, "Kd %f %f %f", &r, &g, &b) == 3) diffuse[name] = {r, g, b};
    }
    std::fclose(library);

    std::istringstream text(writtenText(model));
    std::string entry, current;
    std::int32_t face = 0;
    while (std::getline(text, entry)) {
        if (entry.rfind("usemtl ", 0) == 0) current = entry.substr(7);
        if (entry.rfind("f ", 0) != 0) continue;
        ASSERT_EQ(diffuse.count(current), 1u) << "face " << face << " uses '" << current << "'";
        const float* color = model.faces[face].color;
        EXPECT_EQ(diffuse[current], (std::array<float, 3>{color[0], color[1], color[2]}))
            << "face " << face;
        ++face;
    }
    EXPECT_EQ(face, model.numFaces);
}

// A face of 12 corners averages w = 1 into 0.99999994 (1/12 in single precision, summed 12
// times, falls short of 1); a model whose vertices all have w = 1 is written without any w.
TEST(WrittenModel, HasNoFourthCoordinateWhenTheModelHasNone) {
    std::string text = "f";
    for (int i = 0; i < 12; ++i) {
        const double angle = i * 3.14159265358979 / 6;
        text = "v " + std::to_string(std::cos(angle)) + " " + std::to_string(std::sin(angle)) +
               " 0\n" + text + " " + std::to_string(12 - i);
    }
    BuiltLevel built;
    const std::string path = writeTempFile(text + "\n");
    ASSERT_TRUE(buildLevel(path, 2, built));
    std::remove(path.c_str());
    ASSERT_TRUE(hasHomogeneousWeights(built.model(2))) << "the averaging no longer shows";
    ASSERT_FALSE(hasHomogeneousWeights(built.model(0)));
    ObjWriteSettings settings;
    settings.weights = false;
    std::FILE* file = std::tmpfile();
    ASSERT_TRUE(writeObjText(built.model(2), colourMaterials(built.model(2)), settings, file)
                    .written);
    std::rewind(file);
    char line[256];
    float x, y, z, w;
    while (std::fgets(line, sizeof line, file) != nullptr) {
        EXPECT_NE(std::sscanf(line, "v %f %f %f %f", &x, &y, &z, &w), 4) << line;
    }
    std::fclose(file);
}

// On a closed surface every corner's normal lies on its face's side: the torus has saddle
// vertices inside its hole, the cube sharp edges.
class SurfaceNormals : public testing::TestWithParam<const char*> {};

TEST_P(SurfaceNormals, FaceTheirFacesOnAClosedModelAtLevel3) {
    BuiltLevel built;
    ASSERT_TRUE(buildLevel(modelPath(GetParam()), 3, built));
    const ObjModel& model = built.model(3);
    const std::vector<Vec3f> normals = surfaceVertexNormals(model);
    ASSERT_EQ(normals.size(), std::size_t(model.numVertices));
    int away = 0;
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        const Vec3f facing = newellNormal(face, model.vertices);
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            const Vec3f& n = normals[std::size_t(face.vertexIndices[j])];
            EXPECT_NEAR(dot(n, n), 1.0f, 1e-5f);
            if (!(dot(n, facing) > 0.0f)) ++away;
        }
    }
    EXPECT_EQ(away, 0);
}

INSTANTIATE_TEST_SUITE_P(ClosedModels, SurfaceNormals, testing::Values("cube.obj", "torus.obj"),
                         [](const testing::TestParamInfo<const char*>& row) {
                             const std::string name = row.param;
                             return name.substr(0, name.find('.'));
                         });

// Where the area-weighted sum does not face every face: two triangles back to back cancel (no
// direction faces both, the first face's normal stands in); a small face steeply folded under a
// large one outweighs nothing, yet their bisector faces both.
TEST(SurfaceNormalsAtFolds, PointAsNearlyIntoEveryFaceAsAnyDirectionCan) {
    ScopedModel canceled;
    ASSERT_TRUE(loadText("v 0 0 0\nv 2 0 0\nv 0 2 0\nv 0 0 5\nf 1 2 3\nf 1 3 2\n", canceled.get())
                    .loaded);
    const std::vector<Vec3f> normals = surfaceVertexNormals(canceled.model);
    for (int v = 0; v < 3; ++v) EXPECT_EQ(normals[v].z, 1.0f) << v;
    EXPECT_EQ(normals[3].y, 1.0f) << "a vertex on no face";

    ScopedModel folded;
    ASSERT_TRUE(loadText("v 0 0 0\nv 10 0 0\nv 0 10 0\nv 0 3 0\nv 0.3 0 -2.985\n"
                         "f 1 2 3\nf 1 4 5\n",
                         folded.get())
                    .loaded);
    const Vec3f n = surfaceVertexNormals(folded.model)[0];
    for (std::int32_t f = 0; f < 2; ++f) {
        EXPECT_GT(dot(n, newellNormal(folded->faces[f], folded->vertices)), 0.0f) << "face " << f;
    }

    // A pleated fan of 600 faces about one vertex, every second face folded back: too many
    // faces for the search (which would take minutes), so the vertex keeps the sum, up.
    std::string pleats = "v 0 0 0\n";
    const int rim = 600;
    for (int i = 0; i < rim; ++i) {
        const double a = 2 * std::acos(-1.0) * (i + (i % 2 ? 1.5 : 0.0)) / rim;
        pleats += "v " + std::to_string(std::cos(a)) + " " + std::to_string(std::sin(a)) + " 0\n";
    }
    for (int i = 0; i < rim; ++i) {
        pleats += "f 1 " + std::to_string(i + 2) + " " + std::to_string((i + 1) % rim + 2) + "\n";
    }
    ScopedModel fan;
    ASSERT_TRUE(loadText(pleats, fan.get()).loaded);
    EXPECT_EQ(surfaceVertexNormals(fan.model)[0].z, 1.0f);
}

// A bumpy grid of 4 by 3 quads whose texture coordinates are (x / 4, y / 3): at level 2 every
// vertex's texture coordinate is still that mix of its position.
TEST(CarriedTexCoords, FollowThePositionsToLevel2) {
    std::string text;
    for (int j = 0; j <= 3; ++j)
        for (int i = 0; i <= 4; ++i)
            text += "v " + std::to_string(i) + " " + std::to_string(j) + " " +
                    std::to_string((i * j) % 3) + "\nvt " + std::to_string(i / 4.0) + " " +
                    std::to_string(j / 3.0) + "\n";
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 4; ++i) {
            const int a = j * 5 + i + 1;
            text += "f";
            for (const int v : {a, a + 1, a + 6, a + 5})
                text += " " + std::to_string(v) + "/" + std::to_string(v);
            text += "\n";
        }
    }
    const std::string path = writeTempFile(text);
    BuiltLevel built;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(loadObjFile(path.c_str(), built.base.get()));
    testing::internal::GetCapturedStdout();
    std::remove(path.c_str());
    LevelRequest request;
    request.budgetBytes = memoryBudgetBytes();
    request.texCoords = true;
    ASSERT_TRUE(applySubdivisionLevel(built.base.model, built.shown, 2, request));
    const ObjModel& model = built.model(2);
    ASSERT_EQ(model.numTexCoords, model.numVertices);
    for (std::int32_t v = 0; v < model.numVertices; ++v) {
        EXPECT_NEAR(model.texCoords[v].x, model.vertices[v].x / 4.0f, 1e-6f) << v;
        EXPECT_NEAR(model.texCoords[v].y, model.vertices[v].y / 3.0f, 1e-6f) << v;
    }
    // Written, each corner refers to the texture coordinate and normal of its vertex's number.
    const std::vector<Vec3f> normals = surfaceVertexNormals(model);
    WrittenSurface view;
    viewWrittenSurface(view, model, &normals);
    ScopedModel read;
    ASSERT_TRUE(loadText(writtenText(view.model), read.get()).loaded);
    ASSERT_EQ(read->numTexCoords, model.numVertices);
    EXPECT_TRUE(sameBits(read->texCoords, model.texCoords,
                         sizeof(Vec3f) * std::size_t(model.numTexCoords)));
    for (std::int32_t f = 0; f < read->numFaces; ++f) {
        const ObjFace& face = read->faces[f];
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            EXPECT_EQ(face.texCoordIndices[j], face.vertexIndices[j]);
            EXPECT_EQ(face.normalIndices[j], face.vertexIndices[j]);
        }
    }
}

TEST(WrittenModel, AFailedWriteIsReported) {
    BuiltLevel built;
    ASSERT_TRUE(buildLevel(modelPath("cube.obj"), 5, built));
    std::FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    const ObjWriteResult result =
        writeObjText(built.model(5), colourMaterials(built.model(5)), ObjWriteSettings{}, full);
    std::fclose(full);
    EXPECT_FALSE(result.written);
}

}  // namespace
