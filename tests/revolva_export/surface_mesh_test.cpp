// The meshes revolva-export writes, checked by their own topology and geometry: the sample
// curves and the start curve, with and without caps, at two densities, shown and round.
#include "surface_mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>

#include "curve_file.h"
#include "revolution_surface.h"
#include "surface_evaluation.h"

namespace {

GeneratrixCurve curveFromText(const std::string& text) {
    GeneratrixCurve curve;
    CurveFileError error;
    EXPECT_TRUE(readCurveText(text, curve, error)) << describeCurveError(error);
    return curve;
}

GeneratrixCurve sampleCurve(const std::string& name) {
    std::ifstream file(std::string(CURVES_DIR) + "/" + name + ".curve");
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_FALSE(text.str().empty()) << name;
    return curveFromText(text.str());
}

struct Topology {
    bool everyDirectedEdgeOnceAndPaired = true;
    long long edges = 0;
    double volume = 0.0;
    int degenerate = 0;
};

Topology topologyOf(const SurfaceMesh& mesh) {
    Topology t;
    std::map<std::pair<int, int>, int> directed;
    for (const MeshTriangle& f : mesh.triangles) {
        const Float3& a = mesh.vertices[f.vertex[0]];
        const Float3& b = mesh.vertices[f.vertex[1]];
        const Float3& c = mesh.vertices[f.vertex[2]];
        const double e[3] = {double(b.x) - a.x, double(b.y) - a.y, double(b.z) - a.z};
        const double g[3] = {double(c.x) - a.x, double(c.y) - a.y, double(c.z) - a.z};
        const double n[3] = {e[1] * g[2] - e[2] * g[1], e[2] * g[0] - e[0] * g[2],
                             e[0] * g[1] - e[1] * g[0]};
        if (n[0] == 0.0 && n[1] == 0.0 && n[2] == 0.0) ++t.degenerate;
        t.volume += (a.x * n[0] + a.y * n[1] + a.z * n[2]) / 6.0;
        for (int k = 0; k < 3; ++k) ++directed[{f.vertex[k], f.vertex[(k + 1) % 3]}];
    }
    for (const auto& [edge, uses] : directed) {
        const auto reverse = directed.find({edge.second, edge.first});
        if (uses != 1 || reverse == directed.end()) t.everyDirectedEdgeOnceAndPaired = false;
        t.edges += edge.first < edge.second || reverse == directed.end() ? 1 : 0;
    }
    return t;
}

// Every vertex of a sample is that sample's surfacePoint in single precision, bit for bit.
void expectVerticesAreSurfacePoints(const SurfaceMesh& mesh, const GeneratrixCurve& curve,
                                    const MeshSettings& settings) {
    RevolutionSurface surface = emptyRevolutionSurface();
    surface.source = &curve;
    settings.round ? rebuildRoundSurface(surface) : rebuildSurface(surface);
    for (int i = 0; i + 1 < settings.turnSamples; ++i) {
        const double u = static_cast<double>(i) / (settings.turnSamples - 1) * 4.0;
        for (int j = 0; j < settings.curveSamples; ++j) {
            const std::int32_t index = mesh.sampleVertex[i * settings.curveSamples + j];
            ASSERT_GE(index, 0) << i << ", " << j;
            double weightSum;
            const Point3d p =
                surfacePoint(surface, u, double(j) / (settings.curveSamples - 1), weightSum);
            const Float3& v = mesh.vertices[index];
            EXPECT_TRUE(v.x == float(p.x) && v.y == float(p.y) && v.z == float(p.z))
                << "sample " << i << ", " << j;
        }
    }
}

TEST(SurfaceMesh, SampleCurvesGiveClosedOutwardSolidsMadeOfTheDrawnSamples) {
    struct Row {
        const char* curve;
        int eulerCharacteristic;  // 2 for a sphere's topology, 0 for a ring's
    };
    const Row rows[] = {{"vase", 2}, {"goblet", 2}, {"bowl", 2}, {"ring", 0}};
    const std::pair<int, int> densities[] = {{10, 10}, {33, 24}};  // turn, curve samples
    for (const Row& row : rows) {
        const GeneratrixCurve curve = sampleCurve(row.curve);
        for (const auto& [turn, along] : densities) {
            for (const bool caps : {false, true}) {
                for (const bool round : {false, true}) {
                    const MeshSettings settings{along, turn, round, caps};
                    SCOPED_TRACE(std::string(row.curve) + (caps ? " caps" : "") +
                                 (round ? " round" : "") + " at " + std::to_string(turn) + " x " +
                                 std::to_string(along));
                    const SurfaceMesh mesh = buildSurfaceMesh(curve, settings);
                    const Topology t = topologyOf(mesh);
                    EXPECT_TRUE(t.everyDirectedEdgeOnceAndPaired);
                    EXPECT_TRUE(mesh.summary.closed) << mesh.summary.openReason;
                    EXPECT_EQ(static_cast<long long>(mesh.vertices.size()) - t.edges +
                                  static_cast<long long>(mesh.triangles.size()),
                              row.eulerCharacteristic);
                    EXPECT_GT(t.volume, 0.0);
                    EXPECT_NEAR(mesh.summary.volume, t.volume, 1e-12);
                    EXPECT_EQ(t.degenerate, 0);
                    EXPECT_EQ(mesh.leftOutTriangles, 0);
                    expectVerticesAreSurfacePoints(mesh, curve, settings);
                }
            }
        }
    }
}

TEST(SurfaceMesh, PolesAreOneVertexWithAnOutwardNormalAlongTheAxis) {
    const GeneratrixCurve curve = sampleCurve("vase");  // from the axis at z = 0 to z = 0.98
    const SurfaceMesh mesh = buildSurfaceMesh(curve, {});
    EXPECT_EQ(mesh.poles, 2);
    const int columns = 9, samples = 10;
    EXPECT_EQ(mesh.vertices.size(), std::size_t(columns * (samples - 2) + 2));
    for (const int j : {0, samples - 1}) {
        const std::int32_t pole = mesh.sampleVertex[j];
        for (int i = 1; i < columns; ++i) EXPECT_EQ(mesh.sampleVertex[i * samples + j], pole);
        for (const MeshTriangle& t : mesh.triangles) {
            for (int k = 0; k < 3; ++k) {
                if (t.vertex[k] != pole) continue;
                const Float3& n = mesh.normals[t.normal[k]];
                EXPECT_EQ(n.x, 0.0f);
                EXPECT_EQ(n.y, 0.0f);
                EXPECT_EQ(n.z, j == 0 ? -1.0f : 1.0f);
            }
        }
    }
}

TEST(SurfaceMesh, EndsOffTheAxisCloseOnlyWithCaps) {
    const GeneratrixCurve start = curveFromText("0.2 0.2 1\n0.8 0.8 1\n");
    const SurfaceMesh open = buildSurfaceMesh(start, {});
    EXPECT_FALSE(open.summary.closed);
    EXPECT_NE(open.summary.openReason.find("--caps"), std::string::npos);
    EXPECT_EQ(open.vertices.size(), 90u);  // the closing band reuses column 0
    EXPECT_EQ(open.triangles.size(), 162u);
    const SurfaceMesh capped = buildSurfaceMesh(start, {10, 10, false, true});
    const Topology t = topologyOf(capped);
    EXPECT_TRUE(capped.summary.closed);
    EXPECT_TRUE(t.everyDirectedEdgeOnceAndPaired);
    EXPECT_EQ(92 - t.edges + 180, 2);
    EXPECT_EQ(capped.triangles.size(), 180u);
    EXPECT_GT(t.volume, 0.0);
}

TEST(SurfaceMesh, ChangeOfWeightSignIsCutAsDrawnAndNeverClosed) {
    // Weight sums negative for curve samples 2 to 7: bands of samples 0-1, 2-7, 8-9.
    const GeneratrixCurve curve = curveFromText("0 0.1 1\n0.5 0.5 -3\n0 0.9 1\n");
    for (const bool caps : {false, true}) {
        const SurfaceMesh mesh = buildSurfaceMesh(curve, {10, 10, false, caps});
        EXPECT_EQ(mesh.cuts, 2);
        EXPECT_FALSE(mesh.summary.closed);
        EXPECT_NE(mesh.summary.openReason.find("weight sum changes sign"), std::string::npos);
        EXPECT_EQ(mesh.triangles.size(), std::size_t(9 * 2 * (1 + 5 + 1) - 2 * 9));
    }
}

TEST(SurfaceMesh, ClosedOnlyWhenTheProfileBoundsASolidAndOtherwiseSaysWhy) {
    struct Row {
        const char* name;
        const char* curve;
        bool caps;
        const char* reason;       // when open: a part of the reason; null when closed
        int eulerCharacteristic;  // when closed
    };
    const Row rows[] = {
        // Its negative weight pulls the middle across the axis: the caps' solid would pass
        // through itself.
        {"across", "0.1 0 1\n0.5 0.5 -0.3\n0.1 1 1\n", true,
         "the curve crosses the axis near t = 0.28", 0},
        // The weight sum (1 - 2t)^2 touches zero between two samples without changing sign.
        {"touching", "0.2 0.2 1\n0.5 0.5 -1\n0.8 0.4 1\n", true,
         "the weight sum is zero near t = 0.50", 0},
        // Both ends at one height: two discs would overlap, one band makes a ring.
        {"trough", "0.3 0.5 1\n0.3 0 1\n0.7 0 1\n0.7 0.5 1\n", true, nullptr, 0},
        {"trough open", "0.3 0.5 1\n0.3 0 1\n0.7 0 1\n0.7 0.5 1\n", false,
         "--caps closes them with a band joining them", 0},
        // The control polygon's crossing gives the curve a loop.
        {"loop", "0 0 1\n0.9 1.3 1\n0.9 -0.3 1\n0.1 1 1\n", true,
         "the curve crosses itself near t = 0.2", 0},
        {"cone on its base", "0 1 1\n0.5 0 1\n", true, nullptr, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const GeneratrixCurve curve = curveFromText(row.curve);
        const SurfaceMesh mesh = buildSurfaceMesh(curve, {10, 10, false, row.caps});
        const Topology t = topologyOf(mesh);
        if (row.reason == nullptr) {
            EXPECT_TRUE(mesh.summary.closed) << mesh.summary.openReason;
            EXPECT_TRUE(t.everyDirectedEdgeOnceAndPaired);
            EXPECT_EQ(static_cast<long long>(mesh.vertices.size()) - t.edges +
                          static_cast<long long>(mesh.triangles.size()),
                      row.eulerCharacteristic);
            EXPECT_NEAR(mesh.summary.volume, t.volume, 1e-12);
            EXPECT_GT(t.volume, 0.0);
        } else {
            EXPECT_FALSE(mesh.summary.closed);
            EXPECT_NE(mesh.summary.openReason.find(row.reason), std::string::npos)
                << mesh.summary.openReason;
            EXPECT_EQ(mesh.triangles.size(), buildSurfaceMesh(curve, {}).triangles.size())
                << "no cap or band added";
        }
    }
}

TEST(SurfaceMesh, ASolidOnItsTipIsToldAndFlipsOntoItsBase) {
    const GeneratrixCurve cone = curveFromText("0 0 1\n0.5 1 1\n");
    const SurfaceMesh onTip = buildSurfaceMesh(cone, {10, 10, false, true});
    EXPECT_TRUE(onTip.summary.closed);
    EXPECT_NEAR(onTip.summary.riseAboveLowestPoint, 1.0 / 9.0, 1e-6);
    MeshSettings flip{10, 10, false, true};
    flip.flip = true;
    const SurfaceMesh onBase = buildSurfaceMesh(cone, flip);
    EXPECT_TRUE(onBase.summary.closed);
    EXPECT_EQ(onBase.summary.riseAboveLowestPoint, 0.0);
    EXPECT_EQ(onBase.summary.volume, onTip.summary.volume);
    EXPECT_EQ(topologyOf(onBase).volume, topologyOf(onTip).volume);
    for (std::size_t k = 0; k < onTip.vertices.size(); ++k) {
        EXPECT_EQ(onBase.vertices[k].x, onTip.vertices[k].x);
        EXPECT_EQ(onBase.vertices[k].z, -onTip.vertices[k].z);
    }
}

}  // namespace
