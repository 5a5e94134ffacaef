// Normal vectors of the subdivision step: safe normalisation, a face's geometric normal, and
// the normal of a new vertex with its fallbacks for sums that cancel out.
#pragma once

#include "obj_model.h"

// `v` divided by its Euclidean length (single precision); `fallback` when that length is zero
// or not finite, so that no NaN ever comes out of a cancelled or broken sum.
Vec3f normalizedOr(Vec3f v, Vec3f fallback);

// Newell's normal of the face's polygon (x, y, z of its corners in `vertices`): twice its area
// long, pointing to the side from which the corners turn counter-clockwise. Zero for a face of
// fewer than 3 corners or a degenerate one. The face's indices must lie in `vertices`.
Vec3f newellNormal(const ObjFace& face, const Vec4f* vertices);

// The unit normal of a new vertex: the half-sum of its corner's normal and its face's normal,
// normalised. When the two cancel, the face normal; failing that the face's Newell normal;
// failing that the y axis. Never NaN.
Vec3f newCornerNormal(Vec3f cornerNormal, Vec3f faceNormal, const ObjFace& face,
                      const Vec4f* vertices);
