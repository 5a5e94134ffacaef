// The mesh as a Wavefront OBJ text (positions, the surface's normals, faces that refer to both)
// or as a binary STL file (one record per triangle, millimetres), written to an open stream.
#pragma once

#include <cstdio>

#include "surface_mesh.h"

// Writes "# comment", the "v" and "vn" lines and one "f v//vn v//vn v//vn" line per triangle.
// Every number is written in its shortest form that reads back as the same float. False when
// the stream refused a write.
bool writeObjMesh(const SurfaceMesh& mesh, const char* comment, std::FILE* out);

// The factor that makes the mesh's largest extent `size`; 0 when the mesh has no extent.
double scaleForLargestExtent(const SurfaceMesh& mesh, double size);

// Writes binary STL: an 80-byte header holding `header` (cut to fit), the triangle count, then
// per triangle its unit normal and three corners, each corner the vertex times `scale` in
// single precision, all little-endian. False when the stream refused a write.
bool writeStlMesh(const SurfaceMesh& mesh, double scale, const char* header, std::FILE* out);
