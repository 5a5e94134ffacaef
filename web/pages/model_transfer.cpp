// The block is 32-bit words throughout: a header of counts, then the arrays in the order of the
// record, so that the page's JavaScript can copy it whole and the other side can read it as is.
#include "model_transfer.h"

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

bool beginUnpacking(const std::uint8_t* block, ModelUnpacking& u) {
    const PackedHeader h = headerOf(block);
    const PackedLayout l = layoutOf(h);
    u = ModelUnpacking{block, new ObjModel{}, 0, 0};
    ObjModel& m = *u.model;
    m.numVertices = h.numVertices;
    m.numTexCoords = h.numTexCoords;
    m.numNormals = h.numNormals;
    m.numFaces = h.numFaces;
    m.hasTexCoords = h.hasTexCoords;
    m.hasNormals = h.hasNormals;
    if (!allocateModelArrays(&m)) {
        abandonUnpacking(u);
        return false;
    }
    put(reinterpret_cast<std::uint8_t*>(m.vertices), 0,
        reinterpret_cast<const Vec4f*>(block + l.vertices), std::size_t(h.numVertices));
    put(reinterpret_cast<std::uint8_t*>(m.texCoords), 0,
        reinterpret_cast<const Vec3f*>(block + l.texCoords), std::size_t(h.numTexCoords));
    put(reinterpret_cast<std::uint8_t*>(m.normals), 0,
        reinterpret_cast<const Vec3f*>(block + l.normals), std::size_t(h.numNormals));
    return true;
}

bool unpackFaces(ModelUnpacking& u, std::int32_t count) {
    const PackedHeader h = headerOf(u.block);
    const PackedLayout l = layoutOf(h);
    ObjModel& m = *u.model;
    const std::int32_t end = count < facesLeft(u) ? u.nextFace + count : m.numFaces;
    for (; u.nextFace < end; ++u.nextFace) {
        ObjFace& face = m.faces[u.nextFace];
        const std::size_t f = std::size_t(u.nextFace);
        std::memcpy(face.color, u.block + l.colors + f * 12, 12);
        std::memcpy(&face.primitive, u.block + l.primitives + f * 4, 4);
        std::memcpy(&face.numVertices, u.block + l.cornerCounts + f * 4, 4);
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

std::int32_t facesLeft(const ModelUnpacking& u) {
    return u.model == nullptr ? 0 : u.model->numFaces - u.nextFace;
}

void abandonUnpacking(ModelUnpacking& u) {
    if (u.model != nullptr) {
        freeModelArrays(u.model);
        delete u.model;
    }
    u.model = nullptr;
}
