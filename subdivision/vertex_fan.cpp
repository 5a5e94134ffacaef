// Fans of faces about a vertex, found among the few corners at the vertex: each corner's face
// enters the vertex from one neighbour and leaves it to another, and the next corner of the
// fan is the one whose face leaves towards the neighbour the previous one entered from.
#include "vertex_fan.h"

namespace {

// The one corner (list position) whose face leaves the vertex towards `neighbour`, -1 when
// none or more than one does.
std::int32_t onlyCornerLeavingTo(const std::vector<std::int32_t>& leftTo, std::int32_t neighbour) {
    std::int32_t found = -1;
    for (std::int32_t j = 0; j < static_cast<std::int32_t>(leftTo.size()); ++j) {
        if (leftTo[j] != neighbour) continue;
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
    const std::int32_t* corners = topology.cornersByVertex.data() + first;
    scratch.enteredFrom.resize(static_cast<std::size_t>(n));
    scratch.leftTo.resize(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t from =
            cornerVertex(model, topology, previousCorner(topology, corners[i]));
        if (from == vertex) return false;  // an edge from the vertex to itself
        scratch.enteredFrom[i] = from;
        scratch.leftTo[i] = cornerVertex(model, topology, nextCorner(topology, corners[i]));
    }
    // Turning from the first corner must come back to it after exactly n corners: each is then
    // met once, and every edge at the vertex is walked once each way.
    scratch.order.clear();
    std::int32_t at = 0;
    do {
        scratch.order.push_back(corners[at]);
        const std::int32_t next = onlyCornerLeavingTo(scratch.leftTo, scratch.enteredFrom[at]);
        if (next < 0 || topology.cornerFace[corners[next]] == topology.cornerFace[corners[at]]) {
            return false;
        }
        at = next;
    } while (at != 0 && static_cast<std::int32_t>(scratch.order.size()) < n);
    return at == 0 && static_cast<std::int32_t>(scratch.order.size()) == n;
}
