// The Doo-Sabin step. The corners are first gathered by face, vertex and edge (in linear
// time), which gives the exact size of the output before any of it is obtained; then the
// F-faces, V-faces and E-faces are filled in that order, each just after its index lists are
// obtained.
#include "doo_sabin.h"

#include <cstdlib>
#include <new>
#include <vector>

#include "doo_sabin_masks.h"
#include "face_geometry.h"
#include "face_normals.h"
#include "huge_pages.h"
#include "vertex_fan.h"
#include "vertex_ring.h"

namespace {

// The step's own scratch besides the corner topology: per vertex, the normal index of its last
// corner; per face of an input without normals, its geometric normal.
using LastNormalIndices = std::vector<std::int32_t>;
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
    for (std::int32_t f = 0; f < input.numFaces; ++f) {
        size.corners += input.faces[f].numVertices;
        size.indexListBytes += indexListHeapBytes(input.faces[f].numVertices);
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

// The new vertices and normals of every corner, and the F-faces, which keep their faces'
// corner order and so their winding. With normals, notes for each vertex the normal index of
// its last corner, which orients its V-face.
bool fillFaceFaces(const ObjModel& input, const CornerTopology& topology, ObjModel& output,
                   LastNormalIndices& lastNormalIndex) {
    const bool withNormals = carriesNormals(input);
    if (withNormals) lastNormalIndex.assign(std::size_t(input.numVertices), 0);
    for (std::int32_t f = 0; f < input.numFaces; ++f) {
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
                lastNormalIndex[face.vertexIndices[j]] = face.normalIndices[j];
            }
            setCorner(made, j, start + j);
        }
    }
    return true;
}

// Geometric normals of the input faces, for inputs without normals: the V-faces still need
// a side to turn counter-clockwise about.
GeometricNormals geometricFaceNormals(const ObjModel& input) {
    GeometricNormals normals;
    if (carriesNormals(input)) return normals;
    normals.reserve(static_cast<std::size_t>(input.numFaces));
    for (std::int32_t f = 0; f < input.numFaces; ++f) {
        normals.push_back(newellNormal(input.faces[f], input.vertices));
    }
    return normals;
}

// The input normal of the vertex's last corner; without normals, the area-weighted mean of
// the normals of the faces around it.
Vec3f referenceNormal(const ObjModel& input, const CornerTopology& topology, std::int32_t vertex,
                      const LastNormalIndices& lastNormalIndex,
                      const GeometricNormals& geometricNormals) {
    if (carriesNormals(input)) return input.normals[lastNormalIndex[vertex]];
    Vec3f sum = {0.0f, 0.0f, 0.0f};
    for (std::int32_t i = topology.vertexStart[vertex]; i < topology.vertexStart[vertex + 1]; ++i) {
        const Vec3f& n = geometricNormals[topology.cornerFace[topology.cornersByVertex[i]]];
        sum = {sum.x + n.x, sum.y + n.y, sum.z + n.z};
    }
    return normalizedOr(sum, {0.0f, 0.0f, 0.0f});
}

// The V-faces gathered by the plan; one whose corners follow no fan is put into a ring about
// the reference normal of its vertex by their positions.
bool fillVertexFaces(const ObjModel& input, const CornerTopology& topology,
                     const VertexFaces& vertexFaces, const LastNormalIndices& lastNormalIndex,
                     ObjModel& output, std::int32_t& nextFace) {
    const bool withNormals = carriesNormals(input);
    const GeometricNormals geometricNormals = geometricFaceNormals(input);
    RingScratch ring;
    for (std::size_t i = 0; i + 1 < vertexFaces.start.size(); ++i) {
        const std::int32_t from = vertexFaces.start[i];
        const std::int32_t corners = vertexFaces.start[i + 1] - from;
        ObjFace& face = output.faces[nextFace++];
        if (!startFace(face, corners, withNormals, faceFromVertexColor)) return false;
        for (std::int32_t j = 0; j < corners; ++j) {
            setCorner(face, j, vertexFaces.corners[from + j]);
        }
        if (vertexFaces.alongFan[i] != 0) continue;
        const std::int32_t v = cornerVertex(input, topology, vertexFaces.corners[from]);
        orderVertexRing(face,
                        referenceNormal(input, topology, v, lastNormalIndex, geometricNormals),
                        output, ring);
    }
    return true;
}

// One E-face per interior edge in the order the edges were first met: the last other face's
// corners (where it leaves, where it enters), then the first face's (leaving, entering).
bool fillEdgeFaces(const CornerTopology& topology, bool withNormals, ObjModel& output,
                   std::int32_t& nextFace) {
    for (std::int32_t first = 0; first < topology.numCorners; ++first) {
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

bool fillOutput(const ObjModel& input, const DooSabinPlan& plan, ObjModel& output) {
    const CornerTopology& topology = plan.topology;
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
    std::int32_t nextFace = input.numFaces;
    LastNormalIndices lastNormalIndex;
    return fillFaceFaces(input, topology, output, lastNormalIndex) &&
           fillVertexFaces(input, topology, plan.vertexFaces, lastNormalIndex, output, nextFace) &&
           fillEdgeFaces(topology, carriesNormals(input), output, nextFace);
}

StepResult gatherPlan(const ObjModel& input, DooSabinPlan& plan) {
    const TopologyResult gathered = gatherCornerTopology(input, plan.topology);
    if (gathered == TopologyResult::invalidModel) return StepResult::invalidInput;
    if (gathered == TopologyResult::tooManyCorners) return StepResult::countsTooLarge;
    gatherVertexFaces(input.numVertices, plan.topology, plan.vertexFaces);
    plan.outputSize = refinedSize(input, plan.topology, plan.vertexFaces);
    if (!fitsRecordCounts(plan.outputSize)) return StepResult::countsTooLarge;
    return StepResult::built;
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

StepResult buildDooSabinStep(const ObjModel& input, const DooSabinPlan& plan, ObjModel& output) {
    bool filled = false;
    try {
        filled = fillOutput(input, plan, output);
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
    // Counted with one entry to spare, as the topology's per-vertex arrays are.
    const std::uint64_t lastNormals = sizeof(LastNormalIndices::value_type) * (vertices + 1);
    const std::uint64_t corners = static_cast<std::uint64_t>(input.corners);
    const std::uint64_t gathered =
        sizeof(std::int32_t) * corners +
        (sizeof(std::int32_t) + sizeof(std::uint8_t)) * (mostVertexFaces(corners) + 1);
    const std::uint64_t faceNormals =
        input.normals == 0 ? sizeof(GeometricNormals::value_type) * faces : 0;
    return topology + gathered + lastNormals + faceNormals;
}
