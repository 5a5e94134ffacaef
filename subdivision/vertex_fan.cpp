// Fans of faces about a vertex, found among the few corners at the vertex from the pairing of
// edges alone, without reading any vertex index: a corner's face enters the vertex along the
// edge that the corner before it walks, and the next corner of the fan is the one at the
// vertex that walks that edge back. Since only the first and the last corner of each edge are
// paired, an edge walked three times or more leaves some corner at the vertex unpaired, and the
// turn then cannot meet every corner.
#include "vertex_fan.h"

namespace {

// Position of `corner` among the vertex's corners, -1 when it is not one of them.
std::int32_t positionOf(const std::vector<FanCorner>& corners, std::int32_t corner) {
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(corners.size()); ++i) {
        if (corners[i].number == corner) return i;
    }
    return -1;
}

// Position of the corner at the vertex that walks back the edge that `before` walks into it:
// its partner when `before` met the edge first, else the first walker, when that one is at
// the vertex and paired with `before`. -1 when there is none.
std::int32_t walkingBack(const CornerTopology& topology, const std::vector<FanCorner>& corners,
                         std::int32_t before) {
    const std::int32_t partner = topology.edgePartner[before];
    if (partner >= 0) return positionOf(corners, partner);
    if (partner != laterMeeting) return -1;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(corners.size()); ++i) {
        if (corners[i].partner == before) return i;
    }
    return -1;
}

// Follows the fan that starts at position `start`, writing its corners into the order from
// `placed` on. False when the turn meets a corner already placed before it comes back, or
// cannot go on.
bool walkFan(const CornerTopology& topology, std::int32_t start, FanScratch& scratch,
             std::int32_t& placed) {
    std::int32_t at = start;
    do {
        FanCorner& here = scratch.corners[at];
        if (here.placed) return false;
        here.placed = true;
        scratch.order[placed++] = here.number;
        if (positionOf(scratch.corners, here.before) >= 0) return false;  // an edge to itself
        const std::int32_t next = walkingBack(topology, scratch.corners, here.before);
        if (next < 0 || scratch.corners[next].face == here.face) return false;
        at = next;
    } while (at != start);
    return true;
}

}  // namespace

bool splitIntoFans(const CornerTopology& topology, std::int32_t vertex, FanScratch& scratch) {
    const std::int32_t first = topology.vertexStart[vertex];
    const std::int32_t n = topology.vertexStart[vertex + 1] - first;
    scratch.corners.resize(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t corner = topology.cornersByVertex[first + i];
        scratch.corners[i] = {corner, previousCorner(topology, corner),
                              topology.edgePartner[corner], topology.cornerFace[corner], false};
    }
    // Each fan starts at the lowest corner not yet placed and must come back to it; turning is
    // one to one, so the fans never share a corner.
    scratch.order.resize(static_cast<std::size_t>(n));
    scratch.fanStart.clear();
    std::int32_t placed = 0;
    for (std::int32_t start = 0; start < n; ++start) {
        if (scratch.corners[start].placed) continue;
        scratch.fanStart.push_back(placed);
        if (!walkFan(topology, start, scratch, placed)) return false;
    }
    scratch.fanStart.push_back(n);
    return true;
}
