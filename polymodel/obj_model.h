// The polygon mesh of Subdivo: a plain record of counts, flags and owned arrays whose faces
// index the shared vertex, texture-coordinate and normal arrays from zero, as OBJ files do.
#pragma once

#include <cstdint>

#include "vector3.h"

// OpenGL primitive numbers, kept here so that the record needs no GL header.
constexpr std::int32_t primitiveTriangles = 0x0004;  // GL_TRIANGLES
constexpr std::int32_t primitiveQuads = 0x0007;      // GL_QUADS
constexpr std::int32_t primitivePolygon = 0x0009;    // GL_POLYGON

struct ObjFace {
    float color[3];
    std::int32_t primitive;
    std::int32_t numVertices;       // number of corners
    std::int32_t* vertexIndices;    // numVertices entries
    std::int32_t* texCoordIndices;  // numVertices entries, or null when the model has none
    std::int32_t* normalIndices;    // numVertices entries, or null when the model has none
};

struct ObjModel {
    std::int32_t numVertices;
    std::int32_t numTexCoords;
    std::int32_t numNormals;
    std::int32_t numFaces;
    std::int32_t hasTexCoords;  // 0 or 1: every face carries texCoordIndices
    std::int32_t hasNormals;    // 0 or 1: every face carries normalIndices
    Vec4f* vertices;            // homogeneous positions
    Vec3f* texCoords;
    Vec3f* normals;
    ObjFace* faces;  // in file order
};

// The primitive a face of this many corners is drawn with: triangles, quads, else a polygon.
std::int32_t primitiveForCorners(std::int32_t corners);

// Obtains the four arrays for the counts set in the model, whose array fields must be null.
// Faces come zero-filled. A zero count leaves its array null. False as soon as one allocation
// fails; the arrays obtained so far stay in the model for freeModelArrays to release.
bool allocateModelArrays(ObjModel* model);

// Releases every array the model holds, face index arrays included, and nulls the fields.
// Counts and flags stay. Safe on a null model, on a released one and on partly filled faces.
void freeModelArrays(ObjModel* model);
