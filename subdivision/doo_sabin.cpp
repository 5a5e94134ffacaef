// The Doo-Sabin step. The corners are first gathered by face, vertex and edge (in linear
// time), which gives the exact size of the output before any of it is obtained; then the
// F-faces, V-faces and E-faces are filled in that order, each just after its index lists are
// obtained.
#include "doo_sabin.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <vector>

#include "doo_sabin_child_topology.h"
#include "doo_sabin_masks.h"
#include "face_geometry.h"
#include "face_normals.h"
#include "huge_pages.h"
#include "parallel_ranges.h"
#include "vertex_fan.h"
#include "vertex_ring.h"

namespace {

// The step's own scratch besides the corner topology and its V-faces: per face of an input
// without normals, its geometric normal.
using GeometricNormals = std::vector<Vec3f>;

bool carriesNormals(const ObjModel& model) { return model.hasNormals != 0; }

std::int32_t cornersAt(const CornerTopology& topology, std::int32_t vertex) {
    return topology.vertexStart[vertex + 1] - topology.vertexStart[vertex];
}

// The fewest corners a V-face has: a vertex between two faces gets none, since the E-faces of
// its two edges already meet along the side such a face would have, and a face of two corners
// would double that side.
constexpr std::int32_t leastVertexFaceCorners = 3;

// The most V-faces a step makes from `corners` input corners: each takes three or more
// corners of its own.
std::uint64_t mostVertexFaces(std::uint64_t corners) { return corners / leastVertexFaceCorners; }

void addVertexFace(VertexFaces& faces, const std::int32_t* corners, std::int32_t n, bool alongFan) {
    faces.corners.insert(faces.corners.end(), corners, corners + n);
    faces.start.push_back(static_cast<std::int32_t>(faces.corners.size()));
    faces.alongFan.push_back(alongFan ? 1 : 0);
}

// The V-faces of the interior vertices in increasing vertex order: one per fan of the faces
// there, following it, so that each closes the surface between the E-faces around it however
// folded the neighbourhood is, and a pinch stays two sheets. Where the faces do not split into
// fans (faces of opposite turns, an edge in three faces) one V-face takes every corner, in the
// order the faces hold them, to be put into a ring by position.
void gatherVertexFaces(std::int32_t numVertices, const CornerTopology& topology,
                       VertexFaces& faces) {
    // Obtained at their largest at once, so that the scratch never grows past its forecast.
    const std::size_t most = mostVertexFaces(static_cast<std::uint64_t>(topology.numCorners));
    faces.corners.reserve(static_cast<std::size_t>(topology.numCorners));
    faces.start.reserve(most + 1);
    faces.alongFan.reserve(most);
    faces.start.push_back(0);
    FanScratch fan;
    for (std::int32_t v = 0; v < numVertices; ++v) {
        if (!isInteriorVertex(topology, v)) continue;
        if (splitIntoFans(topology, v, fan)) {
            for (std::size_t i = 0; i + 1 < fan.fanStart.size(); ++i) {
                if (fanSize(fan, i) < leastVertexFaceCorners) continue;
                addVertexFace(faces, &fan.order[fan.fanStart[i]], fanSize(fan, i), true);
            }
        } else if (cornersAt(topology, v) >= leastVertexFaceCorners) {
            addVertexFace(faces, &topology.cornersByVertex[topology.vertexStart[v]],
                          cornersAt(topology, v), false);
        }
    }
}

ModelSize refinedSize(const ObjModel& input, const CornerTopology& topology,
                      const VertexFaces& vertexFaces) {
    // A refinement without corners has no normals either: the record allows no flag without data.
    const bool withNormals = carriesNormals(input) && topology.numCorners > 0;
    ModelSize size = {topology.numCorners, 0, withNormals ? topology.numCorners : 0,
                      input.numFaces,      0, 0,
                      withNormals ? 2 : 1};
    // Each face's corner count from the topology's compact runs rather than the face records.
    for (std::int32_t f = 0; f < input.numFaces; ++f) {
        const std::int32_t corners = topology.faceStart[f + 1] - topology.faceStart[f];
        size.corners += corners;
        size.indexListBytes += indexListHeapBytes(corners);
    }
    for (std::size_t i = 0; i + 1 < vertexFaces.start.size(); ++i) {
        const std::int32_t corners = vertexFaces.start[i + 1] - vertexFaces.start[i];
        size.faces += 1;
        size.corners += corners;
        size.indexListBytes += indexListHeapBytes(corners);
    }
    size.faces += topology.numInteriorEdges;
    size.corners += edgeFaceCorners * std::int64_t{topology.numInteriorEdges};
    size.indexListBytes += indexListHeapBytes(edgeFaceCorners) * topology.numInteriorEdges;
    return size;
}

// Obtains the face's index lists (none for no corners) and sets its corner count, primitive
// and colour. False when an allocation fails; what was obtained stays for freeModelArrays.
bool startFace(ObjFace& face, std::int32_t corners, bool withNormals, const float (&color)[3]) {
    face.color[0] = color[0];
    face.color[1] = color[1];
    face.color[2] = color[2];
    face.primitive = primitiveForCorners(corners);
    face.numVertices = corners;
    if (corners == 0) return true;
    const std::size_t bytes = static_cast<std::size_t>(corners) * sizeof(std::int32_t);
    face.vertexIndices = static_cast<std::int32_t*>(std::malloc(bytes));
    if (face.vertexIndices == nullptr) return false;
    if (!withNormals) return true;
    face.normalIndices = static_cast<std::int32_t*>(std::malloc(bytes));
    return face.normalIndices != nullptr;
}

void setCorner(ObjFace& face, std::int32_t j, std::int32_t cornerNumber) {
    face.vertexIndices[j] = cornerNumber;
    if (face.normalIndices != nullptr) face.normalIndices[j] = cornerNumber;
}

// The face's normal from its corners' normals (see runningFaceNormal).
Vec3f faceNormal(const ObjModel& input, const ObjFace& face) {
    return runningFaceNormal(face.numVertices, [&](int j) -> const Vec3f& {
        return input.normals[face.normalIndices[j]];
    });
}

// Faces ahead of the one being filled whose corners' positions are asked for early.
constexpr std::int32_t positionsAhead = 8;

// A face's corners lie anywhere in the input's positions, most of them far from the last
// face's: asking for them a few faces early hides the wait for memory.
void prefetchCornerPositions(const ObjModel& input, std::int32_t f) {
    const ObjFace& face = input.faces[f];
    for (std::int32_t j = 0; j < face.numVertices; ++j) {
        __builtin_prefetch(&input.vertices[face.vertexIndices[j]]);
    }
}

// The new vertices and normals of the corners of faces begin to end - 1, and their F-faces,
// which keep their faces' corner order and so their winding.
bool fillFaceFaces(const ObjModel& input, const CornerTopology& topology, std::int32_t begin,
                   std::int32_t end, ObjModel& output) {
    const bool withNormals = carriesNormals(input);
    for (std::int32_t f = begin; f < end; ++f) {
        if (f + positionsAhead < end) prefetchCornerPositions(input, f + positionsAhead);
        const ObjFace& face = input.faces[f];
        ObjFace& made = output.faces[f];
        if (!startFace(made, face.numVertices, withNormals, faceFromFaceColor)) return false;
        if (face.numVertices == 0) continue;
        const std::int32_t start = topology.faceStart[f];
        placeFaceCornerPoints<Vec4f>(
            face.numVertices,
            [&](int j) -> const Vec4f& { return input.vertices[face.vertexIndices[j]]; },
            &output.vertices[start]);
        const Vec3f normal = withNormals ? faceNormal(input, face) : Vec3f{0.0f, 0.0f, 0.0f};
        for (std::int32_t j = 0; j < face.numVertices; ++j) {
            if (withNormals) {
                output.normals[start + j] = newCornerNormal(input.normals[face.normalIndices[j]],
                                                            normal, face, input.vertices);
            }
            setCorner(made, j, start + j);
        }
    }
    return true;
}

// True when some V-face is to be put into a ring by position, about a reference normal.
bool ordersAnyRing(const VertexFaces& vertexFaces) {
    return std::find(vertexFaces.alongFan.begin(), vertexFaces.alongFan.end(), 0) !=
           vertexFaces.alongFan.end();
}

// Geometric normals of the input faces, for inputs without normals whose V-faces are not all
// along fans: those still need a side to turn counter-clockwise about.
GeometricNormals geometricFaceNormals(const ObjModel& input, const VertexFaces& vertexFaces) {
    GeometricNormals normals;
    if (carriesNormals(input) || !ordersAnyRing(vertexFaces)) return normals;
    normals.reserve(static_cast<std::size_t>(input.numFaces));
    for (std::int32_t f = 0; f < input.numFaces; ++f) {
        normals.push_back(newellNormal(input.faces[f], input.vertices));
    }
    return normals;
}

// The input normal of the vertex's last corner; without normals, the area-weighted mean of
// the normals of the faces around it.
Vec3f referenceNormal(const ObjModel& input, const CornerTopology& topology, std::int32_t vertex,
                      const GeometricNormals& geometricNormals) {
    if (carriesNormals(input)) {
        const std::int32_t last = topology.cornersByVertex[topology.vertexStart[vertex + 1] - 1];
        const std::int32_t face = topology.cornerFace[last];
        return input.normals[input.faces[face].normalIndices[last - topology.faceStart[face]]];
    }
    Vec3f sum = {0.0f, 0.0f, 0.0f};
    for (std::int32_t i = topology.vertexStart[vertex]; i < topology.vertexStart[vertex + 1]; ++i) {
        const Vec3f& n = geometricNormals[topology.cornerFace[topology.cornersByVertex[i]]];
        sum = {sum.x + n.x, sum.y + n.y, sum.z + n.z};
    }
    return normalizedOr(sum, {0.0f, 0.0f, 0.0f});
}

// The V-faces begin to end - 1 gathered by the plan, from output face `firstFace` on; one whose
// corners follow no fan is put into a ring about its vertex's reference normal by position.
bool fillVertexFaces(const ObjModel& input, const DooSabinPlan& plan,
                     const GeometricNormals& geometricNormals, std::int32_t begin, std::int32_t end,
                     std::int32_t firstFace, ObjModel& output) {
    const VertexFaces& vertexFaces = plan.vertexFaces;
    const bool withNormals = carriesNormals(input);
    RingScratch ring;
    for (std::int32_t i = begin; i < end; ++i) {
        const std::int32_t from = vertexFaces.start[i];
        const std::int32_t corners = vertexFaces.start[i + 1] - from;
        ObjFace& face = output.faces[firstFace + i];
        if (!startFace(face, corners, withNormals, faceFromVertexColor)) return false;
        for (std::int32_t j = 0; j < corners; ++j) {
            setCorner(face, j, vertexFaces.corners[from + j]);
        }
        if (vertexFaces.alongFan[i] != 0) continue;
        const std::int32_t v = cornerVertex(input, plan.topology, vertexFaces.corners[from]);
        orderVertexRing(face, referenceNormal(input, plan.topology, v, geometricNormals), output,
                        ring);
    }
    return true;
}

// The E-faces of the edges first met by corners begin to end - 1, from output face `nextFace`
// on, in the order the edges were first met: the last other face's corners (where it leaves,
// where it enters), then the first face's (leaving, entering).
bool fillEdgeFaces(const CornerTopology& topology, bool withNormals, std::int32_t begin,
                   std::int32_t end, std::int32_t nextFace, ObjModel& output) {
    for (std::int32_t first = begin; first < end; ++first) {
        const std::int32_t second = topology.edgePartner[first];
        if (second < 0) continue;
        ObjFace& made = output.faces[nextFace++];
        if (!startFace(made, edgeFaceCorners, withNormals, faceFromEdgeColor)) return false;
        setCorner(made, 0, topology.partnerNext[first]);
        setCorner(made, 1, second);
        setCorner(made, 2, nextCorner(topology, first));
        setCorner(made, 3, first);
    }
    return true;
}

// E-faces made before each of `parts` ranges of corners: the interior edges first met in the
// ranges before it, counted range by range.
std::vector<std::int32_t> edgeFacesBefore(const CornerTopology& topology, int parts) {
    std::vector<std::int32_t> before(static_cast<std::size_t>(parts) + 1, 0);
    inParallelRanges(topology.numCorners, parts,
                     [&](std::int64_t begin, std::int64_t end, int part) {
                         std::int32_t count = 0;
                         for (std::int64_t c = begin; c < end; ++c)
                             count += topology.edgePartner[c] >= 0;
                         before[part + 1] = count;
                         return true;
                     });
    for (std::size_t part = 1; part < before.size(); ++part) before[part] += before[part - 1];
    return before;
}

// The three kinds of faces, each kind split over the threads; the V-faces come after every
// F-face, since their rings are ordered by the new vertices' positions.
bool fillFaces(const ObjModel& input, const DooSabinPlan& plan, int threads, ObjModel& output) {
    const CornerTopology& topology = plan.topology;
    const bool faceFaces =
        inParallelRanges(input.numFaces, threads, [&](std::int64_t begin, std::int64_t end, int) {
            return fillFaceFaces(input, topology, std::int32_t(begin), std::int32_t(end), output);
        });
    if (!faceFaces) return false;
    const GeometricNormals geometricNormals = geometricFaceNormals(input, plan.vertexFaces);
    const std::int64_t vertexFaceCount = std::int64_t(plan.vertexFaces.start.size()) - 1;
    const bool vertexFaces =
        inParallelRanges(vertexFaceCount, threads, [&](std::int64_t begin, std::int64_t end, int) {
            return fillVertexFaces(input, plan, geometricNormals, std::int32_t(begin),
                                   std::int32_t(end), input.numFaces, output);
        });
    if (!vertexFaces) return false;
    const int parts = rangeParts(topology.numCorners, threads);
    const std::vector<std::int32_t> before = edgeFacesBefore(topology, parts);
    const std::int32_t firstEdgeFace = input.numFaces + std::int32_t(vertexFaceCount);
    return inParallelRanges(topology.numCorners, parts,
                            [&](std::int64_t begin, std::int64_t end, int part) {
                                return fillEdgeFaces(topology, carriesNormals(input),
                                                     std::int32_t(begin), std::int32_t(end),
                                                     firstEdgeFace + before[part], output);
                            });
}

bool fillOutput(const ObjModel& input, const DooSabinPlan& plan, int threads, ObjModel& output) {
    const ModelSize& size = plan.outputSize;
    output = ObjModel{};
    output.numVertices = static_cast<std::int32_t>(size.vertices);
    output.numNormals = static_cast<std::int32_t>(size.normals);
    output.numFaces = static_cast<std::int32_t>(size.faces);
    output.hasNormals = output.numNormals > 0 ? 1 : 0;
    if (!allocateModelArrays(&output)) return false;
    adviseHugePages(output.vertices, sizeof(Vec4f) * std::size_t(size.vertices));
    adviseHugePages(output.normals, sizeof(Vec3f) * std::size_t(size.normals));
    adviseHugePages(output.faces, sizeof(ObjFace) * std::size_t(size.faces));
    return fillFaces(input, plan, threads, output);
}

StepResult sizePlan(const ObjModel& input, DooSabinPlan& plan) {
    plan.outputSize = refinedSize(input, plan.topology, plan.vertexFaces);
    if (!fitsRecordCounts(plan.outputSize)) return StepResult::countsTooLarge;
    return StepResult::built;
}

StepResult gatherPlan(const ObjModel& input, DooSabinPlan& plan) {
    const TopologyResult gathered = gatherCornerTopology(input, plan.topology);
    if (gathered == TopologyResult::invalidModel) return StepResult::invalidInput;
    if (gathered == TopologyResult::tooManyCorners) return StepResult::countsTooLarge;
    gatherVertexFaces(input.numVertices, plan.topology, plan.vertexFaces);
    return sizePlan(input, plan);
}

StepResult derivePlan(const ObjModel& input, const DooSabinPlan& parent, DooSabinPlan& plan) {
    if (!deriveDooSabinChildTopology(parent.topology, parent.vertexFaces, plan.topology,
                                     plan.vertexFaces)) {
        return StepResult::countsTooLarge;
    }
    return sizePlan(input, plan);
}

}  // namespace

