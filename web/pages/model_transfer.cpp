// The block is 32-bit words throughout: a header of counts, then the arrays in the order of the
// record, so that the page's JavaScript can copy it whole and the other side can read it as is.
#include "model_transfer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

struct PackedHeader {
    std::int32_t numVertices;
    std::int32_t numTexCoords;
    std::int32_t numNormals;
    std::int32_t numFaces;
    std::int32_t hasTexCoords;
    std::int32_t hasNormals;
    std::uint32_t corners;  // the faces' corner counts summed
    std::uint32_t bytes;    // the whole block
};

// Byte offsets of the block's sections.
struct PackedLayout {
    std::size_t vertices, texCoords, normals, colors, primitives, cornerCounts;
    std::size_t vertexIndices, texCoordIndices, normalIndices, end;
};

PackedLayout layoutOf(const PackedHeader& h) {
    const std::size_t word = 4, corners = h.corners;
    PackedLayout l{};
    l.vertices = sizeof(PackedHeader);
    l.texCoords = l.vertices + std::size_t(h.numVertices) * 4 * word;
    l.normals = l.texCoords + std::size_t(h.numTexCoords) * 3 * word;
    l.colors = l.normals + std::size_t(h.numNormals) * 3 * word;
    l.primitives = l.colors + std::size_t(h.numFaces) * 3 * word;
    l.cornerCounts = l.primitives + std::size_t(h.numFaces) * word;
    l.vertexIndices = l.cornerCounts + std::size_t(h.numFaces) * word;
    l.texCoordIndices = l.vertexIndices + corners * word;
    l.normalIndices = l.texCoordIndices + (h.hasTexCoords ? corners * word : 0);
    l.end = l.normalIndices + (h.hasNormals ? corners * word : 0);
    return l;
}

PackedHeader headerOf(const std::uint8_t* block) {
    PackedHeader h;
    std::memcpy(&h, block, sizeof h);
    return h;
}

template <typename T>
void put(std::uint8_t* block, std::size_t offset, const T* values, std::size_t count) {
    if (count > 0) std::memcpy(block + offset, values, count * sizeof(T));
}

// One malloc'd index list of a face, as the loader makes them (freeModelArrays frees it).
bool copyIndexList(std::int32_t*& list, const std::uint8_t* from, std::int32_t count) {
    if (count <= 0) return true;
    list = static_cast<std::int32_t*>(std::malloc(std::size_t(count) * sizeof(std::int32_t)));
    if (list == nullptr) return false;
    std::memcpy(list, from, std::size_t(count) * sizeof(std::int32_t));
    return true;
}

}  // namespace

std::uint8_t* packModel(const ObjModel& m) {
    PackedHeader h{m.numVertices,
                   m.numTexCoords,
                   m.numNormals,
                   m.numFaces,
                   m.hasTexCoords,
                   m.hasNormals,
                   0,
                   0};
    for (std::int32_t f = 0; f < m.numFaces; ++f)
        h.corners += static_cast<std::uint32_t>(m.faces[f].numVertices);
    const PackedLayout l = layoutOf(h);
    h.bytes = static_cast<std::uint32_t>(l.end);
    auto* block = static_cast<std::uint8_t*>(std::malloc(l.end));
    if (block == nullptr) return nullptr;
    std::memcpy(block, &h, sizeof h);
    put(block, l.vertices, m.vertices, std::size_t(m.numVertices));
    put(block, l.texCoords, m.texCoords, std::size_t(m.numTexCoords));
    put(block, l.normals, m.normals, std::size_t(m.numNormals));
    std::size_t corner = 0;
    for (std::int32_t f = 0; f < m.numFaces; ++f) {
        const ObjFace& face = m.faces[f];
        const std::size_t n = std::size_t(face.numVertices);
        put(block, l.colors + std::size_t(f) * 12, face.color, 3);
        put(block, l.primitives + std::size_t(f) * 4, &face.primitive, 1);
        put(block, l.cornerCounts + std::size_t(f) * 4, &face.numVertices, 1);
        put(block, l.vertexIndices + corner * 4, face.vertexIndices, n);
        if (m.hasTexCoords) put(block, l.texCoordIndices + corner * 4, face.texCoordIndices, n);
        if (m.hasNormals) put(block, l.normalIndices + corner * 4, face.normalIndices, n);
        corner += n;
    }
    return block;
}

std::size_t packedModelBytes(const std::uint8_t* block) { return headerOf(block).bytes; }

