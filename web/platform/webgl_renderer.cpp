// Draws the GL layer's clip-space vertices with WebGL 1. The shaders only pass the vertices on
// and pick the colour of the side a triangle shows; transform and lighting are done before.
#include "gl_renderer.h"

#include <algorithm>
#include <cstddef>

#include <GLES2/gl2.h>

// Emscripten's names for the WebGL calls, so that they do not collide with the GL 1.1 calls
// that gl_context.cpp defines under OpenGL's own names.
extern "C" {
void emscripten_glAttachShader(GLuint, GLuint);
void emscripten_glBindBuffer(GLenum, GLuint);
void emscripten_glBufferData(GLenum, GLsizeiptr, const void*, GLenum);
void emscripten_glClear(GLbitfield);
void emscripten_glClearColor(GLfloat, GLfloat, GLfloat, GLfloat);
void emscripten_glClearDepthf(GLfloat);
void emscripten_glCompileShader(GLuint);
GLuint emscripten_glCreateProgram();
GLuint emscripten_glCreateShader(GLenum);
void emscripten_glCullFace(GLenum);
void emscripten_glDeleteBuffers(GLsizei, const GLuint*);
void emscripten_glDepthFunc(GLenum);
void emscripten_glDisable(GLenum);
void emscripten_glDrawArrays(GLenum, GLint, GLsizei);
void emscripten_glEnable(GLenum);
void emscripten_glEnableVertexAttribArray(GLuint);
void emscripten_glFinish();
void emscripten_glFrontFace(GLenum);
void emscripten_glGenBuffers(GLsizei, GLuint*);
GLint emscripten_glGetAttribLocation(GLuint, const GLchar*);
void emscripten_glLinkProgram(GLuint);
void emscripten_glShaderSource(GLuint, GLsizei, const GLchar* const*, const GLint*);
void emscripten_glUseProgram(GLuint);
void emscripten_glVertexAttribPointer(GLuint, GLint, GLenum, GLboolean, GLsizei, const void*);
void emscripten_glViewport(GLint, GLint, GLsizei, GLsizei);
void emscripten_glActiveTexture(GLenum);
void emscripten_glBindAttribLocation(GLuint, GLuint, const GLchar*);
void emscripten_glBindFramebuffer(GLenum, GLuint);
void emscripten_glBindRenderbuffer(GLenum, GLuint);
void emscripten_glBindTexture(GLenum, GLuint);
void emscripten_glDisableVertexAttribArray(GLuint);
void emscripten_glFramebufferRenderbuffer(GLenum, GLenum, GLenum, GLuint);
void emscripten_glFramebufferTexture2D(GLenum, GLenum, GLenum, GLuint, GLint);
void emscripten_glGenFramebuffers(GLsizei, GLuint*);
void emscripten_glGenRenderbuffers(GLsizei, GLuint*);
void emscripten_glGenTextures(GLsizei, GLuint*);
void emscripten_glRenderbufferStorage(GLenum, GLenum, GLsizei, GLsizei);
void emscripten_glTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum,
                             const void*);
void emscripten_glTexParameteri(GLenum, GLenum, GLint);
void emscripten_glReadPixels(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
}

// WebGL's depth and stencil formats of a renderbuffer: 24 bits of depth, as the canvas has.
constexpr GLenum webglDepthStencil = 0x84F9;
constexpr GLenum webglDepthStencilAttachment = 0x821A;

namespace {

const char* const vertexShaderText = R"(
attribute vec4 clip;
attribute vec4 frontColor;
attribute vec4 backColor;
varying vec4 front;
varying vec4 back;
void main() {
    gl_Position = clip;
    gl_PointSize = 1.0;
    front = frontColor;
    back = backColor;
}
)";

const char* const fragmentShaderText = R"(
precision mediump float;
varying vec4 front;
varying vec4 back;
void main() {
    gl_FragColor = gl_FrontFacing ? front : back;
}
)";

// Copies the offscreen picture's texture onto the canvas pixel for pixel.
const char* const copyVertexShaderText = R"(
attribute vec2 corner;
varying vec2 place;
void main() {
    gl_Position = vec4(corner, 0.0, 1.0);
    place = corner * 0.5 + 0.5;
}
)";

const char* const copyFragmentShaderText = R"(
precision mediump float;
uniform sampler2D picture;
varying vec2 place;
void main() {
    gl_FragColor = texture2D(picture, place);
}
)";