// The scratch tables are standard containers: when one cannot obtain its storage, the
// standard library's std::bad_alloc is caught here, at the step's edge, and the step reports
// outOfMemory like a failed model array, its scratch released.
StepResult planDooSabinStep(const ObjModel& input, DooSabinPlan& plan) {
    try {
        return gatherPlan(input, plan);
    } catch (const std::bad_alloc&) {
        plan = DooSabinPlan{};
        return StepResult::outOfMemory;
    }
}

StepResult planDooSabinStepAfter(const ObjModel& input, const DooSabinPlan& parent,
                                 DooSabinPlan& plan) {
    try {
        return derivePlan(input, parent, plan);
    } catch (const std::bad_alloc&) {
        plan = DooSabinPlan{};
        return StepResult::outOfMemory;
    }
}

StepResult buildDooSabinStep(const ObjModel& input, const DooSabinPlan& plan, ObjModel& output,
                             int threads) {
    bool filled = false;
    try {
        filled = fillOutput(input, plan, threads, output);
    } catch (const std::bad_alloc&) {
        filled = false;
    }
    if (filled) return StepResult::built;
    freeModelArrays(&output);
    output = ObjModel{};
    return StepResult::outOfMemory;
}

bool dooSabinStep(const ObjModel& input, ObjModel& output) {
    output = ObjModel{};
    DooSabinPlan plan;
    return planDooSabinStep(input, plan) == StepResult::built &&
           buildDooSabinStep(input, plan, output) == StepResult::built;
}