namespace {

// Points (of any of the three arrays) copied per face of a slice: a point is one copy, a face
// a few allocations.
constexpr std::size_t pointsPerFace = 16;

// An array of the record, left as it was obtained, as the loader leaves arrays it fills.
template <typename T>
bool obtainArray(T*& field, std::int32_t count) {
    if (count <= 0) return true;
    field = static_cast<T*>(std::malloc(std::size_t(count) * sizeof(T)));
    return field != nullptr;
}

// One of the point arrays: where it goes in the record, where it is in the block, its size.
struct PointSection {
    std::uint8_t* to;
    std::size_t from;
    std::size_t count;
    std::size_t size;
};

// Copies up to `count` points from where the copy stands; returns how many it copied.
std::size_t copyPoints(ModelUnpacking& u, std::size_t count) {
    const PackedHeader h = headerOf(u.block);
    const PackedLayout l = layoutOf(h);
    ObjModel& m = *u.model;
    const PointSection sections[3] = {{reinterpret_cast<std::uint8_t*>(m.vertices), l.vertices,
                                       std::size_t(h.numVertices), sizeof(Vec4f)},
                                      {reinterpret_cast<std::uint8_t*>(m.texCoords), l.texCoords,
                                       std::size_t(h.numTexCoords), sizeof(Vec3f)},
                                      {reinterpret_cast<std::uint8_t*>(m.normals), l.normals,
                                       std::size_t(h.numNormals), sizeof(Vec3f)}};
    std::size_t copied = 0, before = 0;
    for (const PointSection& s : sections) {
        const std::size_t first = u.pointsCopied > before ? u.pointsCopied - before : 0;
        const std::size_t n = std::min(s.count - std::min(first, s.count), count - copied);
        if (n > 0)
            std::memcpy(s.to + first * s.size, u.block + s.from + first * s.size, n * s.size);
        copied += n;
        before += s.count;
    }
    u.pointsCopied += copied;
    return copied;
}

std::size_t pointsLeft(const ModelUnpacking& u) {
    const ObjModel& m = *u.model;
    return std::size_t(m.numVertices) + std::size_t(m.numTexCoords) + std::size_t(m.numNormals) -
           u.pointsCopied;
}

bool unpackFaces(ModelUnpacking& u, std::int32_t count) {
    const PackedHeader h = headerOf(u.block);
    const PackedLayout l = layoutOf(h);
    ObjModel& m = *u.model;
    const std::int32_t end = count < u.totalFaces - m.numFaces ? m.numFaces + count : u.totalFaces;
    while (m.numFaces < end) {
        ObjFace& face = m.faces[m.numFaces];
        const std::size_t f = std::size_t(m.numFaces);
        face = ObjFace{};
        std::memcpy(face.color, u.block + l.colors + f * 12, 12);
        std::memcpy(&face.primitive, u.block + l.primitives + f * 4, 4);
        std::memcpy(&face.numVertices, u.block + l.cornerCounts + f * 4, 4);
        ++m.numFaces;  // counted before its lists, so that a release frees those obtained
        const std::size_t at = u.nextCorner * 4;
        const bool copied =
            copyIndexList(face.vertexIndices, u.block + l.vertexIndices + at, face.numVertices) &&
            (!m.hasTexCoords ||
             copyIndexList(face.texCoordIndices, u.block + l.texCoordIndices + at,
                           face.numVertices)) &&
            (!m.hasNormals ||
             copyIndexList(face.normalIndices, u.block + l.normalIndices + at, face.numVertices));
        if (!copied) {
            abandonUnpacking(u);
            return false;
        }
        u.nextCorner += std::size_t(face.numVertices);
    }
    return true;
}

}  // namespace

bool beginUnpacking(const std::uint8_t* block, ModelUnpacking& u) {
    const PackedHeader h = headerOf(block);
    u = ModelUnpacking{block, new ObjModel{}, h.numFaces, 0, 0};
    ObjModel& m = *u.model;
    m.numVertices = h.numVertices;
    m.numTexCoords = h.numTexCoords;
    m.numNormals = h.numNormals;
    m.numFaces = 0;
    m.hasTexCoords = h.hasTexCoords;
    m.hasNormals = h.hasNormals;
    if (obtainArray(m.vertices, m.numVertices) && obtainArray(m.texCoords, m.numTexCoords) &&
        obtainArray(m.normals, m.numNormals) && obtainArray(m.faces, u.totalFaces))
        return true;
    abandonUnpacking(u);
    return false;
}

bool unpackSlice(ModelUnpacking& u, std::int32_t count) {
    if (u.model == nullptr) return false;
    if (pointsLeft(u) > 0) {
        copyPoints(u, std::size_t(count) * pointsPerFace);
        return true;
    }
    return unpackFaces(u, count);
}

bool unpackAll(ModelUnpacking& u) {
    if (u.model == nullptr) return false;
    copyPoints(u, pointsLeft(u));
    return unpackFaces(u, u.totalFaces);
}

std::int64_t unpackingLeft(const ModelUnpacking& u) {
    if (u.model == nullptr) return 0;
    return std::int64_t(pointsLeft(u)) + u.totalFaces - u.model->numFaces;
}

void abandonUnpacking(ModelUnpacking& u) {
    if (u.model != nullptr) {
        freeModelArrays(u.model);
        delete u.model;
    }
    u.model = nullptr;
}

std::int32_t releaseFaces(ObjModel*& model, std::int32_t count) {
    if (model == nullptr) return 0;
    const std::int32_t left = model->numFaces > count ? model->numFaces - count : 0;
    for (std::int32_t f = left; f < model->numFaces; ++f) {
        ObjFace& face = model->faces[f];
        for (std::int32_t* list : {face.vertexIndices, face.texCoordIndices, face.normalIndices})
            std::free(list);
    }
    model->numFaces = left;
    if (left > 0) return left;
    freeModelArrays(model);
    delete model;
    model = nullptr;
    return 0;
}
