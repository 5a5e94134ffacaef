// The corners at one vertex in the order of the faces around it. Where those faces join up
// edge by edge into fans, a V-face that follows a fan shares each of its sides with the E-face
// of one edge at the vertex, walked the other way, whatever the shape of the neighbourhood:
// saddles and folds included. A vertex where two fans meet (a pinch) has one fan per sheet.
#pragma once

#include <cstdint>
#include <vector>

#include "corner_topology.h"

// One corner at the vertex: its number, the corner before it in its face, its edge partner
// (as the corner topology holds it), its face, and whether a fan holds it yet.
struct FanCorner {
    std::int32_t number;
    std::int32_t before;
    std::int32_t partner;
    std::int32_t face;
    bool placed;
};

// Scratch of the fan search, kept by a caller that visits many vertices to spare allocations.
struct FanScratch {
    std::vector<FanCorner> corners;      // the corners at the vertex, in increasing number
    std::vector<std::uint8_t> placed;    // per corner above: already in a fan
    std::vector<std::int32_t> order;     // their corner numbers, fan after fan
    std::vector<std::int32_t> fanStart;  // each fan's first position in `order`, then its size
};

// True when the faces at `vertex` split into fans: every edge at the vertex is walked exactly
// once each way, by two different faces, so that turning from corner to corner across those
// edges comes back to where it started. `scratch` then holds the fans in the order of their
// lowest corner, each starting there and going on with the corner whose face leaves the vertex
// along the edge by which the previous corner's face came in: the turn of the faces
// themselves, so that a V-face winds as they do. One fan for a vertex of a manifold. False for
// any other vertex (a boundary, an edge walked twice one way or by three faces, a face that
// comes back to the vertex at once); `scratch` is then unspecified.
bool splitIntoFans(const CornerTopology& topology, std::int32_t vertex, FanScratch& scratch);

// Corners of the fan `i` found by splitIntoFans.
inline std::int32_t fanSize(const FanScratch& scratch, std::size_t i) {
    return scratch.fanStart[i + 1] - scratch.fanStart[i];
}
