// GLUT for the web build: each window is a canvas of the page ("#window1", "#window2", ...)
// with its own WebGL context and GL state, and its own callbacks. The page's script
// (site/glut_page.js) hands mouse and key events to the webGlut* functions below; the main
// loop runs once per animation frame of the browser. A heavy picture is made over several
// turns (gl_context.cpp); input meanwhile starts it again. A page may ask for frames only
// after input, for a program whose pictures change only with it.
#include <GL/freeglut.h>

#include <string>
#include <vector>

#include <emscripten.h>
#include <emscripten/html5.h>

#include "bitmap_font_8x13.h"
#include "gl_context.h"

// From glut_page_library.js: the page shows a window's title and the pointer's shape.
extern "C" void webGlutShowTitle(int id, const char* bytes, int length);
extern "C" void webGlutShowCursor(int id, int crosshair);

namespace {

struct WebWindow {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE webgl = 0;
    GlContext* gl = nullptr;
    int width = 300;
    int height = 300;
    bool reshapePending = true;  // GLUT reshapes and draws a window when it first shows
    bool redisplayPending = true;
    bool swapped = false;
    void (*display)() = nullptr;
    void (*reshape)(int, int) = nullptr;
    void (*keyboard)(unsigned char, int, int) = nullptr;
    void (*special)(int, int, int) = nullptr;
    void (*mouse)(int, int, int, int) = nullptr;
    void (*motion)(int, int) = nullptr;
    void (*passiveMotion)(int, int) = nullptr;
};

std::vector<WebWindow> windows;  // window id n is windows[n - 1]
int currentWindow = 0;
unsigned int displayMode = GLUT_RGB;
int initialWidth = 300;
int initialHeight = 300;
void (*idle)() = nullptr;
long frameCount = 0;
bool finishEveryFrame = false;
bool framesHeld = false;  // the page holds the frames while it shows a message
bool framesOnInputOnly = false;
bool inputSinceFrame = true;  // an event, a redisplay asked for or a reshape since the last turn
// A turn that took long is followed by one that does nothing, so that the page's timers and
// events get their turn before the next pass of a heavy picture.
constexpr double longTurnMs = 100.0;
bool restNextTurn = false;

void noteInput() { inputSinceFrame = true; }

WebWindow* windowById(int id) {
    if (id < 1 || id > static_cast<int>(windows.size())) return nullptr;
    return &windows[static_cast<std::size_t>(id - 1)];
}

WebWindow& current() { return windows[static_cast<std::size_t>(currentWindow - 1)]; }

std::string canvasSelector(int id) { return "#window" + std::to_string(id); }

void makeCurrent(int id) {
    WebWindow* window = windowById(id);
    if (window == nullptr) return;
    currentWindow = id;
    emscripten_webgl_make_context_current(window->webgl);
    makeGlContextCurrent(window->gl);
}

void resizeCanvas(int id, int width, int height) {
    emscripten_set_canvas_element_size(canvasSelector(id).c_str(), width, height);
}

bool allWindowsSwapped() {
    for (const WebWindow& window : windows)
        if (window.display != nullptr && !window.swapped) return false;
    return true;
}

// Goes on drawing the heavy pictures that are whole; false when there is none.
bool continuePresentations() {
    bool any = false;
    for (int id = 1; id <= static_cast<int>(windows.size()); ++id) {
        WebWindow& window = *windowById(id);
        if (window.gl == nullptr || !glPicturePresenting(window.gl)) continue;
        makeCurrent(id);
        continueGlPresentation(window.gl, window.width, window.height);
        any = true;
    }
    return any;
}

bool anyPictureUnfinished() {
    for (const WebWindow& window : windows)
        if (window.gl != nullptr && glPictureUnfinished(window.gl)) return true;
    return false;
}

// One turn of the main loop: pending reshapes and redisplays, then the idle callback until
// every window has shown a new frame (the programs redraw one window per idle call), so that
// each window is drawn once per frame of the browser.
void runOneFrame() {
    if (framesHeld) return;
    if (restNextTurn) {
        restNextTurn = false;
        ++frameCount;
        return;
    }
    const double turnStart = emscripten_get_now();
    if (inputSinceFrame) {
        for (WebWindow& window : windows) restartGlPicture(window.gl);
    } else if (continuePresentations()) {
        ++frameCount;
        restNextTurn = emscripten_get_now() - turnStart > longTurnMs;
        return;
    } else if (framesOnInputOnly && !anyPictureUnfinished()) {
        ++frameCount;
        return;
    }
    inputSinceFrame = false;
    for (int id = 1; id <= static_cast<int>(windows.size()); ++id) {
        WebWindow& window = *windowById(id);
        if (!window.reshapePending) continue;
        window.reshapePending = false;
        makeCurrent(id);
        if (window.reshape != nullptr)
            window.reshape(window.width, window.height);
        else
            glViewport(0, 0, window.width, window.height);
    }
    for (int id = 1; id <= static_cast<int>(windows.size()); ++id) {
        WebWindow& window = *windowById(id);
        if (!window.redisplayPending || window.display == nullptr) continue;
        window.redisplayPending = false;
        makeCurrent(id);
        window.display();
    }
    if (idle != nullptr) {
        for (WebWindow& window : windows) window.swapped = false;
        for (std::size_t calls = 0; calls < 2 * windows.size() && !allWindowsSwapped(); ++calls)
            idle();
    }
    if (finishEveryFrame) glFinish();
    ++frameCount;
    restNextTurn = emscripten_get_now() - turnStart > longTurnMs;
}

}  // namespace

