// Fans of faces about a vertex, found among the few corners at the vertex: each corner's face
// enters the vertex from one neighbour and leaves it to another, and the next corner of the
// fan is the one whose face leaves towards the neighbour the previous one entered from.
#include "vertex_fan.h"

namespace {

// The one corner (list position) whose face leaves the vertex towards `neighbour`, -1 when
// none or more than one does.
std::int32_t onlyCornerLeavingTo(const std::vector<FanCorner>& corners, std::int32_t neighbour) {
    std::int32_t found = -1;
    for (std::int32_t j = 0; j < static_cast<std::int32_t>(corners.size()); ++j) {
        if (corners[j].leftTo != neighbour) continue;
        if (found >= 0) return -1;
        found = j;
    }
    return found;
}

}  // namespace

bool orderAlongFan(const ObjModel& model, const CornerTopology& topology, std::int32_t vertex,
                   FanScratch& scratch) {
    const std::int32_t first = topology.vertexStart[vertex];
    const std::int32_t n = topology.vertexStart[vertex + 1] - first;
    const std::int32_t* numbers = topology.cornersByVertex.data() + first;
    scratch.corners.resize(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t face = topology.cornerFace[numbers[i]];
        const std::int32_t start = topology.faceStart[face];
        const std::int32_t size = topology.faceStart[face + 1] - start;
        const std::int32_t j = numbers[i] - start;
        const std::int32_t* around = model.faces[face].vertexIndices;
        const std::int32_t from = around[j == 0 ? size - 1 : j - 1];
        if (from == vertex) return false;  // an edge from the vertex to itself
        scratch.corners[i] = {from, around[j + 1 == size ? 0 : j + 1], face};
    }
    // Turning from the first corner must come back to it after exactly n corners: each is then
    // met once, and every edge at the vertex is walked once each way.
    scratch.order.resize(static_cast<std::size_t>(n));
    std::int32_t at = 0, placed = 0;
    do {
        scratch.order[placed++] = numbers[at];
        const FanCorner& here = scratch.corners[at];
        const std::int32_t next = onlyCornerLeavingTo(scratch.corners, here.enteredFrom);
        if (next < 0 || scratch.corners[next].face == here.face) return false;
        at = next;
    } while (at != 0 && placed < n);
    return at == 0 && placed == n;
}