GLuint compileShader(GLenum kind, const char* text) {
    const GLuint shader = emscripten_glCreateShader(kind);
    emscripten_glShaderSource(shader, 1, &text, nullptr);
    emscripten_glCompileShader(shader);
    return shader;
}

GLenum primitiveOf(DrawKind kind) {
    switch (kind) {
        case DrawKind::triangles: return GL_TRIANGLES;
        case DrawKind::lines: return GL_LINES;
        case DrawKind::points: return GL_POINTS;
    }
    return GL_POINTS;
}

void enableIf(GLenum capability, bool on) {
    if (on)
        emscripten_glEnable(capability);
    else
        emscripten_glDisable(capability);
}

}  // namespace

PackedColor packColor(const Color& color) {
    const auto channel = [](float v) {
        return static_cast<std::uint8_t>(std::min(std::max(v, 0.0f), 1.0f) * 255.0f + 0.5f);
    };
    return {channel(color.r), channel(color.g), channel(color.b), channel(color.a)};
}

Renderer createRenderer() {
    Renderer renderer;
    renderer.program = emscripten_glCreateProgram();
    emscripten_glAttachShader(renderer.program, compileShader(GL_VERTEX_SHADER, vertexShaderText));
    emscripten_glAttachShader(renderer.program,
                              compileShader(GL_FRAGMENT_SHADER, fragmentShaderText));
    emscripten_glLinkProgram(renderer.program);
    emscripten_glUseProgram(renderer.program);
    renderer.clipLocation = emscripten_glGetAttribLocation(renderer.program, "clip");
    renderer.frontLocation = emscripten_glGetAttribLocation(renderer.program, "frontColor");
    renderer.backLocation = emscripten_glGetAttribLocation(renderer.program, "backColor");
    for (const int location :
         {renderer.clipLocation, renderer.frontLocation, renderer.backLocation})
        emscripten_glEnableVertexAttribArray(static_cast<GLuint>(location));
    emscripten_glDepthFunc(GL_LESS);
    return renderer;
}

namespace {

void createOffscreenTarget(Renderer& r) {
    r.copyProgram = emscripten_glCreateProgram();
    emscripten_glAttachShader(r.copyProgram, compileShader(GL_VERTEX_SHADER, copyVertexShaderText));
    emscripten_glAttachShader(r.copyProgram,
                              compileShader(GL_FRAGMENT_SHADER, copyFragmentShaderText));
    emscripten_glBindAttribLocation(r.copyProgram, static_cast<GLuint>(r.clipLocation), "corner");
    emscripten_glLinkProgram(r.copyProgram);
    const float corners[8] = {-1.0f, -1.0f, 1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 1.0f};
    emscripten_glGenBuffers(1, &r.copyCorners);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, r.copyCorners);
    emscripten_glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners, GL_STATIC_DRAW);
    emscripten_glGenFramebuffers(1, &r.offscreen);
    emscripten_glGenTextures(1, &r.offscreenColor);
    emscripten_glGenRenderbuffers(1, &r.offscreenDepth);
    emscripten_glBindTexture(GL_TEXTURE_2D, r.offscreenColor);
    for (const GLenum filter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER})
        emscripten_glTexParameteri(GL_TEXTURE_2D, filter, GL_NEAREST);
    for (const GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T})
        emscripten_glTexParameteri(GL_TEXTURE_2D, wrap, GL_CLAMP_TO_EDGE);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, r.offscreen);
    emscripten_glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                                      r.offscreenColor, 0);
    emscripten_glBindRenderbuffer(GL_RENDERBUFFER, r.offscreenDepth);
}

// Gives the offscreen picture's colour texture and depth buffer the canvas's size.
void sizeOffscreenTarget(Renderer& r, int width, int height) {
    emscripten_glBindTexture(GL_TEXTURE_2D, r.offscreenColor);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                            nullptr);
    emscripten_glBindRenderbuffer(GL_RENDERBUFFER, r.offscreenDepth);
    emscripten_glRenderbufferStorage(GL_RENDERBUFFER, webglDepthStencil, width, height);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, r.offscreen);
    emscripten_glFramebufferRenderbuffer(GL_FRAMEBUFFER, webglDepthStencilAttachment,
                                         GL_RENDERBUFFER, r.offscreenDepth);
    r.offscreenWidth = width;
    r.offscreenHeight = height;
}

}  // namespace

