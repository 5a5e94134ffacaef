// The mesh is built on the sample grid of the surface drawing: column i at the turning
// parameter of drawing column i, sample j at the drawing's curve parameter j, and the band from
// the last column back to column 0 closing the turn. Triangles are those of the drawing's strips
// (each pair of samples k, k + 1 of two neighbouring columns gives two), without the ones that
// collapse on the axis.
#include "surface_mesh.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

#include "face_normal_formulas.h"
#include "revolution_surface.h"
#include "solid_profile.h"
#include "surface_evaluation.h"
#include "surface_tessellation.h"
#include "weight_sum_zero.h"

namespace {

struct Sample {
    Point3d point;
    double weightSum = 0.0;
    Point3d normal;
};

// The samples of the surface, column by column: the drawing's parameters, surfacePoint and
// surfaceNormal.
std::vector<Sample> sampleGrid(const RevolutionSurface& surface, int columns, int rows,
                               int turnSamples) {
    std::vector<Sample> grid(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
    for (int i = 0; i < columns; ++i) {
        const double u = columnParameter(i, turnSamples, surfacePatchCount);
        for (int j = 0; j < rows; ++j) {
            const double v = sampleParameter(j, rows);
            Sample& sample = grid[static_cast<std::size_t>(i) * rows + j];
            sample.point = surfacePoint(surface, u, v, sample.weightSum);
            sample.normal = surfaceNormal(surface, u, v);
        }
    }
    return grid;
}

// Saturating: a coordinate beyond the float range becomes an infinity (see singlePrecision).
Float3 toSinglePrecision(const Point3d& p) {
    return {singlePrecision(p.x), singlePrecision(p.y), singlePrecision(p.z)};
}

bool sameFloat(const Float3& a, const Float3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

bool isFinite(const Float3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

struct MeshBuilder {
    SurfaceMesh mesh;
    int columns = 0;
    int rows = 0;
    std::vector<bool> axisNormal;  // per normal: that of a pole, to be set along the axis

    std::int32_t vertexOf(int i, int j) const {
        return mesh.sampleVertex[static_cast<std::size_t>(i) * rows + j];
    }

    // Adds the triangle when its corners are finite and span an area; counts it otherwise.
    void addTriangle(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t na,
                     std::int32_t nb, std::int32_t nc) {
        const Float3& p = mesh.vertices[a];
        const Float3& q = mesh.vertices[b];
        const Float3& r = mesh.vertices[c];
        const Point3d n = crossOfCornersInDouble(p, q, r);
        const bool spans = n.x != 0.0 || n.y != 0.0 || n.z != 0.0;
        if (a == b || b == c || a == c) return;  // two corners on one pole: nothing to draw
        if (!isFinite(p) || !isFinite(q) || !isFinite(r) || !spans ||
            !std::isfinite(n.x + n.y + n.z)) {
            ++mesh.leftOutTriangles;
            return;
        }
        mesh.triangles.push_back({{a, b, c}, {na, nb, nc}});
    }
    void addTriangle(std::int32_t a, std::int32_t b, std::int32_t c) {
        addTriangle(a, b, c, a, b, c);
    }
};

// One vertex per distinct sample: a curve sample on the axis is one pole vertex for every
// column, and the last curve sample of a closed profile is the first. Each vertex's normal is
// the sample's, turned to the side its triangles face where the weight sum is negative.
void makeVertices(MeshBuilder& b, const std::vector<Sample>& grid, bool& closedProfile) {
    const int rows = b.rows, columns = b.columns;
    std::vector<bool> pole(static_cast<std::size_t>(rows));
    for (int j = 0; j < rows; ++j) {
        const Float3 p = toSinglePrecision(grid[static_cast<std::size_t>(j)].point);
        pole[j] = p.x == 0.0f && p.y == 0.0f && std::isfinite(p.z);
        if (pole[j]) ++b.mesh.poles;
    }
    closedProfile = rows > 2 && !pole[0];
    for (int i = 0; i < columns && closedProfile; ++i) {
        const std::size_t column = static_cast<std::size_t>(i) * rows;
        closedProfile = sameFloat(toSinglePrecision(grid[column].point),
                                  toSinglePrecision(grid[column + rows - 1].point));
    }
    b.mesh.sampleVertex.assign(grid.size(), -1);
    for (int i = 0; i < columns; ++i) {
        for (int j = 0; j < rows; ++j) {
            std::int32_t& index = b.mesh.sampleVertex[static_cast<std::size_t>(i) * rows + j];
            if (pole[j] && i > 0) {
                index = b.vertexOf(0, j);
            } else if (closedProfile && j == rows - 1) {
                index = b.vertexOf(i, 0);
            } else {
                const Sample& sample = grid[static_cast<std::size_t>(i) * rows + j];
                const double side = sample.weightSum < 0.0 ? -1.0 : 1.0;
                index = static_cast<std::int32_t>(b.mesh.vertices.size());
                b.mesh.vertices.push_back(toSinglePrecision(sample.point));
                b.mesh.normals.push_back(toSinglePrecision({side * sample.normal.x,
                                                            side * sample.normal.y,
                                                            side * sample.normal.z}));
                b.axisNormal.push_back(pole[j]);
            }
        }
    }
}

// The drawing's strips as triangles: band from column a to column c, cut where the weight
// sums of column c change sign.
void makeBands(MeshBuilder& b, const std::vector<Sample>& grid) {
    const int rows = b.rows, columns = b.columns;
    for (int a = 0; a < columns; ++a) {
        const int c = (a + 1) % columns;
        for (int k = 0; k + 1 < rows; ++k) {
            const double w0 = grid[static_cast<std::size_t>(c) * rows + k].weightSum;
            const double w1 = grid[static_cast<std::size_t>(c) * rows + k + 1].weightSum;
            if (weightSumsDifferInSign(w0, w1)) {
                if (a == 0) ++b.mesh.cuts;
                continue;
            }
            b.addTriangle(b.vertexOf(a, k), b.vertexOf(c, k), b.vertexOf(a, k + 1));
            b.addTriangle(b.vertexOf(a, k + 1), b.vertexOf(c, k), b.vertexOf(c, k + 1));
        }
    }
}

// A flat disc on the ring of curve sample j, fanned from a centre on the axis, wound against
// the band beside it so that the two share their edges in opposite directions.
void makeCap(MeshBuilder& b, int j, bool atStart) {
    const Float3 ring = b.mesh.vertices[b.vertexOf(0, j)];
    if (!isFinite(ring) || (ring.x == 0.0f && ring.y == 0.0f)) return;
    const auto center = static_cast<std::int32_t>(b.mesh.vertices.size());
    b.mesh.vertices.push_back({0.0f, 0.0f, ring.z});
    const auto normal = static_cast<std::int32_t>(b.mesh.normals.size());
    b.mesh.normals.push_back({0.0f, 0.0f, atStart ? -1.0f : 1.0f});
    b.axisNormal.push_back(false);
    for (int a = 0; a < b.columns; ++a) {
        const std::int32_t p = b.vertexOf(a, j), q = b.vertexOf((a + 1) % b.columns, j);
        if (atStart)
            b.addTriangle(center, q, p, normal, normal, normal);
        else
            b.addTriangle(center, p, q, normal, normal, normal);
    }
}

// One band from the ring of the last curve sample to that of the first, wound as if the curve
// went on straight from its end to its start; its normals are left to be completed from its
// own faces, so that it is shaded flat across.
void makeClosingBand(MeshBuilder& b) {
    const int last = b.rows - 1;
    const auto addNormals = [&b] {
        std::vector<std::int32_t> ring(static_cast<std::size_t>(b.columns));
        for (std::int32_t& normal : ring) {
            normal = static_cast<std::int32_t>(b.mesh.normals.size());
            b.mesh.normals.push_back({0.0f, 0.0f, 0.0f});
            b.axisNormal.push_back(false);
        }
        return ring;
    };
    const std::vector<std::int32_t> lastNormal = addNormals(), firstNormal = addNormals();
    for (int a = 0; a < b.columns; ++a) {
        const int c = (a + 1) % b.columns;
        b.addTriangle(b.vertexOf(a, last), b.vertexOf(c, last), b.vertexOf(a, 0), lastNormal[a],
                      lastNormal[c], firstNormal[a]);
        b.addTriangle(b.vertexOf(a, 0), b.vertexOf(c, last), b.vertexOf(c, 0), firstNormal[a],
                      lastNormal[c], firstNormal[c]);
    }
}

// The profile as written: the curve samples of column 0, which lies in the x-z plane.
std::vector<ProfilePoint> writtenProfile(const MeshBuilder& b) {
    std::vector<ProfilePoint> profile(static_cast<std::size_t>(b.rows));
    for (int j = 0; j < b.rows; ++j) {
        const Float3& p = b.mesh.vertices[b.vertexOf(0, j)];
        profile[j] = {p.x, p.z};
    }
    return profile;
}

// Drops the vertices and normals no triangle uses, keeping the order of the rest.
void dropUnused(SurfaceMesh& mesh) {
    std::vector<std::int32_t> vertexMap(mesh.vertices.size(), -1);
    std::vector<std::int32_t> normalMap(mesh.normals.size(), -1);
    for (const MeshTriangle& t : mesh.triangles) {
        for (int k = 0; k < 3; ++k) {
            vertexMap[t.vertex[k]] = 0;
            normalMap[t.normal[k]] = 0;
        }
    }
    const auto compact = [](std::vector<Float3>& items, std::vector<std::int32_t>& map) {
        std::size_t kept = 0;
        for (std::size_t n = 0; n < items.size(); ++n) {
            if (map[n] < 0) continue;
            map[n] = static_cast<std::int32_t>(kept);
            items[kept++] = items[n];
        }
        items.resize(kept);
    };
    compact(mesh.vertices, vertexMap);
    compact(mesh.normals, normalMap);
    for (MeshTriangle& t : mesh.triangles) {
        for (int k = 0; k < 3; ++k) {
            t.vertex[k] = vertexMap[t.vertex[k]];
            t.normal[k] = normalMap[t.normal[k]];
        }
    }
    for (std::int32_t& index : mesh.sampleVertex) {
        if (index >= 0) index = vertexMap[index];
    }
}

double signedVolume(const SurfaceMesh& mesh) {
    double sixfold = 0.0;
    for (const MeshTriangle& t : mesh.triangles) {
        const Float3& a = mesh.vertices[t.vertex[0]];
        const Point3d n =
            crossOfCornersInDouble(a, mesh.vertices[t.vertex[1]], mesh.vertices[t.vertex[2]]);
        sixfold += dot(toDouble(a), n);
    }
    return sixfold / 6.0;
}

// Counts the edges and tells whether every edge joins exactly two triangles that use it in
// opposite directions.
bool edgesClose(const SurfaceMesh& mesh, std::int64_t& edges) {
    const auto key = [](std::uint32_t from, std::uint32_t to) {
        return std::uint64_t{from} << 32 | to;
    };
    std::unordered_map<std::uint64_t, int> directed;
    directed.reserve(mesh.triangles.size() * 3);
    for (const MeshTriangle& t : mesh.triangles) {
        for (int k = 0; k < 3; ++k) {
            ++directed[key(std::uint32_t(t.vertex[k]), std::uint32_t(t.vertex[(k + 1) % 3]))];
        }
    }
    bool closes = true;
    edges = 0;
    for (const auto& [edge, uses] : directed) {
        const auto from = std::uint32_t(edge >> 32), to = std::uint32_t(edge);
        const auto reverse = directed.find(key(to, from));
        const bool paired = reverse != directed.end() && reverse->second == 1;
        closes = closes && uses == 1 && paired;
        edges += paired && from > to ? 0 : 1;
    }
    return closes;
}

void flipOrientation(SurfaceMesh& mesh) {
    for (MeshTriangle& t : mesh.triangles) {
        std::swap(t.vertex[1], t.vertex[2]);
        std::swap(t.normal[1], t.normal[2]);
    }
    for (Float3& n : mesh.normals) n = {-n.x, -n.y, -n.z};
}

// Normals that surfaceNormal could not give (on the axis, where it is left unnormalised, or at
// any other point where the surface degenerates): the area-weighted mean of the faces around
// the vertex; on the axis, along the axis towards the side those faces face.
void completeNormals(SurfaceMesh& mesh, const std::vector<bool>& onAxis) {
    std::vector<Point3d> sums(mesh.normals.size());
    for (const MeshTriangle& t : mesh.triangles) {
        const Point3d n =
            crossOfCornersInDouble(mesh.vertices[t.vertex[0]], mesh.vertices[t.vertex[1]],
                                   mesh.vertices[t.vertex[2]]);
        for (const std::int32_t k : t.normal) sums[k] = sums[k] + n;
    }
    for (std::size_t k = 0; k < mesh.normals.size(); ++k) {
        Float3& n = mesh.normals[k];
        if (!onAxis[k] && length(toDouble(n)) > 0.5) continue;
        const Point3d& s = sums[k];
        if (onAxis[k]) {
            n = {0.0f, 0.0f, s.z < 0.0 ? -1.0f : 1.0f};
            continue;
        }
        Point3d unit = s;
        if (scaleToUnitIfPositive(unit)) n = toSinglePrecision(unit);
    }
}

// Half a turn about the x axis, exact in single precision: a proper rotation, so the triangles
// keep their winding. Zeros stay positive.
void turnUpsideDown(SurfaceMesh& mesh) {
    for (Float3& p : mesh.vertices) p = {p.x, 0.0f - p.y, 0.0f - p.z};
    for (Float3& n : mesh.normals) n = {n.x, 0.0f - n.y, 0.0f - n.z};
}

// When one vertex alone is lowest: how far above it the next lowest vertices lie; else 0.
double riseAboveLowestPoint(const SurfaceMesh& mesh) {
    float lowest = mesh.vertices.front().z;
    for (const Float3& p : mesh.vertices) lowest = std::min(lowest, p.z);
    int atLowest = 0;
    float next = lowest;
    for (const Float3& p : mesh.vertices) {
        if (p.z == lowest) ++atLowest;
        if (p.z > lowest && (next == lowest || p.z < next)) next = p.z;
    }
    return atLowest == 1 ? double(next) - double(lowest) : 0.0;
}

std::string openReason(const SurfaceMesh& mesh, const WeightSumZero& zero,
                       const ProfileVerdict& verdict) {
    if (mesh.cuts > 0) {
        return "the weight sum changes sign along the curve, where the surface runs off to "
               "infinity; the surface is cut there as Revolva draws it, so it encloses no solid";
    }
    if (zero.found) {
        return "the weight sum is zero " + nearParameter(zero.near) +
               ", where the curve runs off to infinity";
    }
    if (!verdict.solid) return verdict.reason;
    return "some edges do not join exactly two triangles (the surface passes through itself, "
           "or degenerate triangles were left out)";
}

}  // namespace

SurfaceMesh buildSurfaceMesh(const GeneratrixCurve& curve, const MeshSettings& settings) {
    RevolutionSurface surface = emptyRevolutionSurface();
    surface.source = &curve;
    if (settings.round)
        rebuildRoundSurface(surface);
    else
        rebuildSurface(surface);

    MeshBuilder b;
    b.columns = settings.turnSamples - 1;
    b.rows = settings.curveSamples;
    const std::vector<Sample> grid = sampleGrid(surface, b.columns, b.rows, settings.turnSamples);
    bool closedProfile = false;
    makeVertices(b, grid, closedProfile);
    makeBands(b, grid);
    const WeightSumZero zero = findWeightSumZero(curve.weights);
    const ProfileVerdict verdict = judgeProfile(writtenProfile(b), closedProfile, settings.caps);
    const bool solid = b.mesh.cuts == 0 && !zero.found && verdict.solid;
    if (solid && verdict.closing == ProfileClosing::discs) {
        makeCap(b, 0, true);
        makeCap(b, b.rows - 1, false);
    } else if (solid && verdict.closing == ProfileClosing::band) {
        makeClosingBand(b);
    }
    SurfaceMesh& mesh = b.mesh;
    completeNormals(mesh, b.axisNormal);
    dropUnused(mesh);

    MeshSummary& summary = mesh.summary;
    summary.closed = edgesClose(mesh, summary.edges) && !mesh.triangles.empty() && solid;
    if (summary.closed) {
        summary.volume = signedVolume(mesh);
        if (summary.volume < 0.0) {
            flipOrientation(mesh);
            summary.volume = -summary.volume;
        }
    } else {
        summary.openReason = openReason(mesh, zero, verdict);
    }
    if (settings.flip) turnUpsideDown(mesh);
    if (summary.closed) summary.riseAboveLowestPoint = riseAboveLowestPoint(mesh);
    return mesh;
}
