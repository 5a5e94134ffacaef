// A point or direction in 3D space, in double precision.
// Control points, curve and surface points and normals of the surface of revolution use it.
#pragma once

struct Point3d {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};
