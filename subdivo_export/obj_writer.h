// OBJ text of a polygon model and the material library beside it. Every number is written in
// the shortest form that reads back as the same float, so a model survives the trip through
// the file bit for bit.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "face_materials.h"
#include "obj_model.h"

// Told every so many faces while the faces are written, and once at the end; always on the
// calling thread.
using WriteProgress = void (*)(std::int64_t facesWritten, std::int64_t faces);

struct ObjWriteSettings {
    const char* comment = nullptr;          // the first line, after "# "; none when null
    const char* materialLibrary = nullptr;  // the "mtllib" file name; no such line when null
    WriteProgress progress = nullptr;
    bool weights = true;  // a vertex's w where it is not 1; false: x, y and z alone
    int threads = 1;      // threads the lines are formatted over; the text is the same for all
};

struct ObjWriteResult {
    bool written;               // false when the stream refused a write (errno tells why)
    std::int64_t bytes;         // handed to the stream
    std::int64_t facesLeftOut;  // faces of fewer than 3 corners, which OBJ readers refuse
};

// Writes "v" lines (w only where it is not 1, and only if `weights`), "vt" and "vn" lines for every entry of those
// arrays, then one "f" line per face in the model's order with the reference form the
// model's flags call for ("v", "v/vt", "v//vn", "v/vt/vn"), a "usemtl" line (a material of
// `materials`, which must hold every face colour) wherever the colour changes. The model
// must be valid: every index within its array.
ObjWriteResult writeObjText(const ObjModel& model, const std::vector<FaceMaterial>& materials,
                            const ObjWriteSettings& settings, std::FILE* out);

// Writes the MTL text: per material "newmtl", the diffuse colour "Kd", no specular part.
// False when the stream refused a write.
bool writeMaterialLibrary(const std::vector<FaceMaterial>& materials, std::FILE* out);

// Writes `value` at `at` in its shortest round-trip decimal form; returns the end. At most
// 16 characters.
char* formatFloat(char* at, float value);

// True when some vertex of the model has a w other than 1: only then do its levels need one.
bool hasHomogeneousWeights(const ObjModel& model);
