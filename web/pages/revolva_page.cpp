// Revolva's page: what the controls text would give the program, for the page to show. Revolva
// itself reads the file in silence; the page tells how many of the 29 numbers a text holds
// and where reading stops, by the program's own reading.
#include <algorithm>
#include <cmath>
#include <locale>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <emscripten.h>

#include "camera_state.h"
#include "controls_file.h"
#include "editor_input.h"
#include "editor_state.h"
#include "screen_box.h"
#include "surface_keys.h"

namespace {

constexpr int controlsCount = 29;

// The arrays as they are, so that a trial reading leaves the lighting alone.
struct ControlsCopy {
    float values[controlsCount];
};

float* const controlsArrays[] = {materialAmbient,   materialDiffuse, materialSpecular,
                                 materialShininess, lightPosition,   lightAmbient,
                                 lightDiffuse,      lightSpecular};
const int controlsArraySizes[] = {4, 4, 4, 1, 4, 4, 4, 4};

ControlsCopy copyControls() {
    ControlsCopy copy{};
    float* to = copy.values;
    for (int a = 0; a < 8; ++a) to = std::copy_n(controlsArrays[a], controlsArraySizes[a], to);
    return copy;
}

void restoreControls(const ControlsCopy& copy) {
    const float* from = copy.values;
    for (int a = 0; a < 8; ++a) {
        std::copy_n(from, controlsArraySizes[a], controlsArrays[a]);
        from += controlsArraySizes[a];
    }
}

// The offset where the number after the first `count` ones begins (its leading whitespace
// skipped), or the text's length when the input ends there.
long stopOffset(const std::string& text, int count) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    float value = 0.0f;
    for (int k = 0; k < count; ++k) in >> value;
    in >> std::ws;
    if (in.eof()) return static_cast<long>(text.size());
    return static_cast<long>(in.tellg());
}

// A pixel at which the editor's own picking finds point `index` (a lower point may share its
// zone), searched outward from the point's own pixel; false when every pixel near it picks another.
bool pixelPickingPoint(std::size_t index, int& px, int& py) {
    const Point3d& p = editorState.generatrix.controlPoints[index];
    const int cx = static_cast<int>(std::lround((1.0 - p.x) * editorPixelSpan));
    const int cy = static_cast<int>(std::lround(editorWindowSize - p.z * editorPixelSpan));
    const int reach = static_cast<int>(pickTolerance * editorPixelSpan);
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            if (pickPointAt(editorState.generatrix, cx + dx, cy + dy) != index) continue;
            px = cx + dx;
            py = cy + dy;
            return true;
        }
    }
    return false;
}

// Writes the pixel into `pixel[0..1]` and returns 1 when there is one.
int givePixel(std::size_t index, int* pixel) {
    int px = 0, py = 0;
    if (!pixelPickingPoint(index, px, py)) return 0;
    pixel[0] = px;
    pixel[1] = py;
    return 1;
}

}  // namespace

extern "C" {

// Where a press picks the selected point (`pixel` gets x, y): 1, 0 without a selection, -1
// when another point covers it. The page's "delete the selected point" presses the middle
// button there, through the editor's own mouse handling.
EMSCRIPTEN_KEEPALIVE int revolvaSelectedPointPixel(int* pixel) {
    const auto selected = positionWithinCurve(editorState.selection, editorState.generatrix);
    if (!selected) return 0;
    return givePixel(*selected, pixel) == 1 ? 1 : -1;
}

// The point nearest to pixel (px, py) within `radius` pixels: 1 and a pixel that picks it in
// `pixel`, else 0. A finger is wider than the editor's pick zone.
EMSCRIPTEN_KEEPALIVE int revolvaPointNear(int px, int py, double radius, int* pixel) {
    const GeneratrixCurve& curve = editorState.generatrix;
    double best = radius * radius;
    std::optional<std::size_t> nearest;
    for (std::size_t i = 0; i < curve.pointCount(); ++i) {
        const Point3d& p = curve.controlPoints[i];
        const double dx = (1.0 - p.x) * editorPixelSpan - px;
        const double dy = editorWindowSize - p.z * editorPixelSpan - py;
        if (dx * dx + dy * dy > best) continue;
        best = dx * dx + dy * dy;
        nearest = i;
    }
    return nearest ? givePixel(*nearest, pixel) : 0;
}

// How much nearer the surface's camera may come before it enters the surface: its distance
// less the farthest control point from the origin (the surface lies within that reach for
// positive weights), with 5% to spare.
EMSCRIPTEN_KEEPALIVE double webCameraRoomLeft() {
    double radius = 0.0;
    for (const Point3d& p : editorState.generatrix.controlPoints)
        radius = std::max(radius, std::sqrt(p.x * p.x + p.z * p.z));
    return camera.distance - 1.05 * radius;
}

// Whether the surface window's pixel (x, y from the top) lies within the screen rectangle of
// the control points turned about the axis in steps of 15 degrees (for positive weights the
// surface lies within their hull, nearly): a finger put down there turns the surface,
// elsewhere it scrolls the page.
EMSCRIPTEN_KEEPALIVE int webSurfacePixelOnModel(int x, int y) {
    constexpr int turns = 24;
    std::vector<double> points;
    for (const Point3d& p : editorState.generatrix.controlPoints) {
        for (int turn = 0; turn < turns; ++turn) {
            const double angle = 2.0 * M_PI * turn / turns;
            points.insert(points.end(), {p.x * std::cos(angle), p.x * std::sin(angle), p.z});
        }
    }
    if (points.empty()) return 0;
    ScreenRectangle r;
    const bool seen = screenRectangle(points.data(), int(points.size() / 3), r);
    return !seen || pixelInRectangle(r, x, y) ? 1 : 0;
}

// What the buttons act on, for the page to show, in `numbers`: the selected position (-1 for
// none), the number of points, the two sample counts, and the switches as bits (1 control
// polygon, 2 points, 4 labels, 8 wire frame, 16 culling). Returns the selected point's weight.
EMSCRIPTEN_KEEPALIVE double revolvaEditorFigures(int* numbers) {
    const auto selected = positionWithinCurve(editorState.selection, editorState.generatrix);
    numbers[0] = selected ? static_cast<int>(*selected) : -1;
    numbers[1] = static_cast<int>(editorState.generatrix.pointCount());
    numbers[2] = editorState.curveSampleCount;
    numbers[3] = editorState.revolutionSampleCount;
    numbers[4] = (editorState.showControlPolygon ? 1 : 0) |
                 (editorState.showControlPoints ? 2 : 0) | (editorState.showLabels ? 4 : 0) |
                 (surfaceToggles.wireframe ? 8 : 0) | (surfaceToggles.backFaceCulling ? 16 : 0);
    return selected ? editorState.generatrix.weights[*selected] : 0.0;
}

// How many numbers the program reads from `text` (0 to 29), and in `*stoppedAt` the offset of
// the first character it could not read as the next number (the text's length when the text
// ended first). The program's lighting does not change.
EMSCRIPTEN_KEEPALIVE int webControlsNumbersRead(const char* text, long* stoppedAt) {
    const ControlsCopy kept = copyControls();
    std::istringstream in{std::string(text)};
    const int count = readControls(in);
    restoreControls(kept);
    *stoppedAt = count < controlsCount ? stopOffset(text, count) : -1;
    return count;
}

}  // extern "C"
