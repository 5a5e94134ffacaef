// The edges of a polygon model in the order in which a walk over its faces first meets them,
// each with the corners of the first face that walked it and of the last other one. The step
// itself pairs corners through its corner topology and never builds this table; the table
// lives with the tests, where the plain reference step fills it by scanning and
// buildEdgeTable derives it from the corner topology, so that the two can be compared.
#pragma once

#include <cstdint>
#include <vector>

#include "obj_model.h"

// Corner numbers count across the faces in order (corner j of face f is the sum of the corner
// counts of faces 0 to f - 1, plus j). The normal fields repeat the corner numbers, which are
// also the new normals' indices; the second face's fields are -1 while no second face is met.
struct EdgeRecord {
    std::int32_t vertexA;     // vertex at which the first face enters the edge
    std::int32_t vertexB;     // vertex at which it leaves it
    std::int32_t firstFrom;   // the first face's corner at vertexA
    std::int32_t firstTo;     // its corner at vertexB
    std::int32_t secondFrom;  // the last other face's corner where it enters the edge
    std::int32_t secondTo;    // its corner where it leaves the edge
    std::int32_t firstFromNormal;
    std::int32_t firstToNormal;
    std::int32_t secondFromNormal;
    std::int32_t secondToNormal;
};

using EdgeTable = std::vector<EdgeRecord>;

// True when a second face met the edge.
inline bool isInteriorEdge(const EdgeRecord& edge) {
    return edge.secondFrom >= 0 && edge.secondTo >= 0;
}

// Index of the first record joining a and b (either way), scanning from the start; -1 if none.
std::int32_t findEdge(const EdgeTable& table, std::int32_t a, std::int32_t b);

// True at the first record, scanning from the start, that touches v and has no second face;
// false when there is none (so also for a vertex that no record mentions).
bool isBoundaryVertex(const EdgeTable& table, std::int32_t v);

// The model's edge table, built in time linear in the model's size; the same records in the
// same order as looking each corner's edge up with findEdge and appending or overwriting.
// Empty for a model that breaks the record's rules or has more than 2^31 - 1 corners.
EdgeTable buildEdgeTable(const ObjModel& model);
