// What the web build's GL layer hands to the browser: vertices already in clip space with the
// colours of their front and back sides, drawn as triangles, lines or points under the few
// raster settings that still matter (depth test, culling, viewport). webgl_renderer.cpp draws
// them with WebGL; nothing else talks to WebGL.
#pragma once

#include <vector>

#include "gl_lighting.h"

struct DrawVertex {
    Vec4f clip;
    Color front;
    Color back;  // shown where a triangle faces away; lines and points use `front`
};

enum class DrawKind { triangles, lines, points };

struct RasterState {
    bool depthTest;
    bool culling;
    unsigned cullFace;   // GL_FRONT, GL_BACK or GL_FRONT_AND_BACK
    unsigned frontFace;  // GL_CCW or GL_CW
    int viewport[4];
};

// WebGL objects of one context; made by createRenderer while that context is current.
struct Renderer {
    unsigned program = 0;
    unsigned buffer = 0;
    int clipLocation = -1;
    int frontLocation = -1;
    int backLocation = -1;
};

Renderer createRenderer();
// Draws the vertices with the renderer's context current.
void drawVertices(const Renderer& renderer, DrawKind kind, const std::vector<DrawVertex>& vertices,
                  const RasterState& state);
// Clears the colour and/or depth buffers (GL_COLOR_BUFFER_BIT, GL_DEPTH_BUFFER_BIT in mask).
void clearBuffers(unsigned mask, const Color& color, double depth);
// Waits until the context has drawn everything it was given.
void finishDrawing();
