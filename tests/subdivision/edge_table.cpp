// The edge table: its two plain look-ups, and its construction from the gathered corners.
#include "edge_table.h"

#include "corner_topology.h"

std::int32_t findEdge(const EdgeTable& table, std::int32_t a, std::int32_t b) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        const EdgeRecord& edge = table[i];
        if ((edge.vertexA == a && edge.vertexB == b) || (edge.vertexA == b && edge.vertexB == a)) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

bool isBoundaryVertex(const EdgeTable& table, std::int32_t v) {
    for (const EdgeRecord& edge : table) {
        if ((edge.vertexA == v || edge.vertexB == v) &&
            (edge.secondFrom < 0 || edge.secondTo < 0)) {
            return true;
        }
    }
    return false;
}

EdgeTable buildEdgeTable(const ObjModel& model) {
    CornerTopology topology;
    EdgeTable table;
    if (gatherCornerTopology(model, topology) != TopologyResult::gathered) return table;
    table.reserve(static_cast<std::size_t>(topology.numEdges));
    // Walking the corners in order lists each edge at the corner that met it first.
    for (std::int32_t c = 0; c < topology.numCorners; ++c) {
        const std::int32_t partner = topology.edgePartner[c];
        if (partner == laterMeeting) continue;
        const std::int32_t to = nextCorner(topology, c);
        const std::int32_t partnerTo = topology.partnerNext[c];
        table.push_back({cornerVertex(model, topology, c), cornerVertex(model, topology, to), c, to,
                         partner, partnerTo, c, to, partner, partnerTo});
    }
    return table;
}
