// OBJ text through number_text's shortest forms; STL records assembled byte by byte in
// little-endian order, whatever the machine's own order.
#include "mesh_files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "face_normal_formulas.h"
#include "number_text.h"

namespace {

void appendTriple(std::string& text, const char* tag, const Float3& p) {
    text += tag;
    appendShortest(text, p.x);
    text += ' ';
    appendShortest(text, p.y);
    text += ' ';
    appendShortest(text, p.z);
    text += '\n';
}

bool flushText(std::string& text, std::FILE* out) {
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    text.clear();
    return written;
}

void putUint32(unsigned char* at, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) at[k] = static_cast<unsigned char>(value >> (8 * k));
}

void putFloat(unsigned char*& at, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putUint32(at, bits);
    at += 4;
}

Float3 scaled(const Float3& p, double scale) {
    return {static_cast<float>(p.x * scale), static_cast<float>(p.y * scale),
            static_cast<float>(p.z * scale)};
}

Float3 unitNormal(const Float3& a, const Float3& b, const Float3& c) {
    Vec3d n = crossOfCornersInDouble(a, b, c);
    return scaleToUnitIfPositive(n) ? toFloat(n) : Float3{};
}

constexpr std::size_t textChunk = std::size_t{1} << 20;

}  // namespace

bool writeObjMesh(const SurfaceMesh& mesh, const char* comment, std::FILE* out) {
    std::string text = std::string("# ") + comment + "\n";
    bool written = true;
    for (const Float3& v : mesh.vertices) {
        appendTriple(text, "v ", v);
        if (text.size() > textChunk) written = flushText(text, out) && written;
    }
    for (const Float3& n : mesh.normals) {
        appendTriple(text, "vn ", n);
        if (text.size() > textChunk) written = flushText(text, out) && written;
    }
    for (const MeshTriangle& t : mesh.triangles) {
        text += 'f';
        for (int k = 0; k < 3; ++k) {
            text += ' ' + std::to_string(t.vertex[k] + 1) + "//" + std::to_string(t.normal[k] + 1);
        }
        text += '\n';
        if (text.size() > textChunk) written = flushText(text, out) && written;
    }
    return flushText(text, out) && written;
}

double scaleForLargestExtent(const SurfaceMesh& mesh, double size) {
    if (mesh.vertices.empty()) return 0.0;
    double low[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, high[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (const Float3& v : mesh.vertices) {
        const double p[3] = {v.x, v.y, v.z};
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], p[axis]);
            high[axis] = std::max(high[axis], p[axis]);
        }
    }
    const double extent = std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
    return extent > 0.0 && std::isfinite(extent) ? size / extent : 0.0;
}

bool writeStlMesh(const SurfaceMesh& mesh, double scale, const char* header, std::FILE* out) {
    unsigned char start[84] = {};
    std::memcpy(start, header, std::min<std::size_t>(std::strlen(header), 80));
    putUint32(start + 80, static_cast<std::uint32_t>(mesh.triangles.size()));
    bool written = std::fwrite(start, 1, sizeof start, out) == sizeof start;
    std::string records;
    for (const MeshTriangle& t : mesh.triangles) {
        const Float3 a = scaled(mesh.vertices[t.vertex[0]], scale);
        const Float3 b = scaled(mesh.vertices[t.vertex[1]], scale);
        const Float3 c = scaled(mesh.vertices[t.vertex[2]], scale);
        unsigned char record[50] = {};
        unsigned char* at = record;
        for (const Float3& p : {unitNormal(a, b, c), a, b, c}) {
            putFloat(at, p.x);
            putFloat(at, p.y);
            putFloat(at, p.z);
        }
        records.append(reinterpret_cast<const char*>(record), sizeof record);
        if (records.size() > textChunk) written = flushText(records, out) && written;
    }
    return flushText(records, out) && written;
}
