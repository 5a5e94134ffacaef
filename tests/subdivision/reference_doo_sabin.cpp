// The plain Doo-Sabin step. It shares with the real one only what lies outside the
// neighbourhood search: the normal fallbacks and the angular ordering of rings that no
// corner can start. Fans are found by scanning every face for the walkers of each edge.
#include "reference_doo_sabin.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "face_normals.h"
#include "vertex_ring.h"

namespace {

std::int32_t* obtainIndices(std::int32_t n) {
    return n == 0 ? nullptr
                  : static_cast<std::int32_t*>(std::malloc(sizeof(std::int32_t) * std::size_t(n)));
}

void setUpFace(ObjFace& face, std::int32_t n, bool withNormals, float r, float g, float b) {
    face.color[0] = r;
    face.color[1] = g;
    face.color[2] = b;
    face.primitive = primitiveForCorners(n);
    face.numVertices = n;
    face.vertexIndices = obtainIndices(n);
    face.normalIndices = withNormals ? obtainIndices(n) : nullptr;
}

Vec3f keepUnlessUnit(Vec3f v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length > 0.0f && std::isfinite(length)) return {v.x / length, v.y / length, v.z / length};
    return v;
}

// A corner of the input: its number, its face, and the vertices before and after it there.
struct PlainCorner {
    std::int32_t number, face, before, after;
};

// Every corner that walks the edge from a to b, found by scanning all faces.
std::vector<PlainCorner> walkersOf(const ObjModel& input, std::int32_t a, std::int32_t b) {
    std::vector<PlainCorner> walkers;
    std::int32_t corner = 0;
    for (std::int32_t f = 0; f < input.numFaces; ++f) {
        const ObjFace& face = input.faces[f];
        const std::int32_t n = face.numVertices;
        for (std::int32_t j = 0; j < n; ++j, ++corner) {
            if (face.vertexIndices[j] == a && face.vertexIndices[(j + 1) % n] == b) {
                walkers.push_back({corner, f, face.vertexIndices[(j + n - 1) % n], b});
            }
        }
    }
    return walkers;
}

// The corners at v over all faces, in face order, with the reference normal of their ring:
// the normal of the last corner, or without normals the sum of the faces' Newell normals.
std::vector<PlainCorner> gatherCorners(const ObjModel& input, std::int32_t v, Vec3f& reference) {
    std::vector<PlainCorner> gathered;
    std::int32_t corner = 0;
    reference = {0, 0, 0};
    for (std::int32_t f = 0; f < input.numFaces; ++f) {
        const ObjFace& face = input.faces[f];
        const std::int32_t size = face.numVertices;
        for (std::int32_t j = 0; j < size; ++j, ++corner) {
            if (face.vertexIndices[j] != v) continue;
            gathered.push_back({corner, f, face.vertexIndices[(j + size - 1) % size],
                                face.vertexIndices[(j + 1) % size]});
            if (input.hasNormals != 0) {
                reference = input.normals[face.normalIndices[j]];
            } else {
                const Vec3f n = newellNormal(face, input.vertices);
                reference = {reference.x + n.x, reference.y + n.y, reference.z + n.z};
            }
        }
    }
    if (input.hasNormals == 0) reference = normalizedOr(reference, {0, 0, 0});
    return gathered;
}

std::size_t positionIn(const std::vector<PlainCorner>& gathered, std::int32_t number) {
    std::size_t i = 0;
    while (gathered[i].number != number) ++i;
    return i;
}

// The gathered corners at v split into the fans of faces about v, when they split so: from
// each corner on to the corner whose face walks back the edge by which its own face came in,
// each such edge walked exactly once each way and by two faces, until the turn comes back.
// Fans start at their lowest corner, in that order.
bool plainFans(const ObjModel& input, std::int32_t v, const std::vector<PlainCorner>& gathered,
               std::vector<std::vector<std::int32_t>>& fans) {
    fans.clear();
    std::vector<bool> placed(gathered.size(), false);
    for (std::size_t start = 0; start < gathered.size(); ++start) {
        if (placed[start]) continue;
        fans.emplace_back();
        std::size_t at = start;
        do {
            if (placed[at]) return false;
            placed[at] = true;
            const PlainCorner& here = gathered[at];
            fans.back().push_back(here.number);
            if (here.before == v || walkersOf(input, here.before, v).size() != 1) return false;
            const std::vector<PlainCorner> back = walkersOf(input, v, here.before);
            if (back.size() != 1 || back[0].face == here.face) return false;
            at = positionIn(gathered, back[0].number);
        } while (at != start);
    }
    return true;
}

