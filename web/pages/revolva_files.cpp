// The Revolva page's files: the curve being edited saved to and opened from a curve file, and
// its surface written as OBJ or STL by revolva-export's own mesh code, at the editor's current
// sample counts. The page hands text over through the module's file system, in /page/: it
// writes curve.txt and calls revolvaOpenCurveFile, or calls revolvaSaveCurveFile or
// revolvaWriteMeshFile and reads curve.txt, mesh.obj or mesh.stl; message.txt tells the outcome.
#include <emscripten.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "curve_file.h"
#include "editor_state.h"
#include "mesh_files.h"
#include "surface_mesh.h"

namespace {

const char* const curvePath = "/page/curve.txt";
const char* const messagePath = "/page/message.txt";

bool writeText(const char* path, const std::string& text) {
    mkdir("/page", 0777);
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fclose(out) == 0 && written;
}

std::string readText(const char* path) {
    std::string text;
    std::FILE* in = std::fopen(path, "rb");
    if (in == nullptr) return text;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, got);
    std::fclose(in);
    return text;
}

// The tool's report, in one line.
std::string describeMesh(const SurfaceMesh& mesh, double scale) {
    char line[256];
    const MeshSummary& s = mesh.summary;
    std::snprintf(line, sizeof line, "%zu vertices, %zu triangles, %s", mesh.vertices.size(),
                  mesh.triangles.size(), s.closed ? "closed" : "open");
    std::string text = line;
    if (s.closed) {
        std::snprintf(line, sizeof line, ", volume %.6g%s", s.volume * scale * scale * scale,
                      scale != 1.0 ? " cubic millimetres" : "");
        text += line;
    } else {
        text += ": " + s.openReason;
    }
    return text;
}

// The editor shows the unit square, x and z from 0 to 1: for a curve with points outside it,
// how many and the box they span, so that the user knows why they are not in sight.
std::string placeOutsideEditor(const GeneratrixCurve& curve) {
    std::size_t outside = 0;
    double low[2] = {curve.controlPoints[0].x, curve.controlPoints[0].z};
    double high[2] = {low[0], low[1]};
    for (const Point3d& p : curve.controlPoints) {
        if (p.x < 0.0 || p.x > 1.0 || p.z < 0.0 || p.z > 1.0) ++outside;
        low[0] = std::min(low[0], p.x);
        high[0] = std::max(high[0], p.x);
        low[1] = std::min(low[1], p.z);
        high[1] = std::max(high[1], p.z);
    }
    if (outside == 0) return "";
    char line[200];
    std::snprintf(line, sizeof line,
                  "; %zu outside the editor's square (x and z from 0 to 1), out of sight: the "
                  "points span x %.3g to %.3g, z %.3g to %.3g",
                  outside, low[0], high[0], low[1], high[1]);
    return line;
}

}  // namespace

extern "C" {

// Replaces the edited curve by the one in curve.txt, selecting its first point; 1 when read,
// 0 (the curve unchanged, message.txt saying why) when not.
EMSCRIPTEN_KEEPALIVE int revolvaOpenCurveFile() {
    GeneratrixCurve curve;
    CurveFileError error;
    if (!readCurveText(readText(curvePath), curve, error)) {
        writeText(messagePath, describeCurveError(error));
        return 0;
    }
    if (curve.pointCount() == 0) {
        writeText(messagePath, "the file holds no control point; the curve is kept");
        return 0;
    }
    editorState.generatrix = curve;
    editorState.selection = 0;
    editorState.dragPoint.reset();
    writeText(messagePath,
              std::to_string(curve.pointCount()) + " control points" + placeOutsideEditor(curve));
    return 1;
}

// Writes the edited curve to curve.txt; 1 when written.
EMSCRIPTEN_KEEPALIVE int revolvaSaveCurveFile() {
    return writeText(curvePath, curveText(editorState.generatrix)) ? 1 : 0;
}

// Writes the surface of the edited curve to mesh.stl (largest extent 100 mm) when `stl` is
// set, else to mesh.obj; 1 when written, 0 when the curve sweeps no surface. message.txt
// holds the report either way.
EMSCRIPTEN_KEEPALIVE int revolvaWriteMeshFile(int stl, int caps, int round) {
    const GeneratrixCurve& curve = editorState.generatrix;
    if (curve.pointCount() < 2) {
        writeText(messagePath, "the curve needs two or more control points");
        return 0;
    }
    MeshSettings settings;
    settings.curveSamples = editorState.curveSampleCount;
    settings.turnSamples = editorState.revolutionSampleCount;
    settings.caps = caps != 0;
    settings.round = round != 0;
    const SurfaceMesh mesh = buildSurfaceMesh(curve, settings);
    const double scale = stl != 0 ? scaleForLargestExtent(mesh, 100.0) : 1.0;
    if (mesh.triangles.empty() || scale == 0.0) {
        writeText(messagePath, "the surface has no area");
        return 0;
    }
    mkdir("/page", 0777);
    std::FILE* out = std::fopen(stl != 0 ? "/page/mesh.stl" : "/page/mesh.obj", "wb");
    if (out == nullptr) return 0;
    const char* comment = "revolva page";
    const bool written =
        stl != 0 ? writeStlMesh(mesh, scale, comment, out) : writeObjMesh(mesh, comment, out);
    const bool closed = std::fclose(out) == 0;
    writeText(messagePath, describeMesh(mesh, scale));
    return written && closed ? 1 : 0;
}
}
