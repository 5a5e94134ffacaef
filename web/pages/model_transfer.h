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

// A block being turned back into a model record, a slice at a time: first its points (vertices,
// texture coordinates and normals, in that order), then its faces.
struct ModelUnpacking {
    const std::uint8_t* block = nullptr;
    ObjModel* model = nullptr;  // from new ObjModel{}, owned until taken; numFaces counts the
                                // faces unpacked so far, so that it can be released at any time
    std::int32_t totalFaces = 0;
    std::size_t pointsCopied = 0;
    std::size_t nextCorner = 0;
};

// Obtains the record and its arrays, copying nothing yet; false, holding nothing, when memory
// runs out.
bool beginUnpacking(const std::uint8_t* block, ModelUnpacking& unpacking);

// Copies the next slice: up to pointsPerFace * `count` points while points are left, else up
// to `count` faces; false when memory runs out (the record is then released).
bool unpackSlice(ModelUnpacking& unpacking, std::int32_t count);

// Unpacks everything at once; false when memory runs out (the record is then released).
bool unpackAll(ModelUnpacking& unpacking);

// The points and faces still to unpack.
std::int64_t unpackingLeft(const ModelUnpacking& unpacking);

// Releases a record not taken (safe when there is none).
void abandonUnpacking(ModelUnpacking& unpacking);

// Releases the index lists of up to `count` faces of the model, from its last face back, and
// the model itself (setting it null) once none is left; returns the faces left. Letting a model
// of millions of faces go a slice at a time keeps each task short.
std::int32_t releaseFaces(ObjModel*& model, std::int32_t count);
