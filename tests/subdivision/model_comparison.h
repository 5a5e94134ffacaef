// Bit-for-bit comparison of two polygon models, naming the first field that differs.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "obj_model.h"

inline bool sameIndexList(const std::int32_t* a, const std::int32_t* b, std::int32_t n) {
    if (a == nullptr || b == nullptr) return a == b || n == 0;
    return std::memcmp(a, b, sizeof(std::int32_t) * std::size_t(n)) == 0;
}

inline testing::AssertionResult sameModel(const ObjModel& actual, const ObjModel& expected) {
    auto differs = [](const std::string& what) { return testing::AssertionFailure() << what; };
    if (actual.numVertices != expected.numVertices) return differs("numVertices");
    if (actual.numTexCoords != expected.numTexCoords) return differs("numTexCoords");
    if (actual.numNormals != expected.numNormals) return differs("numNormals");
    if (actual.numFaces != expected.numFaces) return differs("numFaces");
    if (actual.hasTexCoords != expected.hasTexCoords) return differs("hasTexCoords");
    if (actual.hasNormals != expected.hasNormals) return differs("hasNormals");
    if ((actual.texCoords == nullptr) != (expected.texCoords == nullptr))
        return differs("texCoords");
    if (actual.numVertices > 0 &&
        std::memcmp(actual.vertices, expected.vertices, sizeof(Vec4f) * actual.numVertices) != 0) {
        return differs("vertices");
    }
    if (actual.numTexCoords > 0 && std::memcmp(actual.texCoords, expected.texCoords,
                                               sizeof(Vec3f) * actual.numTexCoords) != 0) {
        return differs("texCoords");
    }
    if (actual.numNormals > 0 &&
        std::memcmp(actual.normals, expected.normals, sizeof(Vec3f) * actual.numNormals) != 0) {
        return differs("normals");
    }
    for (std::int32_t f = 0; f < actual.numFaces; ++f) {
        const ObjFace& a = actual.faces[f];
        const ObjFace& e = expected.faces[f];
        const std::string face = "face " + std::to_string(f) + ": ";
        if (std::memcmp(a.color, e.color, sizeof a.color) != 0) return differs(face + "color");
        if (a.primitive != e.primitive) return differs(face + "primitive");
        if (a.numVertices != e.numVertices) return differs(face + "numVertices");
        if (!sameIndexList(a.vertexIndices, e.vertexIndices, a.numVertices)) {
            return differs(face + "vertexIndices");
        }
        if (!sameIndexList(a.normalIndices, e.normalIndices, a.numVertices)) {
            return differs(face + "normalIndices");
        }
        if (!sameIndexList(a.texCoordIndices, e.texCoordIndices, a.numVertices)) {
            return differs(face + "texCoordIndices");
        }
    }
    return testing::AssertionSuccess();
}
