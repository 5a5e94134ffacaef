// Topology of the Catmull-Clark and Loop levels, checked by the core's own edge numbering on
// the output: closed inputs stay closed (every edge in two faces) with their Euler
// characteristic; odd inputs refine without losing faces; a corner stays put; Loop refuses
// faces that are not triangles; a child's topology taken from its parent's is the one gathered
// from the child; each scheme's forecast of the next level's counts (level_counts) is the count
// of the level built. Positions are checked against OpenSubdiv elsewhere.
#include <gtest/gtest.h>

#include "child_topology.h"
#include "level_counts.h"
#include "mesh_topology.h"
#include "refined_mesh.h"
#include "subdivision_level.h"
#include "test_meshes.h"

namespace {

struct Built {
    bool built = false;
    OwnedModel model;
};

Built level(const MeshSource& mesh, SchemeKind scheme, int n) {
    const OwnedModel base = buildModel(mesh, NormalSharing::perFace);
    ObjModel* shown = new ObjModel{};
    Built result;
    result.built = applySubdivisionLevel(base.model, shown, n, {scheme, std::uint64_t{1} << 32});
    result.model.model = *shown;
    delete shown;
    return result;
}

struct Closed {
    const char* name;
    MeshSource mesh;
    SchemeKind scheme;
    std::int64_t euler;
};

TEST(RefinementSchemes, ClosedInputsStayClosedWithTheirEulerCharacteristic) {
    const Closed rows[] = {
        {"cube", cubeMesh(), SchemeKind::catmullClark, 2},
        {"prism", pentagonalPrismMesh(), SchemeKind::catmullClark, 2},
        {"torus", quadTorusMesh(8, 6), SchemeKind::catmullClark, 0},
        {"octahedron", octahedronMesh(), SchemeKind::loop, 2},
        {"tetrahedron", tetrahedronMesh(), SchemeKind::loop, 2},
    };
    for (const Closed& row : rows) {
        for (int n = 1; n <= 3; ++n) {
            SCOPED_TRACE(std::string(row.name) + " level " + std::to_string(n));
            const Built out = level(row.mesh, row.scheme, n);
            ASSERT_TRUE(out.built);
            const FaceVertexArrays faces = faceVertexArraysOf(out.model.model);
            MeshTopology topology;
            buildMeshTopology(faces, topology);
            for (std::int32_t e = 0; e < topology.numEdges; ++e) {
                ASSERT_EQ(topology.edgeWalkers[e], 2) << "edge " << e;
            }
            EXPECT_EQ(std::int64_t{out.model.model.numVertices} - topology.numEdges +
                          out.model.model.numFaces,
                      row.euler);
            EXPECT_EQ(out.model.model.hasNormals, 0);
        }
    }
}

// Doo-Sabin's edges are forecast from its plan (its F-faces' sides and two sides of each E-face),
// which an open grid's border and a torus's saddles put to the test as much as the cube.
TEST(RefinementSchemes, TheNextLevelsCountsAreForecastExactly) {
    const struct {
        const char* name;
        MeshSource mesh;
        SchemeKind scheme;
    } rows[] = {
        {"cube", cubeMesh(), SchemeKind::dooSabin},
        {"grid", flatGridMesh(3, 2), SchemeKind::dooSabin},
        {"torus", quadTorusMesh(8, 6), SchemeKind::dooSabin},
        {"grid", flatGridMesh(3, 2), SchemeKind::catmullClark},
        {"prism", pentagonalPrismMesh(), SchemeKind::catmullClark},
        {"octahedron", octahedronMesh(), SchemeKind::loop},
    };
    for (const auto& row : rows) {
        for (int n = 0; n <= 2; ++n) {
            SCOPED_TRACE(std::string(row.name) + " " + schemeName(row.scheme) + " from level " +
                         std::to_string(n));
            const OwnedModel base = buildModel(row.mesh, NormalSharing::perFace);
            const Built shown = level(row.mesh, row.scheme, n);
            const Built next = level(row.mesh, row.scheme, n + 1);
            ASSERT_TRUE(next.built);
            const ObjModel& from = n == 0 ? base.model : shown.model.model;
            LevelCounts counts, forecast, built;
            ASSERT_TRUE(countLevel(from, counts));
            ASSERT_TRUE(forecastNextLevel(from, row.scheme, counts, forecast));
            ASSERT_TRUE(countLevel(next.model.model, built));
            countFaceKinds(next.model.model, row.scheme, built);
            EXPECT_EQ(forecast.vertices, built.vertices);
            EXPECT_EQ(forecast.edges, built.edges);
            EXPECT_EQ(forecast.faces, built.faces);
            for (int kind = 0; kind < faceKindCount; ++kind)
                EXPECT_EQ(forecast.facesByKind[kind], built.facesByKind[kind]) << "kind " << kind;
        }
    }
}

TEST(RefinementSchemes, OddInputsRefineWithoutLosingFaces) {
    // Two cubes sharing an edge (four faces at it) and two tetrahedra sharing a vertex.
    const Built cubes = level(twoCubesSharingAnEdgeMesh(), SchemeKind::catmullClark, 2);
    ASSERT_TRUE(cubes.built);
    EXPECT_EQ(cubes.model.model.numFaces, 12 * 16);
    const Built tetrahedra = level(twoTetrahedraSharingAVertexMesh(), SchemeKind::loop, 2);
    ASSERT_TRUE(tetrahedra.built);
    EXPECT_EQ(tetrahedra.model.model.numFaces, 8 * 16);
}

TEST(RefinementSchemes, AVertexInOneFaceStaysPut) {
    for (const SchemeKind scheme : {SchemeKind::catmullClark, SchemeKind::loop}) {
        const MeshSource quad = singleQuadMesh();
        const MeshSource triangle = {quad.positions, {{0, 1, 2}}};
        const Built out = level(scheme == SchemeKind::loop ? triangle : quad, scheme, 2);
        ASSERT_TRUE(out.built);
        EXPECT_EQ(out.model.model.vertices[1].x, 2.0f);
        EXPECT_EQ(out.model.model.vertices[1].y, 0.0f);
    }
}

TEST(RefinementSchemes, LoopRefusesFacesOtherThanTriangles) {
    testing::internal::CaptureStderr();
    const Built out = level(pentagonalPrismMesh(), SchemeKind::loop, 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(out.built);
    EXPECT_NE(said.find("the model has 7 faces of other sizes"), std::string::npos) << said;
}

void expectSameTopology(const MeshTopology& taken, const MeshTopology& gathered) {
    EXPECT_EQ(taken.numEdges, gathered.numEdges);
    EXPECT_EQ(taken.cornerFace, gathered.cornerFace);
    EXPECT_EQ(taken.cornerEdge, gathered.cornerEdge);
    EXPECT_EQ(taken.edgeVertices, gathered.edgeVertices);
    EXPECT_EQ(taken.edgeWalkers, gathered.edgeWalkers);
    EXPECT_EQ(taken.edgeCorners, gathered.edgeCorners);
    EXPECT_EQ(taken.vertexStart, gathered.vertexStart);
    EXPECT_EQ(taken.vertexCorners, gathered.vertexCorners);
    EXPECT_EQ(taken.vertexEdgeStart, gathered.vertexEdgeStart);
    EXPECT_EQ(taken.vertexEdges, gathered.vertexEdges);
    EXPECT_EQ(taken.vertexEdgeEnds, gathered.vertexEdgeEnds);
    EXPECT_EQ(taken.vertexRule, gathered.vertexRule);
}

// The numbering of the edges fixes where every edge point of the next level lies, so the
// topology taken from the parent must be the gathered one to the last entry, also where a face
// walks an edge twice (a face of two corners), two triangles share all three edges, or an
// edge has more than two faces.
TEST(RefinementSchemes, AChildsTopologyTakenFromItsParentIsTheOneGatheredFromIt) {
    const MeshSource quad = singleQuadMesh();
    const struct {
        const char* name;
        MeshSource mesh;
    } rows[] = {
        {"cube", cubeMesh()},
        {"prism", pentagonalPrismMesh()},
        {"grid", flatGridMesh(3, 2)},
        {"octahedron", octahedronMesh()},
        {"double cone", doubleConeMesh(5)},
        {"two cubes sharing an edge", twoCubesSharingAnEdgeMesh()},
        {"two tetrahedra sharing a vertex", twoTetrahedraSharingAVertexMesh()},
        {"two-cornered face and a triangle", {quad.positions, {{0, 1}, {0, 1, 2}}}},
        {"pillow", {quad.positions, {{0, 1, 2}, {0, 2, 1}}}},
    };
    for (const auto& row : rows) {
        for (const SchemeKind scheme : {SchemeKind::catmullClark, SchemeKind::loop}) {
            const OwnedModel base = buildModel(row.mesh, NormalSharing::none);
            FaceVertexArrays faces = faceVertexArraysOf(base.model);
            if (scheme == SchemeKind::loop && facesOtherThanTriangles(faces) > 0) continue;
            MeshTopology topology;
            buildMeshTopology(faces, topology);
            for (int n = 1; n <= 3; ++n) {
                SCOPED_TRACE(std::string(row.name) + " " + schemeName(scheme) + " level " +
                             std::to_string(n));
                FaceVertexArrays child;
                refineFaces(faces, topology, scheme, child);
                MeshTopology taken, gathered;
                buildChildTopology(faces, topology, scheme, child, taken);
                buildMeshTopology(child, gathered);
                expectSameTopology(taken, gathered);
                faces = std::move(child);
                topology = std::move(gathered);
            }
        }
    }
}

}  // namespace