std::vector<FaceKindRange> dooSabinFaceKinds(const ObjModel& input, const DooSabinPlan& plan) {
    const std::int32_t vertexFacesBegin = input.numFaces;
    const std::int32_t edgeFacesBegin =
        vertexFacesBegin + static_cast<std::int32_t>(plan.vertexFaces.start.size()) - 1;
    return {{FaceKind::fromFace, 0, vertexFacesBegin},
            {FaceKind::fromVertex, vertexFacesBegin, edgeFacesBegin},
            {FaceKind::fromEdge, edgeFacesBegin, edgeFacesBegin + plan.topology.numInteriorEdges}};
}

std::uint64_t stepScratchBytes(const ModelSize& input) {
    const std::uint64_t faces = static_cast<std::uint64_t>(input.faces);
    const std::uint64_t vertices = static_cast<std::uint64_t>(input.vertices);
    const std::uint64_t topology =
        cornerTopologyBytes(static_cast<std::uint64_t>(input.corners), faces, vertices);
    const std::uint64_t corners = static_cast<std::uint64_t>(input.corners);
    const std::uint64_t gathered =
        sizeof(std::int32_t) * corners +
        (sizeof(std::int32_t) + sizeof(std::uint8_t)) * (mostVertexFaces(corners) + 1);
    const std::uint64_t faceNormals =
        input.normals == 0 ? sizeof(GeometricNormals::value_type) * faces : 0;
    return topology + gathered + faceNormals;
}
