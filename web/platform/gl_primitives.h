// How the web build takes apart what one glBegin/glEnd pair drew: the polygons of the area
// modes, the segments of the line modes, which way a polygon faces, and lines wider than a
// pixel as quadrilaterals, as OpenGL 1.1 rasterizes them.
#pragma once

#include <GL/gl.h>

#include <array>

#include "gl_matrix.h"

// True for the modes that make polygons (triangles, strips, fans, quads, quad strips, polygons).
bool isAreaMode(unsigned mode);
// True for the modes that make line segments (lines, strips, loops).
bool isLineMode(unsigned mode);

// The indices 0, 1, ..., count - 1, for polygons whose corners come in order.
const int* consecutiveIndices(int count);

// Calls visit(corners, cornerCount) once per polygon that `count` vertices in `mode` make,
// with the indices of its corners in the order that decides its facing: every triangle of a
// strip turns the way of the first one. Incomplete polygons are dropped, as OpenGL does.
template <typename Visit>
void forEachPolygon(unsigned mode, int count, Visit visit) {
    switch (mode) {
        case GL_TRIANGLES:
            for (int i = 0; i + 2 < count; i += 3) {
                const int corners[3] = {i, i + 1, i + 2};
                visit(corners, 3);
            }
            break;
        case GL_TRIANGLE_STRIP:
            for (int i = 0; i + 2 < count; ++i) {
                const int even[3] = {i, i + 1, i + 2};
                const int odd[3] = {i + 1, i, i + 2};
                visit(i % 2 == 0 ? even : odd, 3);
            }
            break;
        case GL_TRIANGLE_FAN:
            for (int i = 1; i + 1 < count; ++i) {
                const int corners[3] = {0, i, i + 1};
                visit(corners, 3);
            }
            break;
        case GL_QUADS:
            for (int i = 0; i + 3 < count; i += 4) {
                const int corners[4] = {i, i + 1, i + 2, i + 3};
                visit(corners, 4);
            }
            break;
        case GL_QUAD_STRIP:
            for (int i = 0; i + 3 < count; i += 2) {
                const int corners[4] = {i, i + 1, i + 3, i + 2};
                visit(corners, 4);
            }
            break;
        case GL_POLYGON:
            if (count >= 3) visit(consecutiveIndices(count), count);
            break;
        default: break;
    }
}

// Calls visit(first, second) once per segment that `count` vertices in a line mode make.
template <typename Visit>
void forEachSegment(unsigned mode, int count, Visit visit) {
    switch (mode) {
        case GL_LINES:
            for (int i = 0; i + 1 < count; i += 2) visit(i, i + 1);
            break;
        case GL_LINE_LOOP:
        case GL_LINE_STRIP:
            for (int i = 0; i + 1 < count; ++i) visit(i, i + 1);
            if (mode == GL_LINE_LOOP && count >= 2) visit(count - 1, 0);
            break;
        default: break;
    }
}

// Twice the signed area of a polygon of clip-space corners after the division by w: positive
// when the corners turn counter-clockwise on the screen.
float projectedArea(const Vec4f* vertices, const int* corners, int cornerCount);

// The quadrilateral that OpenGL fills for a line `width` pixels wide from a to b (clip space)
// on a viewport of the given size: the line moved by half the width to either side along the
// screen axis across which it runs less steeply. Corners in the order a-, b-, b+, a+.
std::array<Vec4f, 4> wideLineQuad(const Vec4f& a, const Vec4f& b, float width, int viewportWidth,
                                  int viewportHeight);
