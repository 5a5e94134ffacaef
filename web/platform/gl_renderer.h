// What the web build's GL layer hands to the browser: vertices already in clip space with the
// colours of their front and back sides (8 bits a channel), drawn as triangles, lines or points under the few
// raster settings that still matter (depth test, culling, viewport). They are kept in WebGL
// buffers until the whole picture is there, then drawn at once. webgl_renderer.cpp draws them
// with WebGL; nothing else talks to WebGL.
#pragma once

#include <cstdint>
#include <vector>

#include "gl_lighting.h"

// A colour as the browser is handed it: 8 bits a channel, as the framebuffer keeps it, so that
// a vertex takes half the bytes to upload and hold.
struct PackedColor {
    std::uint8_t r, g, b, a;
};
// Each channel clamped to [0, 1] and rounded to the nearest 1/255.
PackedColor packColor(const Color& color);

struct DrawVertex {
    Vec4f clip;
    PackedColor front;
    PackedColor back;  // shown where a triangle faces away; lines and points use `front`
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
    int clipLocation = -1;
    int frontLocation = -1;
    int backLocation = -1;
    std::vector<unsigned> buffers;  // the batches kept for the picture under way, and spares
    std::size_t buffersUsed = 0;
    // A heavy picture is drawn offscreen over several frames, then copied onto the canvas.
    unsigned offscreen = 0;  // framebuffer, made when first needed
    unsigned offscreenColor = 0;
    unsigned offscreenDepth = 0;
    int offscreenWidth = 0;
    int offscreenHeight = 0;
    unsigned copyProgram = 0;
    unsigned copyCorners = 0;
};

Renderer createRenderer();
// Keeps the vertices in a buffer of the renderer (the context must be current); returns it.
unsigned keepVertices(Renderer& renderer, const std::vector<DrawVertex>& vertices);
// Draws `count` vertices kept in `buffer` with the renderer's context current.
void drawKeptVertices(const Renderer& renderer, unsigned buffer, DrawKind kind, int count,
                      const RasterState& state);
// Lets the kept buffers be filled again, and deletes the spares beyond those in use (so that
// a heavy picture gone gives its memory back).
void reuseKeptBuffers(Renderer& renderer, bool deleteSpares);
// Directs the draws and clears that follow to an offscreen picture of width x height (made or
// resized as needed) or, with `offscreen` false, to the canvas.
void drawOffscreen(Renderer& renderer, int width, int height, bool offscreen);
// Copies the offscreen picture onto the canvas, which then draws again.
void showOffscreenPicture(const Renderer& renderer);
// Clears the colour and/or depth buffers (GL_COLOR_BUFFER_BIT, GL_DEPTH_BUFFER_BIT in mask).
void clearBuffers(unsigned mask, const Color& color, double depth);
// Waits until the context has drawn everything it was given.
void finishDrawing();
// The same, surely: until a pixel of the framebuffer bound has been read back.
void waitUntilDrawn();
