// Gathering of a model's corners by face, by vertex and by edge. Each edge is found from its
// lower vertex, among the few corners there, instead of by searching a table of all edges: the
// first and last corner of each edge come out exactly as a search in order of meeting gives.
#include "corner_topology.h"

#include <algorithm>
#include <limits>

#include "huge_pages.h"

namespace {

// The vertex of each corner, held only while the edges are gathered.
using CornerVertices = std::vector<std::int32_t>;

// Bytes of one entry of an array.
template <typename Array>
constexpr std::uint64_t entryBytes = sizeof(typename Array::value_type);

bool validCounts(const ObjModel& model) {
    if (model.numVertices < 0 || model.numFaces < 0 || model.numNormals < 0) return false;
    if (model.numVertices > 0 && model.vertices == nullptr) return false;
    if (model.numFaces > 0 && model.faces == nullptr) return false;
    if (model.hasNormals != 0 && (model.numNormals == 0 || model.normals == nullptr)) return false;
    return true;
}

bool indicesInRange(const std::int32_t* indices, std::int32_t n, std::int32_t count) {
    if (indices == nullptr) return false;
    for (std::int32_t j = 0; j < n; ++j) {
        if (indices[j] < 0 || indices[j] >= count) return false;
    }
    return true;
}

bool validFace(const ObjModel& model, const ObjFace& face) {
    if (face.numVertices < 0) return false;
    if (face.numVertices == 0) return true;
    if (!indicesInRange(face.vertexIndices, face.numVertices, model.numVertices)) return false;
    return model.hasNormals == 0 ||
           indicesInRange(face.normalIndices, face.numVertices, model.numNormals);
}

// Corner numbers of the faces' first corners, and the corner of each face; with the vertex of
// each corner, kept only while the edges are gathered.
TopologyResult numberCorners(const ObjModel& model, CornerTopology& topology,
                             CornerVertices& vertexOfCorner) {
    std::int64_t corners = 0;
    assignLarge(topology.faceStart, static_cast<std::size_t>(model.numFaces) + 1, 0);
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        if (!validFace(model, model.faces[f])) return TopologyResult::invalidModel;
        topology.faceStart[f] = static_cast<std::int32_t>(corners);
        corners += model.faces[f].numVertices;
        if (corners > std::numeric_limits<std::int32_t>::max()) {
            return TopologyResult::tooManyCorners;
        }
    }
    topology.numCorners = static_cast<std::int32_t>(corners);
    topology.faceStart[model.numFaces] = topology.numCorners;
    assignLarge(topology.cornerFace, static_cast<std::size_t>(corners), 0);
    assignLarge(vertexOfCorner, static_cast<std::size_t>(corners), 0);
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        const std::int32_t start = topology.faceStart[f];
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            topology.cornerFace[start + j] = f;
            vertexOfCorner[start + j] = face.vertexIndices[j];
        }
    }
    return TopologyResult::gathered;
}

// A counting sort of the corners by vertex; stable, so each vertex lists its corners in
// increasing corner number, as a scan of the faces in order meets them.
void groupCornersByVertex(std::int32_t numVertices, const CornerVertices& vertexOfCorner,
                          CornerTopology& topology) {
    std::vector<std::int32_t>& start = topology.vertexStart;
    assignLarge(start, static_cast<std::size_t>(numVertices) + 2, 0);
    for (const std::int32_t v : vertexOfCorner) ++start[v + 2];
    for (std::size_t v = 2; v < start.size(); ++v) start[v] += start[v - 1];
    assignLarge(topology.cornersByVertex, vertexOfCorner.size(), 0);
    for (std::int32_t c = 0; c < topology.numCorners; ++c) {
        topology.cornersByVertex[start[vertexOfCorner[c] + 1]++] = c;
    }
    start.pop_back();
}

// A corner walking an edge from the vertex being visited: the edge's other vertex in the high
// half of the key, the corner in the low half; and the corner after it in its face.
struct EdgeMeeting {
    std::uint64_t key;
    std::int32_t next;
};

EdgeMeeting meeting(std::int32_t otherVertex, std::int32_t corner, std::int32_t next) {
    return {(static_cast<std::uint64_t>(otherVertex) << 32) | static_cast<std::uint32_t>(corner),
            next};
}

std::int32_t cornerOf(const EdgeMeeting& m) {
    return static_cast<std::int32_t>(m.key & 0xffffffffu);
}

void sortMeetings(std::vector<EdgeMeeting>& meetings) {
    const auto byKey = [](const EdgeMeeting& a, const EdgeMeeting& b) { return a.key < b.key; };
    // Most vertices see a handful of edges: an insertion sort beats the general one there.
    if (meetings.size() > 16) {
        std::sort(meetings.begin(), meetings.end(), byKey);
        return;
    }
    for (std::size_t i = 1; i < meetings.size(); ++i) {
        const EdgeMeeting m = meetings[i];
        std::size_t j = i;
        for (; j > 0 && byKey(m, meetings[j - 1]); --j) meetings[j] = meetings[j - 1];
        meetings[j] = m;
    }
}