// The V-faces of v as lists of corners, and whether they follow fans (else the one list is in
// gathered order, to be ordered by position): a face per fan of three corners or more; when
// the faces do not split into fans, one of all corners if there are three or more.
bool plainVertexFaces(const ObjModel& input, const EdgeTable& edges, std::int32_t v,
                      std::vector<std::vector<std::int32_t>>& faces, Vec3f& reference) {
    faces.clear();
    if (isBoundaryVertex(edges, v)) return true;
    const std::vector<PlainCorner> gathered = gatherCorners(input, v, reference);
    std::vector<std::vector<std::int32_t>> fans;
    if (plainFans(input, v, gathered, fans)) {
        for (const auto& fan : fans) {
            if (fan.size() >= 3) faces.push_back(fan);
        }
        return true;
    }
    if (gathered.size() < 3) return true;
    faces.emplace_back();
    for (const PlainCorner& c : gathered) faces.back().push_back(c.number);
    return false;
}

}  // namespace

void referenceOrderVertexRing(ObjFace& face, Vec3f normal, const ObjModel& model) {
    const std::int32_t n = face.numVertices;
    if (n <= 2) return;
    auto position = [&](std::int32_t i) { return model.vertices[face.vertexIndices[i]]; };
    const Vec4f p0 = position(0);
    std::vector<bool> placed(std::size_t(n), false);
    std::vector<std::int32_t> order = {0};
    placed[0] = true;
    for (std::int32_t p = 1; p < n; ++p) {
        std::int32_t chosen = -1;
        for (std::int32_t i = 1; i < n && chosen < 0; ++i) {
            if (placed[i]) continue;
            bool qualifies = true;
            for (std::int32_t k = 1; k < n && qualifies; ++k) {
                if (k == i || placed[k]) continue;
                const Vec4f pi = position(i), pk = position(k);
                const float ax = pi.x - p0.x, ay = pi.y - p0.y, az = pi.z - p0.z;
                const float bx = pk.x - pi.x, by = pk.y - pi.y, bz = pk.z - pi.z;
                const float cx = ay * bz - az * by;
                const float cy = az * bx - ax * bz;
                const float cz = ax * by - ay * bx;
                const float s = normal.x * cx + normal.y * cy + normal.z * cz;
                if (s < 0.0f) qualifies = false;
            }
            if (qualifies) chosen = i;
        }
        if (chosen < 0) {
            orderRingByAngle(face, normal, model);
            return;
        }
        placed[chosen] = true;
        order.push_back(chosen);
    }
    std::vector<std::int32_t> vertices(order.size()), normals(order.size());
    for (std::size_t p = 0; p < order.size(); ++p) {
        vertices[p] = face.vertexIndices[order[p]];
        if (face.normalIndices != nullptr) normals[p] = face.normalIndices[order[p]];
    }
    for (std::size_t p = 0; p < order.size(); ++p) {
        face.vertexIndices[p] = vertices[p];
        if (face.normalIndices != nullptr) face.normalIndices[p] = normals[p];
    }
}

