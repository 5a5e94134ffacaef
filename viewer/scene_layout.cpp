// The 3D window's size, its projection's aspect ratio and the ground grid's lines.
#include "scene_layout.h"

int windowWidth = 600;
int windowHeight = 600;

double perspectiveAspect(int width, int height) {
    return static_cast<double>(width) / static_cast<double>(height > 0 ? height : 1);
}

GroundGrid groundGridLines(UpAxis upAxis) {
    constexpr float edge = static_cast<float>(gridHalfSize);
    GroundGrid lines{};
    for (int i = 0; i <= gridDivisions; ++i) {
        // Offset of line pair i, in double precision, used as a single-precision coordinate.
        const float c = static_cast<float>(i * gridSize / gridDivisions - gridHalfSize);
        if (upAxis == UpAxis::z) {
            lines[2 * i] = {{c, edge, 0.0f}, {c, -edge, 0.0f}};
            lines[2 * i + 1] = {{edge, c, 0.0f}, {-edge, c, 0.0f}};
        } else {
            lines[2 * i] = {{c, 0.0f, edge}, {c, 0.0f, -edge}};
            lines[2 * i + 1] = {{edge, 0.0f, c}, {-edge, 0.0f, c}};
        }
    }
    return lines;
}
