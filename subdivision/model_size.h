// Sizes of polygon models, as counts and as the heap bytes they take, so that a subdivision
// level can be refused before it overflows the record's 32-bit counts or exhausts memory.
#pragma once

#include <cstdint>

#include "obj_model.h"

// Corners of an E-face of a Doo-Sabin step: two of each face beside its edge.
constexpr std::int32_t edgeFaceCorners = 4;

// Counts kept in 64 bits so that sums and bounds never overflow while they are checked.
struct ModelSize {
    std::int64_t vertices;
    std::int64_t texCoords;
    std::int64_t normals;
    std::int64_t faces;
    std::int64_t corners;         // the faces' corner counts summed
    std::int64_t indexListBytes;  // heap taken by one index list of every face, summed
    std::int32_t indexLists;      // lists per face: vertices, then normals, texture coordinates
};

// Heap taken by one malloc'd list of `entries` 32-bit indices, the allocator's header and
// rounding included (glibc: 8 bytes, steps of 16, at least 32); 0 for an empty list.
std::int64_t indexListHeapBytes(std::int64_t entries);

// The counts of an existing model and the heap its face index lists take.
ModelSize measureModel(const ObjModel& model);

// Heap bytes a model of that size holds: its four arrays and every face's index lists.
std::uint64_t modelBytes(const ModelSize& size);

// An upper bound of the size of the Doo-Sabin refinement of a model that is itself a
// Doo-Sabin refinement (whose vertices hold at most 4 corners each); exact for a closed
// manifold mesh. Saturates instead of overflowing when applied over and over. (The other
// schemes forecast their levels from exact counts: refinedCounts.)
ModelSize boundNextDooSabinLevel(const ModelSize& refined);

// True when the vertex, texture-coordinate, normal and face counts fit the record's 32 bits.
bool fitsRecordCounts(const ModelSize& size);

// The heap a subdivision rebuild may take at its peak: half of the physical memory, at most
// 16 GiB (2 GiB when the system does not tell its memory).
std::uint64_t memoryBudgetBytes();
