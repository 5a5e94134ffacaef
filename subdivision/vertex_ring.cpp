// Ordering of V-faces. The placement rule is applied exactly as stated, but the earliest
// qualifying corner is found from the most clockwise candidate of one sweep, so that a ring of
// n corners costs about n * n turn tests instead of n * n * n.
#include "vertex_ring.h"

#include <cmath>

#include "face_geometry.h"

namespace {

// The ring's corner count, normal and positions (x, y, z), gathered once from the model.
struct Ring {
    std::int32_t size;
    Vec3f normal;
    const Vec3f* positions;
};

Ring gatherRing(const ObjFace& face, Vec3f normal, const ObjModel& model, RingScratch& scratch) {
    scratch.positions.resize(static_cast<std::size_t>(face.numVertices));
    for (std::int32_t i = 0; i < face.numVertices; ++i) {
        const Vec4f& p = model.vertices[face.vertexIndices[i]];
        scratch.positions[i] = {p.x, p.y, p.z};
    }
    return {face.numVertices, normal, scratch.positions.data()};
}

const Vec3f& positionAt(const Ring& ring, std::int32_t listPosition) {
    return ring.positions[listPosition];
}

// N . ((Pi - P0) x (Pk - Pi)) in single precision: below zero when corner k lies strictly to
// the right of the line from the anchor through corner i, seen along N.
float turnValue(const Ring& ring, std::int32_t i, std::int32_t k) {
    const Vec3f& pi = positionAt(ring, i);
    const Vec3f fromAnchor = between(positionAt(ring, 0), pi);
    return dot(ring.normal, cross(fromAnchor, between(pi, positionAt(ring, k))));
}

bool rightOf(const Ring& ring, std::int32_t i, std::int32_t k) {
    return turnValue(ring, i, k) < 0.0f;
}

// True when no other remaining corner lies strictly right of corner i's line. Any witness
// disproves it, so `likelyWitness` (or -1) is tried before the rest.
bool qualifies(const Ring& ring, const std::vector<std::int32_t>& remaining, std::int32_t i,
               std::int32_t likelyWitness) {
    if (likelyWitness >= 0 && likelyWitness != i && rightOf(ring, i, likelyWitness)) return false;
    for (const std::int32_t k : remaining) {
        if (k != i && rightOf(ring, i, k)) return false;
    }
    return true;
}

// Index into `remaining` of the earliest corner that qualifies, -1 when none does. The most
// clockwise corner of one sweep usually qualifies; only corners listed before it can then
// win, and each of them is usually disproved by that corner at once.
std::int32_t firstQualifying(const Ring& ring, const std::vector<std::int32_t>& remaining) {
    const auto count = static_cast<std::int32_t>(remaining.size());
    std::int32_t sweep = 0;
    for (std::int32_t t = 1; t < count; ++t) {
        if (rightOf(ring, remaining[sweep], remaining[t])) sweep = t;
    }
    if (qualifies(ring, remaining, remaining[sweep], -1)) {
        for (std::int32_t t = 0; t < sweep; ++t) {
            if (qualifies(ring, remaining, remaining[t], remaining[sweep])) return t;
        }
        return sweep;
    }
    for (std::int32_t t = 0; t < count; ++t) {
        if (t != sweep && qualifies(ring, remaining, remaining[t], -1)) return t;
    }
    return -1;
}

void permute(std::int32_t* indices, const std::vector<std::int32_t>& order,
             std::vector<std::int32_t>& buffer) {
    if (indices == nullptr) return;
    buffer.resize(order.size());
    for (std::size_t p = 0; p < order.size(); ++p) buffer[p] = indices[order[p]];
    for (std::size_t p = 0; p < order.size(); ++p) indices[p] = buffer[p];
}

void applyOrder(ObjFace& face, RingScratch& scratch) {
    permute(face.vertexIndices, scratch.order, scratch.reordered);
    permute(face.normalIndices, scratch.order, scratch.reordered);
}

// The angular order is formed in double precision throughout, its unit vectors scaled by the
// reciprocal of their length (scaleToUnitByReciprocal): the order of nearly collinear corners
// depends on those last bits, and the order of every V-face written so far is fixed by them.
// Two unit axes spanning the plane across `unitNormal`, turning counter-clockwise about it.
void planeAxes(Vec3d unitNormal, Vec3d& u, Vec3d& w) {
    const double ax = std::fabs(unitNormal.x), ay = std::fabs(unitNormal.y);
    const double az = std::fabs(unitNormal.z);
    const Vec3d across = (ax <= ay && ax <= az) ? Vec3d{1, 0, 0}
                         : (ay <= az)           ? Vec3d{0, 1, 0}
                                                : Vec3d{0, 0, 1};
    u = cross(unitNormal, across);
    scaleToUnitByReciprocal(u);  // never fails: `across` is the axis least in line with the normal
    w = cross(unitNormal, u);
}

// The mean of the ring's positions summed in double (centroidOfDoubleSum), not faceCentroid,
// which rounds each weighed corner to single precision as it adds it: the angles below are
// measured about this point, and moving it by one rounding would reorder corners that lie
// nearly in line with it.
Vec3d ringCenter(const Ring& ring) {
    return centroidOfDoubleSum(ring.size,
                               [&](int i) -> const Vec3f& { return positionAt(ring, i); });
}

// Angle of each corner about the ring's centre, measured from the anchor's, in [0, 2 pi);
// a corner whose angle is not a number goes last.
void fillAngles(const Ring& ring, Vec3d unitNormal, std::vector<double>& angles) {
    const std::int32_t n = ring.size;
    const Vec3d center = ringCenter(ring);
    Vec3d u, w;
    planeAxes(unitNormal, u, w);
    const double fullTurn = 2.0 * std::acos(-1.0);
    angles.resize(static_cast<std::size_t>(n));
    double anchorAngle = 0.0;
    for (std::int32_t i = 0; i < n; ++i) {
        const Vec3f& p = positionAt(ring, i);
        const Vec3d d = {p.x - center.x, p.y - center.y, p.z - center.z};
        const double angle = std::atan2(dot(d, w), dot(d, u));
        if (i == 0) anchorAngle = angle;
        double relative = angle - anchorAngle;
        if (relative < 0.0) relative += fullTurn;
        angles[i] = (relative >= 0.0 && relative <= fullTurn) ? relative : 2.0 * fullTurn;
    }
}

void orderByAngle(const Ring& ring, RingScratch& scratch) {
    const std::int32_t n = ring.size;
    scratch.order.resize(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) scratch.order[i] = i;
    Vec3d unitNormal = toDouble(ring.normal);
    if (!scaleToUnitByReciprocal(unitNormal)) return;
    fillAngles(ring, unitNormal, scratch.angles);
    // Insertion sort: stable, and sound whatever the keys.
    for (std::int32_t i = 2; i < n; ++i) {
        const std::int32_t corner = scratch.order[i];
        std::int32_t j = i;
        for (; j > 1 && scratch.angles[scratch.order[j - 1]] > scratch.angles[corner]; --j) {
            scratch.order[j] = scratch.order[j - 1];
        }
        scratch.order[j] = corner;
    }
}

}  // namespace

void orderVertexRing(ObjFace& face, Vec3f normal, const ObjModel& model, RingScratch& scratch) {
    const std::int32_t n = face.numVertices;
    if (n <= 2) return;
    const Ring ring = gatherRing(face, normal, model, scratch);
    scratch.order.assign(1, 0);
    scratch.remaining.clear();
    for (std::int32_t i = 1; i < n; ++i) scratch.remaining.push_back(i);
    while (!scratch.remaining.empty()) {
        const std::int32_t t = firstQualifying(ring, scratch.remaining);
        if (t < 0) {
            orderByAngle(ring, scratch);
            break;
        }
        scratch.order.push_back(scratch.remaining[t]);
        scratch.remaining.erase(scratch.remaining.begin() + t);
    }
    applyOrder(face, scratch);
}

void orderVertexRing(ObjFace& face, Vec3f normal, const ObjModel& model) {
    RingScratch scratch;
    orderVertexRing(face, normal, model, scratch);
}

void orderRingByAngle(ObjFace& face, Vec3f normal, const ObjModel& model) {
    if (face.numVertices <= 2) return;
    RingScratch scratch;
    orderByAngle(gatherRing(face, normal, model, scratch), scratch);
    applyOrder(face, scratch);
}