// The corners that walk an edge whose lower vertex is `low`, keyed by the upper vertex: a
// corner at `low` walks its outgoing edge, the corner before it walks the incoming one.
void collectEdgesAt(std::int32_t low, const CornerVertices& vertexOfCorner,
                    const CornerTopology& topology, std::vector<EdgeMeeting>& meetings) {
    meetings.clear();
    for (std::int32_t i = topology.vertexStart[low]; i < topology.vertexStart[low + 1]; ++i) {
        const std::int32_t corner = topology.cornersByVertex[i];
        const std::int32_t after = nextCorner(topology, corner);
        const std::int32_t to = vertexOfCorner[after];
        if (to >= low) meetings.push_back(meeting(to, corner, after));  // a loop counts once
        const std::int32_t before = previousCorner(topology, corner);
        const std::int32_t from = vertexOfCorner[before];
        if (from > low) meetings.push_back(meeting(from, before, corner));
    }
    sortMeetings(meetings);
}

// One run of equal upper vertices is one edge: its first corner met it first, its last corner
// is the last to overwrite the second face's fields.
void pairEdgesAt(std::int32_t low, const std::vector<EdgeMeeting>& meetings,
                 CornerTopology& topology) {
    for (std::size_t begin = 0; begin < meetings.size();) {
        const std::uint64_t high = meetings[begin].key >> 32;
        std::size_t end = begin + 1;
        while (end < meetings.size() && (meetings[end].key >> 32) == high) ++end;
        const std::int32_t first = cornerOf(meetings[begin]);
        ++topology.numEdges;
        if (end - begin > 1) {
            topology.edgePartner[first] = cornerOf(meetings[end - 1]);
            topology.partnerNext[first] = meetings[end - 1].next;
            ++topology.numInteriorEdges;
        } else {
            topology.edgePartner[first] = -1;
            topology.onBoundary[low] = 1;
            topology.onBoundary[high] = 1;
        }
        begin = end;
    }
}

}  // namespace

TopologyResult gatherCornerTopology(const ObjModel& model, CornerTopology& topology) {
    topology = CornerTopology{};
    if (!validCounts(model)) return TopologyResult::invalidModel;
    CornerVertices vertexOfCorner;
    const TopologyResult numbered = numberCorners(model, topology, vertexOfCorner);
    if (numbered != TopologyResult::gathered) return numbered;
    groupCornersByVertex(model.numVertices, vertexOfCorner, topology);

    assignLarge(topology.edgePartner, vertexOfCorner.size(), laterMeeting);
    assignLarge(topology.partnerNext, vertexOfCorner.size(), -1);
    assignLarge(topology.onBoundary, static_cast<std::size_t>(model.numVertices), 0);
    std::vector<EdgeMeeting> meetings;
    for (std::int32_t low = 0; low < model.numVertices; ++low) {
        collectEdgesAt(low, vertexOfCorner, topology, meetings);
        pairEdgesAt(low, meetings, topology);
    }
    return TopologyResult::gathered;
}

std::uint64_t cornerTopologyBytes(std::uint64_t corners, std::uint64_t faces,
                                  std::uint64_t vertices) {
    using Topology = CornerTopology;
    const std::uint64_t perCorner = entryBytes<decltype(Topology::cornerFace)> +
                                    entryBytes<decltype(Topology::cornersByVertex)> +
                                    entryBytes<decltype(Topology::edgePartner)> +
                                    entryBytes<decltype(Topology::partnerNext)> +
                                    entryBytes<CornerVertices>;
    const std::uint64_t perFace = entryBytes<decltype(Topology::faceStart)>;
    const std::uint64_t perVertex =
        entryBytes<decltype(Topology::vertexStart)> + entryBytes<decltype(Topology::onBoundary)>;
    return perCorner * corners + perFace * (faces + 1) + perVertex * (vertices + 1);
}

bool isClosedManifold(const ObjModel& model, const CornerTopology& topology) {
    const std::int32_t corners = topology.numCorners;
    if (topology.numInteriorEdges != topology.numEdges ||
        std::int64_t{corners} != 2 * std::int64_t{topology.numEdges}) {
        return false;  // a boundary edge, or an edge walked more than twice
    }
    // With two walkers per edge, each corner's edge has one other walker.
    std::vector<std::int32_t> otherWalker(static_cast<std::size_t>(corners), -1);
    for (std::int32_t c = 0; c < corners; ++c) {
        const std::int32_t partner = topology.edgePartner[c];
        if (partner < 0) continue;  // the other walker of an edge met earlier
        const std::int32_t to = cornerVertex(model, topology, nextCorner(topology, c));
        if (to == cornerVertex(model, topology, c) ||
            cornerVertex(model, topology, partner) != to ||
            topology.cornerFace[partner] == topology.cornerFace[c]) {
            return false;
        }
        otherWalker[c] = partner;
        otherWalker[partner] = c;
    }
    // Turning about a vertex, from the corner before to the other walker of its edge, must
    // meet every corner at that vertex before it comes back.
    for (std::size_t v = 0; v + 1 < topology.vertexStart.size(); ++v) {
        const std::int32_t first = topology.vertexStart[v];
        const std::int32_t size = topology.vertexStart[v + 1] - first;
        if (size == 0) continue;
        if (size < 3) return false;  // its V-face, of two corners, would double an edge
        const std::int32_t start = topology.cornersByVertex[first];
        std::int32_t fan = 0;
        std::int32_t c = start;
        do {
            c = otherWalker[previousCorner(topology, c)];
            ++fan;
        } while (c != start && fan < size);
        if (c != start || fan != size) return false;
    }
    return true;
}