extern "C" {

void glutInit(int*, char**) {}
void glutInitDisplayMode(unsigned int mode) { displayMode = mode; }
void glutInitWindowSize(int width, int height) {
    initialWidth = width;
    initialHeight = height;
}
// The page lays the canvases out.
void glutInitWindowPosition(int, int) {}

int glutCreateWindow(const char* title) {
    windows.emplace_back();
    const int id = static_cast<int>(windows.size());
    WebWindow& window = windows.back();
    window.width = initialWidth;
    window.height = initialHeight;
    resizeCanvas(id, window.width, window.height);
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = false;
    attributes.depth = (displayMode & GLUT_DEPTH) != 0;
    attributes.stencil = false;
    attributes.antialias = false;
    attributes.preserveDrawingBuffer = true;  // a window not redrawn in a frame keeps its picture
    window.webgl = emscripten_webgl_create_context(canvasSelector(id).c_str(), &attributes);
    emscripten_webgl_make_context_current(window.webgl);
    window.gl = createGlContext(window.width, window.height);
    makeCurrent(id);
    webGlutShowTitle(id, title, static_cast<int>(std::string(title).size()));
    return id;
}

int glutGetWindow(void) { return currentWindow; }
void glutSetWindow(int window) { makeCurrent(window); }

// The new size takes effect, with its reshape callback, at the next turn of the main loop, as
// on the desktop; a size the window already has asks for nothing.
void glutReshapeWindow(int width, int height) {
    WebWindow& window = current();
    if (window.width == width && window.height == height) return;
    window.width = width;
    window.height = height;
    resizeCanvas(currentWindow, width, height);
    window.reshapePending = true;
    noteInput();
}

void glutSetCursor(int cursor) { webGlutShowCursor(currentWindow, cursor == GLUT_CURSOR_SPRAY); }

void glutPostRedisplay(void) {
    current().redisplayPending = true;
    noteInput();
}

void glutSwapBuffers(void) {
    glFlush();
    endGlPicturePass();
    current().swapped = true;
}

void glutMainLoop(void) { emscripten_set_main_loop(runOneFrame, 0, 1); }

void glutBitmapCharacter(void*, int character) {
    if (character < 0 || character >= bitmapFont8x13.characterCount) return;
    const unsigned char* glyph = bitmapFont8x13.glyphs[character];
    drawBitmapAtRasterPosition(glyph[0], bitmapFont8x13.height, bitmapFont8x13.xorig,
                               bitmapFont8x13.yorig, static_cast<float>(glyph[0]), glyph + 1);
}

void glutDisplayFunc(void (*callback)(void)) { current().display = callback; }
void glutReshapeFunc(void (*callback)(int, int)) { current().reshape = callback; }
void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) { current().keyboard = callback; }
void glutSpecialFunc(void (*callback)(int, int, int)) { current().special = callback; }
void glutMouseFunc(void (*callback)(int, int, int, int)) { current().mouse = callback; }
void glutMotionFunc(void (*callback)(int, int)) { current().motion = callback; }
void glutPassiveMotionFunc(void (*callback)(int, int)) { current().passiveMotion = callback; }
void glutIdleFunc(void (*callback)(void)) { idle = callback; }

