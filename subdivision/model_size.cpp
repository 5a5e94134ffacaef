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

// The allocator's ways (glibc): a header before every block, blocks in steps of a granule,
// and a least block.
constexpr std::int64_t mallocHeaderBytes = 8;
constexpr std::int64_t mallocGranuleBytes = 16;
constexpr std::int64_t mallocLeastBlockBytes = 32;

// The most faces a vertex of a Doo-Sabin refinement lies on: its F-face, the V-face of its
// old vertex and the E-faces of the two edges of its corner.
constexpr std::int64_t dooSabinValenceLimit = 4;

}  // namespace

std::int64_t indexListHeapBytes(std::int64_t entries) {
    if (entries <= 0) return 0;
    const std::int64_t request = entries * std::int64_t{sizeof(std::int32_t)} + mallocHeaderBytes;
    const std::int64_t block =
        (request + mallocGranuleBytes - 1) / mallocGranuleBytes * mallocGranuleBytes;
    return std::max(block, mallocLeastBlockBytes);
}

ModelSize measureModel(const ObjModel& model) {
    ModelSize size = {model.numVertices,
                      model.numTexCoords,
                      model.numNormals,
                      model.numFaces,
                      0,
                      0,
                      1 + (model.hasNormals != 0) + (model.hasTexCoords != 0)};
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

ModelSize boundNextDooSabinLevel(const ModelSize& refined) {
    // A new vertex per corner; at most one V-face per vertex, of at most dooSabinValenceLimit
    // corners; at most one E-face per two corners, since an interior edge is walked at least
    // twice.
    const std::int64_t corners = refined.corners;
    const std::int64_t interiorEdges = corners / 2;
    const bool withNormals = refined.normals > 0;
    ModelSize next;
    next.vertices = corners;
    next.texCoords = 0;
    next.normals = withNormals ? corners : 0;
    next.faces = saturated(refined.faces + refined.vertices + interiorEdges);
    next.corners = saturated(corners + corners + edgeFaceCorners * interiorEdges);
    next.indexListBytes = saturated(refined.indexListBytes +
                                    indexListHeapBytes(dooSabinValenceLimit) * refined.vertices +
                                    indexListHeapBytes(edgeFaceCorners) * interiorEdges);
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
    const std::uint64_t physical =
        static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
    return std::min(physical / 2, 16 * gibibyte);
}
