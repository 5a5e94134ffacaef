// The corners at one vertex in the order of the faces around it. Where those faces join up
// edge by edge into one fan, a V-face that follows the fan shares each of its sides with the
// E-face of one edge at the vertex, walked the other way, whatever the shape of the
// neighbourhood: saddles and folds included.
#pragma once

#include <cstdint>
#include <vector>

#include "corner_topology.h"

// One corner at the vertex: its number, the corner before it in its face, its edge partner
// (as the corner topology holds it) and its face.
struct FanCorner {
    std::int32_t number;
    std::int32_t before;
    std::int32_t partner;
    std::int32_t face;
};

// Scratch of the fan search, kept by a caller that visits many vertices to spare allocations.
struct FanScratch {
    std::vector<FanCorner> corners;   // the corners at the vertex, in increasing number
    std::vector<std::int32_t> order;  // their corner numbers in fan order
};

// True when the faces at `vertex` form one fan: every edge at the vertex is walked exactly once
// each way, by two different faces, and turning from corner to corner across those edges
// meets every corner at the vertex once before it comes back. `scratch.order` then holds the
// corner numbers starting at the vertex's first corner (the lowest numbered), each followed by
// the corner whose face leaves the vertex along the edge by which the previous corner's face
// came in: the turn of the faces themselves, so that the V-face winds as they do. False for
// any other vertex (a boundary, a pinch where two fans meet, an edge walked twice one way or
// by three faces, a face that comes back to the vertex at once); `scratch.order` is then
// unspecified.
bool orderAlongFan(const CornerTopology& topology, std::int32_t vertex, FanScratch& scratch);