void referenceDooSabinStep(const ObjModel& input, ObjModel& output, EdgeTable& edges) {
    const bool withNormals = input.hasNormals != 0;
    edges.clear();
    std::vector<Vec4f> centroids(std::size_t(input.numFaces), Vec4f{0, 0, 0, 0});
    std::vector<Vec3f> faceNormals(std::size_t(input.numFaces), Vec3f{0, 0, 0});

    // Pass 1: edge table, centroids and face normals.
    std::int32_t c = 0;
    for (std::int32_t f = 0; f < input.numFaces; ++f) {
        const ObjFace& face = input.faces[f];
        const std::int32_t n = face.numVertices;
        const float q = n > 0 ? 1.0f / float(n) : 0.0f;
        for (std::int32_t j = 0; j < n; ++j, ++c) {
            const std::int32_t a = face.vertexIndices[j];
            const std::int32_t b = face.vertexIndices[j + 1 == n ? 0 : j + 1];
            const std::int32_t cNext = j + 1 == n ? c - n + 1 : c + 1;
            const std::int32_t found = findEdge(edges, a, b);
            if (found < 0) {
                edges.push_back({a, b, c, cNext, -1, -1, c, cNext, -1, -1});
            } else {
                EdgeRecord& edge = edges[std::size_t(found)];
                edge.secondFrom = edge.secondFromNormal = c;
                edge.secondTo = edge.secondToNormal = cNext;
            }
            const Vec4f& v = input.vertices[a];
            Vec4f& centroid = centroids[f];
            centroid = {centroid.x + q * v.x, centroid.y + q * v.y, centroid.z + q * v.z,
                        centroid.w + q * v.w};
            if (withNormals) {
                const Vec3f& nn = input.normals[face.normalIndices[j]];
                Vec3f& fn = faceNormals[f];
                fn = keepUnlessUnit({fn.x + q * nn.x, fn.y + q * nn.y, fn.z + q * nn.z});
            }
        }
    }

    // Counting and storage.
    std::int32_t vertexFaces = 0, edgeFaces = 0;
    std::vector<std::vector<std::int32_t>> faces;
    Vec3f reference;
    for (std::int32_t v = 0; v < input.numVertices; ++v) {
        plainVertexFaces(input, edges, v, faces, reference);
        vertexFaces += std::int32_t(faces.size());
    }
    for (const EdgeRecord& edge : edges) edgeFaces += isInteriorEdge(edge);
    output = ObjModel{};
    output.numVertices = c;
    output.numNormals = withNormals ? c : 0;
    output.numFaces = input.numFaces + vertexFaces + edgeFaces;
    output.hasNormals = output.numNormals > 0 ? 1 : 0;
    allocateModelArrays(&output);

    // Pass 2: new vertices, new normals, F-faces.
    c = 0;
    for (std::int32_t f = 0; f < input.numFaces; ++f) {
        const ObjFace& face = input.faces[f];
        ObjFace& made = output.faces[f];
        setUpFace(made, face.numVertices, withNormals, 1, 0, 0);
        for (std::int32_t j = 0; j < face.numVertices; ++j, ++c) {
            const Vec4f& a = input.vertices[face.vertexIndices[j]];
            const Vec4f& m = centroids[f];
            output.vertices[c] = {0.5f * a.x + 0.5f * m.x, 0.5f * a.y + 0.5f * m.y,
                                  0.5f * a.z + 0.5f * m.z, 0.5f * a.w + 0.5f * m.w};
            if (withNormals) {
                output.normals[c] = newCornerNormal(input.normals[face.normalIndices[j]],
                                                    faceNormals[f], face, input.vertices);
                made.normalIndices[j] = c;
            }
            made.vertexIndices[j] = c;
        }
    }

    // Pass 3: V-faces.
    std::int32_t next = input.numFaces;
    for (std::int32_t v = 0; v < input.numVertices; ++v) {
        const bool alongFans = plainVertexFaces(input, edges, v, faces, reference);
        for (const auto& corners : faces) {
            ObjFace& made = output.faces[next++];
            setUpFace(made, std::int32_t(corners.size()), withNormals, 0, 0, 1);
            for (std::size_t i = 0; i < corners.size(); ++i) {
                made.vertexIndices[i] = corners[i];
                if (withNormals) made.normalIndices[i] = corners[i];
            }
            if (!alongFans) referenceOrderVertexRing(made, reference, output);
        }
    }

    // Pass 4: E-faces.
    for (const EdgeRecord& edge : edges) {
        if (!isInteriorEdge(edge)) continue;
        ObjFace& made = output.faces[next++];
        setUpFace(made, 4, withNormals, 0, 1, 0);
        const std::int32_t corners[4] = {edge.secondTo, edge.secondFrom, edge.firstTo,
                                         edge.firstFrom};
        const std::int32_t normals[4] = {edge.secondToNormal, edge.secondFromNormal,
                                         edge.firstToNormal, edge.firstFromNormal};
        for (int j = 0; j < 4; ++j) {
            made.vertexIndices[j] = corners[j];
            if (withNormals) made.normalIndices[j] = normals[j];
        }
    }
}
