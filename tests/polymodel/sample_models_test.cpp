// The sample models shipped in models/: each loads, winds consistently, is closed (or, for the
// grid, open with a boundary) and faces outward; poly.obj mixes every kind of face.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

#include "face_geometry.h"
#include "obj_loader.h"
#include "obj_test_files.h"

namespace {

std::string modelPath(const char* name) { return std::string(MODELS_DIR) + "/" + name; }

bool loadSample(const char* name, ObjModel* model) {
    testing::internal::CaptureStdout();
    const bool loaded = loadObjFile(modelPath(name).c_str(), model);
    testing::internal::GetCapturedStdout();
    return loaded;
}

// How often each directed edge (from, to) is walked by the faces.
std::map<std::pair<int, int>, int> directedEdges(const ObjModel& model) {
    std::map<std::pair<int, int>, int> edges;
    for (int f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        for (int j = 0; j < face.numVertices; ++j)
            ++edges[{face.vertexIndices[j], face.vertexIndices[(j + 1) % face.numVertices]}];
    }
    return edges;
}

// Every edge walked at most once each way: the faces wind consistently.
bool windsConsistently(const ObjModel& model) {
    for (const auto& [edge, walks] : directedEdges(model))
        if (walks != 1) return false;
    return true;
}

int boundaryEdgeCount(const ObjModel& model) {
    const auto edges = directedEdges(model);
    int boundary = 0;
    for (const auto& [edge, walks] : edges)
        if (edges.count({edge.second, edge.first}) == 0) ++boundary;
    return boundary;
}

// Six times the enclosed volume, positive when the faces wind counter-clockwise from outside.
double signedVolumeTimesSix(const ObjModel& model) {
    double sum = 0.0;
    for (int f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        const Vec4f& a = model.vertices[face.vertexIndices[0]];
        for (int j = 1; j + 1 < face.numVertices; ++j) {
            const Vec4f& b = model.vertices[face.vertexIndices[j]];
            const Vec4f& c = model.vertices[face.vertexIndices[j + 1]];
            sum += a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) +
                   a.z * (b.x * c.y - b.y * c.x);
        }
    }
    return sum;
}

}  // namespace

TEST(SampleModels, ClosedModelsWindConsistentlyOutwardWithNoBoundary) {
    for (const char* name : {"poly.obj", "cube.obj", "torus.obj", "no_normals.obj"}) {
        ScopedModel model;
        ASSERT_TRUE(loadSample(name, model.get())) << name;
        EXPECT_TRUE(windsConsistently(model.model)) << name;
        EXPECT_EQ(boundaryEdgeCount(model.model), 0) << name;
        EXPECT_GT(signedVolumeTimesSix(model.model), 0.0) << name;
    }
}

TEST(SampleModels, TheGridIsOpenAndFacesUp) {
    ScopedModel grid;
    ASSERT_TRUE(loadSample("grid.obj", grid.get()));
    EXPECT_EQ(grid->numFaces, 64);
    EXPECT_TRUE(windsConsistently(grid.model));
    EXPECT_EQ(boundaryEdgeCount(grid.model), 32);
    for (int f = 0; f < grid->numFaces; ++f)
        EXPECT_GT(newellNormal(grid->faces[f], grid->vertices).y, 0.0f) << "face " << f;
}

TEST(SampleModels, PolyMixesTrianglesQuadsAndAPentagonWithOneNormalPerVertex) {
    ScopedModel poly;
    ASSERT_TRUE(loadSample("poly.obj", poly.get()));
    std::multiset<int> corners;
    std::map<int, std::set<int>> normalsAtVertex;
    for (int f = 0; f < poly->numFaces; ++f) {
        const ObjFace& face = poly->faces[f];
        corners.insert(face.numVertices);
        for (int j = 0; j < face.numVertices; ++j)
            normalsAtVertex[face.vertexIndices[j]].insert(face.normalIndices[j]);
    }
    EXPECT_EQ(corners.count(3), 5u);
    EXPECT_EQ(corners.count(4), 5u);
    EXPECT_EQ(corners.count(5), 1u);
    for (const auto& [vertex, normals] : normalsAtVertex)
        EXPECT_EQ(normals.size(), 1u) << "vertex " << vertex;
}

TEST(SampleModels, NormalsAndTheModelWithoutThem) {
    ScopedModel cube;
    ASSERT_TRUE(loadSample("cube.obj", cube.get()));
    EXPECT_EQ(cube->numNormals, 6);
    EXPECT_EQ(cube->hasNormals, 1);
    ScopedModel bare;
    ASSERT_TRUE(loadSample("no_normals.obj", bare.get()));
    EXPECT_EQ(bare->hasNormals, 0);
    EXPECT_EQ(bare->numNormals, 0);
}
