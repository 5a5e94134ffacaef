// Taking apart the primitives of one glBegin/glEnd pair.
#include "gl_primitives.h"

#include <cmath>
#include <vector>

bool isAreaMode(unsigned mode) { return mode >= GL_TRIANGLES && mode <= GL_POLYGON; }

bool isLineMode(unsigned mode) { return mode >= GL_LINES && mode <= GL_LINE_STRIP; }

const int* consecutiveIndices(int count) {
    static std::vector<int> indices;
    while (static_cast<int>(indices.size()) < count)
        indices.push_back(static_cast<int>(indices.size()));
    return indices.data();
}

float projectedArea(const Vec4f* vertices, const int* corners, int cornerCount) {
    float area = 0.0f;
    for (int i = 0; i < cornerCount; ++i) {
        const Vec4f& p = vertices[corners[i]];
        const Vec4f& q = vertices[corners[(i + 1) % cornerCount]];
        area += (p.x / p.w) * (q.y / q.w) - (q.x / q.w) * (p.y / p.w);
    }
    return area;
}

std::array<Vec4f, 4> wideLineQuad(const Vec4f& a, const Vec4f& b, float width, int viewportWidth,
                                  int viewportHeight) {
    // Screen travel in pixels decides the direction of the offset.
    const float dx = (b.x / b.w - a.x / a.w) * static_cast<float>(viewportWidth);
    const float dy = (b.y / b.w - a.y / a.w) * static_cast<float>(viewportHeight);
    float offsetX = 0.0f, offsetY = 0.0f;  // half the width, in normalized device units
    if (std::fabs(dx) >= std::fabs(dy))
        offsetY = width / static_cast<float>(viewportHeight);
    else
        offsetX = width / static_cast<float>(viewportWidth);
    auto moved = [&](const Vec4f& p, float side) {
        return Vec4f{p.x + side * offsetX * p.w, p.y + side * offsetY * p.w, p.z, p.w};
    };
    return {moved(a, -1.0f), moved(b, -1.0f), moved(b, 1.0f), moved(a, 1.0f)};
}
