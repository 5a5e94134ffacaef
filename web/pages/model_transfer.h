// A polygon model as one flat block, for handing it between the page's program and the worker
// that builds its levels (as a transferable ArrayBuffer), and back into a model record face
// slice by face slice, so that taking in a model of millions of faces never holds the page.
#pragma once

#include <cstddef>
#include <cstdint>

#include "obj_model.h"

// Packs the model into one malloc'd block: its counts, then its vertices, texture coordinates
// and normals, each face's colour, primitive and corner count, and the index lists of all
// faces one after the other. Null when memory runs out.
std::uint8_t* packModel(const ObjModel& model);

// The size in bytes of a packed block, from its counts.
std::size_t packedModelBytes(const std::uint8_t* block);

// A block being turned back into a model record.
struct ModelUnpacking {
    const std::uint8_t* block = nullptr;
    ObjModel* model = nullptr;  // from new ObjModel{}, owned until taken
    std::int32_t nextFace = 0;
    std::size_t nextCorner = 0;
};

// Obtains the record and its arrays and copies the points; false, holding nothing, when
// memory runs out.
bool beginUnpacking(const std::uint8_t* block, ModelUnpacking& unpacking);

// Unpacks up to `count` more faces; false when memory runs out (the record is then released).
bool unpackFaces(ModelUnpacking& unpacking, std::int32_t count);

// The faces still to unpack.
std::int32_t facesLeft(const ModelUnpacking& unpacking);

// Releases a record not taken (safe when there is none).
void abandonUnpacking(ModelUnpacking& unpacking);