// Events from the page, each for the window with the given id; as in GLUT, that window is
// made current before its callback runs.
EMSCRIPTEN_KEEPALIVE void webGlutMouse(int id, int button, int state, int x, int y) {
    WebWindow* window = windowById(id);
    if (window == nullptr || window->mouse == nullptr) return;
    makeCurrent(id);
    window->mouse(button, state, x, y);
    noteInput();
}

EMSCRIPTEN_KEEPALIVE void webGlutMotion(int id, int buttonHeld, int x, int y) {
    WebWindow* window = windowById(id);
    if (window == nullptr) return;
    void (*callback)(int, int) = buttonHeld ? window->motion : window->passiveMotion;
    if (callback == nullptr) return;
    makeCurrent(id);
    callback(x, y);
    noteInput();
}

EMSCRIPTEN_KEEPALIVE void webGlutKey(int id, int key, int x, int y) {
    WebWindow* window = windowById(id);
    if (window == nullptr || window->keyboard == nullptr) return;
    makeCurrent(id);
    window->keyboard(static_cast<unsigned char>(key), x, y);
    noteInput();
}

EMSCRIPTEN_KEEPALIVE void webGlutSpecial(int id, int key, int x, int y) {
    WebWindow* window = windowById(id);
    if (window == nullptr || window->special == nullptr) return;
    makeCurrent(id);
    window->special(key, x, y);
    noteInput();
}

// Turns of the main loop so far, for the page's frame rate.
EMSCRIPTEN_KEEPALIVE long webGlutFrameCount(void) { return frameCount; }

// Whole pictures drawn in all windows so far: a heavy one takes several turns.
EMSCRIPTEN_KEEPALIVE long webGlutPicturesShown(void) {
    long shown = 0;
    for (const WebWindow& window : windows) shown += glPicturesShown(window.gl);
    return shown;
}

// Turns of the main loop draw only after input (an event, a redisplay asked for, a reshape)
// or to go on with an unfinished picture: for a program whose pictures change with input only.
EMSCRIPTEN_KEEPALIVE void webGlutFramesOnInputOnly(void) { framesOnInputOnly = true; }

// Runs the main loop as fast as the browser allows instead of once per animation frame, each
// frame waiting until it is drawn: for measuring how many frames a second the program can draw.
EMSCRIPTEN_KEEPALIVE void webGlutUncappedFrames(void) {
    finishEveryFrame = true;
    emscripten_set_main_loop_timing(EM_TIMING_SETIMMEDIATE, 1);
}

// Holds the frames (the main loop turns without drawing) or lets them go again: the page
// shows a message before long work without waiting for the drawing of a large model.
EMSCRIPTEN_KEEPALIVE void webGlutHoldFrames(int held) { framesHeld = held != 0; }

// Stops the main loop, for a page that starts the program again (another model).
EMSCRIPTEN_KEEPALIVE void webGlutStop(void) { emscripten_cancel_main_loop(); }

}  // extern "C"
