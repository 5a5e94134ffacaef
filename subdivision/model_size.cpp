// Model sizes and the memory budget of subdivision levels.
#include "model_size.h"

#include <algorithm>
#include <limits>

#include <unistd.h>

namespace {

// Counts are held below this, far above any real model, so that bounds stay exact integers.
constexpr std::int64_t saturatedCount = std::int64_t{1} << 52;

std::int64_t saturated(std::int64_t count) { return std::min(count, saturatedCount); }

constexpr std::uint64_t gibibyte = std::uint64_t{1} << 30;

}  // namespace

std::int64_t indexListHeapBytes(std::int64_t entries) {
    if (entries <= 0) return 0;
    const std::int64_t chunk = (entries * 4 + 8 + 15) / 16 * 16;
    return std::max<std::int64_t>(chunk, 32);
}

ModelSize measureModel(const ObjModel& model) {
    ModelSize size = {model.numVertices, model.numTexCoords, model.numNormals, model.numFaces,
                      0, 0, 1 + (model.hasNormals != 0) + (model.hasTexCoords != 0)};
    for (std::int32_t f = 0; f < model.numFaces && model.faces != nullptr; ++f) {
        const std::int32_t n = model.faces[f].numVertices;
        size.corners += std::max(n, 0);
        size.indexListBytes += indexListHeapBytes(n);
    }
    return size;
}

std::uint64_t modelBytes(const ModelSize& size) {
    return static_cast<std::uint64_t>(size.vertices) * sizeof(Vec4f) +
           static_cast<std::uint64_t>(size.texCoords + size.normals) * sizeof(Vec3f) +
           static_cast<std::uint64_t>(size.faces) * sizeof(ObjFace) +
           static_cast<std::uint64_t>(size.indexListBytes) * size.indexLists;
}

std::uint64_t stepScratchBytes(const ModelSize& input) {
    // Per corner: its face, its vertex, its place among its vertex's corners, its edge partner
    // and the corner after that;
    // per face its first corner (and its geometric normal without normals); per vertex its run
    // start, boundary flag and last normal index.
    const std::uint64_t corners = static_cast<std::uint64_t>(input.corners);
    const std::uint64_t faces = static_cast<std::uint64_t>(input.faces);
    const std::uint64_t vertices = static_cast<std::uint64_t>(input.vertices);
    const std::uint64_t faceNormals = input.normals == 0 ? faces * sizeof(Vec3f) : 0;
    return 20 * corners + 4 * (faces + 1) + 9 * (vertices + 1) + faceNormals;
}

ModelSize boundNextLevel(const ModelSize& refined) {
    // A new vertex per corner; at most one V-face per vertex, of at most 4 corners; at most
    // one E-face per two corners, since an interior edge is walked at least twice.
    const std::int64_t corners = refined.corners;
    const std::int64_t interiorEdges = corners / 2;
    const bool withNormals = refined.normals > 0;
    ModelSize next;
    next.vertices = corners;
    next.texCoords = 0;
    next.normals = withNormals ? corners : 0;
    next.faces = saturated(refined.faces + refined.vertices + interiorEdges);
    next.corners = saturated(corners + corners + 4 * interiorEdges);
    next.indexListBytes = saturated(refined.indexListBytes +
                                    indexListHeapBytes(4) * (refined.vertices + interiorEdges));
    next.indexLists = withNormals ? 2 : 1;
    return next;
}

bool fitsRecordCounts(const ModelSize& size) {
    const std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    return size.vertices <= limit && size.texCoords <= limit && size.normals <= limit &&
           size.faces <= limit;
}

std::uint64_t memoryBudgetBytes() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return 2 * gibibyte;
    const std::uint64_t physical = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
    return std::min(physical / 2, 16 * gibibyte);
}
