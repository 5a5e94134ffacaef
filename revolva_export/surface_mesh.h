// The surface of revolution as a triangle mesh for other programs and for printers: the very
// samples Revolva draws (surfacePoint and surfaceNormal at its columns and curve samples), each
// distinct sample one vertex, so that neighbouring triangles share their edges. Optionally the
// round surface instead of the shown one, ends off the axis closed when that makes a solid, and
// the whole turned upside down.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "generatrix_curve.h"
#include "vector3.h"

struct MeshSettings {
    int curveSamples = 10;  // Nv, at least 2
    int turnSamples = 10;   // Nu, at least 5: Nu - 1 columns around the axis
    bool round = false;     // each quarter turn a circular arc, not the shown surface
    bool caps = false;      // close ends off the axis: flat discs, else one band joining them
    bool flip = false;      // turned upside down, half a turn about the x axis
};

using Float3 = Vec3f;

struct MeshTriangle {
    std::int32_t vertex[3];  // counter-clockwise seen from the side the normals face
    std::int32_t normal[3];
};

// What the mesh is and why it is open when it is.
struct MeshSummary {
    std::int64_t edges = 0;
    bool closed = false;  // a solid: the profile bounds one (see judgeProfile), and every edge
                          // joins two triangles, each directed edge used once
    double volume = 0.0;  // enclosed volume, positive, when closed; 0 otherwise
    // When closed and one vertex alone is at the lowest z, the solid stands on that point:
    // the height of the next lowest vertices above it; 0 otherwise.
    double riseAboveLowestPoint = 0.0;
    std::string openReason;  // when not closed: why, in one sentence
};

struct SurfaceMesh {
    std::vector<Float3> vertices;
    std::vector<Float3> normals;
    std::vector<MeshTriangle> triangles;
    // The vertex of sample (i, j), column i around the axis, sample j along the curve, at
    // i * curveSamples + j; -1 where the sample is in no triangle (a non-finite point).
    std::vector<std::int32_t> sampleVertex;
    int poles = 0;                      // curve samples on the axis, one vertex each
    int cuts = 0;                       // places where the weight sum changes sign
    std::int64_t leftOutTriangles = 0;  // of zero area or with non-finite corners
    MeshSummary summary;
};

// The mesh of the surface swept by `curve` (at least two control points) with `settings`
// (sample counts within their bounds). Where the weight sum changes sign between two curve
// samples the band is cut there, as Revolva draws it. Closed only when it is a solid: the
// weight sum has no zero on [0, 1] and the profile, closed as judgeProfile chooses, is a simple
// loop; a closed mesh is oriented outwards.
SurfaceMesh buildSurfaceMesh(const GeneratrixCurve& curve, const MeshSettings& settings);
