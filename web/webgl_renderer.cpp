// Draws the GL layer's clip-space vertices with WebGL 1. The shaders only pass the vertices on
// and pick the colour of the side a triangle shows; transform and lighting are done before.
#include "gl_renderer.h"

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
}

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
    for (int i = 0; i < 3; ++i)
        emscripten_glVertexAttribPointer(static_cast<GLuint>(locations[i]), 4, GL_FLOAT, GL_FALSE,
                                         stride, reinterpret_cast<const void*>(offsets[i]));
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
