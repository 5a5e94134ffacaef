// A point or direction in 3D space, in double precision: the control points, curve and surface
// points and normals of the surface of revolution.
#pragma once

#include "vector3.h"

using Point3d = Vec3d;