void drawOffscreen(Renderer& renderer, int width, int height, bool offscreen) {
    if (offscreen && renderer.offscreen == 0) createOffscreenTarget(renderer);
    if (offscreen && (renderer.offscreenWidth != width || renderer.offscreenHeight != height))
        sizeOffscreenTarget(renderer, width, height);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, offscreen ? renderer.offscreen : 0);
}

void showOffscreenPicture(const Renderer& renderer) {
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, 0);
    emscripten_glViewport(0, 0, renderer.offscreenWidth, renderer.offscreenHeight);
    emscripten_glDisable(GL_DEPTH_TEST);
    emscripten_glDisable(GL_CULL_FACE);
    emscripten_glUseProgram(renderer.copyProgram);
    emscripten_glActiveTexture(GL_TEXTURE0);
    emscripten_glBindTexture(GL_TEXTURE_2D, renderer.offscreenColor);
    emscripten_glDisableVertexAttribArray(static_cast<GLuint>(renderer.frontLocation));
    emscripten_glDisableVertexAttribArray(static_cast<GLuint>(renderer.backLocation));
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, renderer.copyCorners);
    emscripten_glVertexAttribPointer(static_cast<GLuint>(renderer.clipLocation), 2, GL_FLOAT,
                                     GL_FALSE, 0, nullptr);
    emscripten_glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    emscripten_glEnableVertexAttribArray(static_cast<GLuint>(renderer.frontLocation));
    emscripten_glEnableVertexAttribArray(static_cast<GLuint>(renderer.backLocation));
    emscripten_glUseProgram(renderer.program);
}

unsigned keepVertices(Renderer& renderer, const std::vector<DrawVertex>& vertices) {
    if (renderer.buffersUsed == renderer.buffers.size()) {
        GLuint buffer = 0;
        emscripten_glGenBuffers(1, &buffer);
        renderer.buffers.push_back(buffer);
    }
    const GLuint buffer = renderer.buffers[renderer.buffersUsed++];
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
    emscripten_glBufferData(GL_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(vertices.size() * sizeof(DrawVertex)),
                            vertices.data(), GL_STATIC_DRAW);
    return buffer;
}

void drawKeptVertices(const Renderer& renderer, unsigned buffer, DrawKind kind, int count,
                      const RasterState& state) {
    if (count == 0) return;
    emscripten_glViewport(state.viewport[0], state.viewport[1], state.viewport[2],
                          state.viewport[3]);
    enableIf(GL_DEPTH_TEST, state.depthTest);
    enableIf(GL_CULL_FACE, state.culling);
    emscripten_glCullFace(state.cullFace);
    emscripten_glFrontFace(state.frontFace);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
    const GLsizei stride = sizeof(DrawVertex);
    const int locations[3] = {renderer.clipLocation, renderer.frontLocation, renderer.backLocation};
    const std::size_t offsets[3] = {offsetof(DrawVertex, clip), offsetof(DrawVertex, front),
                                    offsetof(DrawVertex, back)};
    // The position in floats, the colours in bytes read as fractions of 255.
    for (int i = 0; i < 3; ++i)
        emscripten_glVertexAttribPointer(static_cast<GLuint>(locations[i]), 4,
                                         i == 0 ? GL_FLOAT : GL_UNSIGNED_BYTE,
                                         i == 0 ? GL_FALSE : GL_TRUE, stride,
                                         reinterpret_cast<const void*>(offsets[i]));
    emscripten_glDrawArrays(primitiveOf(kind), 0, count);
}

void reuseKeptBuffers(Renderer& renderer, bool deleteSpares) {
    if (deleteSpares && renderer.buffers.size() > renderer.buffersUsed) {
        const std::size_t spares = renderer.buffers.size() - renderer.buffersUsed;
        emscripten_glDeleteBuffers(static_cast<GLsizei>(spares),
                                   renderer.buffers.data() + renderer.buffersUsed);
        renderer.buffers.resize(renderer.buffersUsed);
    }
    renderer.buffersUsed = 0;
}

void clearBuffers(unsigned mask, const Color& color, double depth) {
    emscripten_glClearColor(color.r, color.g, color.b, color.a);
    emscripten_glClearDepthf(static_cast<GLfloat>(depth));
    emscripten_glClear(mask);
}

void finishDrawing() { emscripten_glFinish(); }

// The browser's finish may return before the drawing is done; reading a pixel cannot.
void waitUntilDrawn() {
    unsigned char pixel[4];
    emscripten_glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}
