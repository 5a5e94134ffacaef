// The forecast follows the counts level by level (refinedCounts) from the base's measured
// edges, so it is exact for every mesh whose faces walk no edge twice; its peak is the largest
// step (the mesh below, its topology, the mesh made and, before the last step, its topology) or
// the making of the last record.
#include "scheme_levels.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <new>
#include <string>
#include <utility>

#include "mesh_topology.h"
#include "model_size.h"

namespace {

constexpr double mebibyte = 1024.0 * 1024.0;

// The counts of the positions' mesh and of the texture coordinates' own mesh.
struct LevelCounts {
    MeshCounts mesh;
    MeshCounts texture;  // all zero without texture coordinates
};

MeshCounts measuredCounts(const FaceVertexArrays& faces) {
    MeshTopology topology;
    buildMeshTopology(faces, topology);
    return {faces.numVertices, topology.numEdges, faceCount(faces),
            std::int64_t(faces.cornerVertex.size())};
}

LevelCounts baseCounts(const RefinedMesh& base) {
    LevelCounts counts{measuredCounts(base.faces), {}};
    if (!base.texCoords.empty()) counts.texture = measuredCounts(base.texCoordFaces);
    return counts;
}

LevelCounts nextCounts(SchemeKind scheme, const LevelCounts& counts) {
    LevelCounts next{refinedCounts(scheme, counts.mesh), {}};
    if (counts.texture.vertices > 0) next.texture = refinedCounts(scheme, counts.texture);
    return next;
}

std::uint64_t meshBytes(const LevelCounts& counts) {
    return refinedMeshBytes(counts.mesh, counts.texture.vertices);
}

std::uint64_t topologyBytes(const LevelCounts& counts) {
    const MeshCounts& m = counts.mesh;
    const MeshCounts& t = counts.texture;
    return meshTopologyBytes(m.vertices, m.edges, m.corners) +
           (t.vertices > 0 ? meshTopologyBytes(t.vertices, t.edges, t.corners) : 0);
}

std::uint64_t recordBytes(SchemeKind scheme, const LevelCounts& counts) {
    const bool withTexCoords = counts.texture.vertices > 0;
    const std::int64_t cornersPerFace = scheme == SchemeKind::loop ? 3 : 4;
    const ModelSize size = {counts.mesh.vertices,
                            counts.texture.vertices,
                            0,
                            counts.mesh.faces,
                            counts.mesh.corners,
                            counts.mesh.faces * indexListHeapBytes(cornersPerFace),
                            withTexCoords ? 2 : 1};
    return modelBytes(size);
}

bool countsFit(const LevelCounts& counts) {
    const std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    return counts.mesh.vertices <= limit && counts.mesh.corners <= limit &&
           counts.texture.vertices <= limit;
}

struct Forecast {
    bool countsFit = true;
    std::uint64_t peakBytes = 0;
};

Forecast forecastLevels(const ObjModel& base, const RefinedMesh& mesh, SchemeKind scheme,
                        int level) {
    const std::uint64_t held = modelBytes(measureModel(base));
    LevelCounts counts = baseCounts(mesh);
    Forecast forecast;
    for (int step = 1; step <= level; ++step) {
        const LevelCounts next = nextCounts(scheme, counts);
        if (!countsFit(next)) return {false, 0};
        // A step before the last keeps the topology of the mesh it made for the next one.
        const std::uint64_t stepBytes = meshBytes(counts) + topologyBytes(counts) +
                                        meshBytes(next) + (step < level ? topologyBytes(next) : 0);
        forecast.peakBytes = std::max(forecast.peakBytes, held + stepBytes);
        counts = next;
    }
    const std::uint64_t last = held + meshBytes(counts) + recordBytes(scheme, counts);
    forecast.peakBytes = std::max(forecast.peakBytes, last);
    return forecast;
}

void refuse(int level, const std::string& reason) {
    std::fprintf(stderr, "Subdivision level %d not built: %s.\n", level, reason.c_str());
}

void refuseOverBudget(int level, std::uint64_t neededBytes, std::uint64_t budgetBytes) {
    std::fprintf(stderr,
                 "Subdivision level %d not built: it needs %.0f MiB, more than the memory budget "
                 "of %.0f MiB.\n",
                 level, double(neededBytes) / mebibyte, double(budgetBytes) / mebibyte);
}

const char* const tooLarge = "its model would have more than 2147483647 vertices or faces";

// Checks the base and the forecast; prints why and returns false when the level is refused.
bool acceptLevel(const ObjModel& base, RefinedMesh& mesh, SchemeKind scheme, int level,
                 bool withTexCoords, std::uint64_t budgetBytes) {
    const MeshResult made = meshFromModel(base, mesh);
    if (made == MeshResult::invalidModel) {
        refuse(level, "the model has a face whose indices lie outside its arrays");
        return false;
    }
    if (made == MeshResult::tooManyCorners) {
        refuse(level, tooLarge);
        return false;
    }
    if (!withTexCoords) {
        mesh.texCoords.clear();
        mesh.texCoordFaces = FaceVertexArrays{};
    }
    const std::int64_t others =
        scheme == SchemeKind::loop ? facesOtherThanTriangles(mesh.faces) : 0;
    if (others > 0) {
        refuse(level, "Loop subdivision takes triangles only, and the model has " +
                          std::to_string(others) + (others == 1 ? " face" : " faces") +
                          " of other sizes");
        return false;
    }
    const Forecast forecast = forecastLevels(base, mesh, scheme, level);
    if (!forecast.countsFit) {
        refuse(level, tooLarge);
        return false;
    }
    if (forecast.peakBytes > budgetBytes) {
        refuseOverBudget(level, forecast.peakBytes, budgetBytes);
        return false;
    }
    return true;
}

void refineLevels(RefinedMesh& mesh, SchemeKind scheme, int level, const LevelRequest& request) {
    const LevelProgress progress = request.progress;
    MeshTopologies topologies;
    for (int step = 1; step <= level; ++step) {
        RefinedMesh child;
        refineMeshKeepingTopology(mesh, scheme, topologies, step < level, child, request.threads);
        mesh = std::move(child);
        if (progress == nullptr) continue;
        const std::vector<FaceKindRange> kinds = refinedFaceKinds(scheme, faceCount(mesh.faces));
        BuiltStep told;
        told.step = step;
        told.level = level;
        told.scheme = scheme;
        told.kinds = &kinds;
        told.mesh = &mesh;
        progress(told);
    }
}

// Level 1 refills the shown record, higher levels replace it.
bool installLevel(const RefinedMesh& mesh, SchemeKind scheme, int level, int threads,
                  ObjModel*& subdivided) {
    ObjModel* made = level == 1 ? subdivided : new ObjModel{};
    if (!modelFromMesh(mesh, refinedFaceKinds(scheme, faceCount(mesh.faces)), *made, threads)) {
        freeModelArrays(made);
        *made = ObjModel{};
        if (made != subdivided) delete made;
        return false;
    }
    if (made != subdivided) {
        delete subdivided;
        subdivided = made;
    }
    return true;
}

}  // namespace

// The core's arrays are standard containers: std::bad_alloc is caught here, at the edge of
// the rebuild, and reported as memory running out.
bool applySchemeLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                      const LevelRequest& request) {
    if (level <= 0) return true;
    const SchemeKind scheme = request.scheme;
    bool built = false;
    try {
        RefinedMesh mesh;
        if (!acceptLevel(base, mesh, scheme, level, request.texCoords, request.budgetBytes)) {
            return false;
        }
        freeModelArrays(subdivided);
        *subdivided = ObjModel{};
        refineLevels(mesh, scheme, level, request);
        built = installLevel(mesh, scheme, level, request.threads, subdivided);
    } catch (const std::bad_alloc&) {
        built = false;
    }
    if (!built) {
        freeModelArrays(subdivided);
        *subdivided = ObjModel{};
        refuse(level, "out of memory");
    }
    return built;
}
