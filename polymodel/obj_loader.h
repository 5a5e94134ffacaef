// Reads a Wavefront OBJ file ("v", "vt", "vn" and "f" lines) into an ObjModel in two passes:
// one that counts and sizes the model, one that fills it, then recomputes the normals from the
// faces (vertex_normals.h). Progress goes to standard output, errors to the error stream.
#pragma once

#include <cstdio>

#include "obj_model.h"

// Where the reports and warnings go from now on: standard output until this is called; null
// sends them nowhere. Errors always go to the error stream.
void setLoaderReportStream(std::FILE* stream);

// Clears `model` and fills it from the file at `path`; prints both passes' reports. False
// when the file cannot be opened (model untouched) or is refused (its arrays released).
bool loadObjFile(const char* path, ObjModel* model);

// Counting pass over an open file into a cleared model: sets the four counts and the two
// flags from the last counted face line, prints the first-pass report. False when refused.
bool countObjFile(std::FILE* file, ObjModel* model);

// Reading pass over the rewound file into a counted and allocated model; every index is
// checked against its count. Prints the second-pass report. False (with a message) when refused.
bool readObjFile(std::FILE* file, ObjModel* model);
