// OpenGL 1.1 in immediate mode for the web build. Each glBegin/glEnd pair is transformed and
// lit here, vertex by vertex, as the fixed-function pipeline does it; what comes out are
// clip-space vertices with final colours, collected into batches that the renderer keeps
// whenever a setting the browser must know of changes, at a clear and at the end of a frame.
// The kept batches and clears are drawn together once the picture is whole. A picture whose
// work passes a time budget is made over several frames (passes): each pass runs the program's
// drawing again, skips what earlier passes kept and works until the budget is spent, while the
// canvas keeps showing the picture before, so that no frame holds the page long.
#include <emscripten.h>

#include "gl_context.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include "gl_lighting.h"
#include "gl_matrix.h"
#include "gl_primitives.h"
#include "gl_renderer.h"

struct ImmediateVertex {
    Vec4f position;  // object space
    Vec3f normal;
    Color color;
};

// A clear or a batch of the picture under way, in the order the program gave them.
struct KeptStep {
    bool clear;
    unsigned clearMask;
    Color clearColor;
    double clearDepth;
    DrawKind kind;
    RasterState state;
    unsigned buffer;
    int count;
};

// Milliseconds a pass should take in all: the program's walk through its drawing, fast where
// operations are skipped, and the work on the operations it makes, which gets what the walk
// leaves of it, but at least the smallest budget.
constexpr double passTargetMs = 350.0;
constexpr double smallestWorkBudgetMs = 80.0;
constexpr double firstWorkBudgetMs = 120.0;  // the walk of the next picture is not known yet

// A whole picture of more vertices than this is drawn offscreen, about this many a turn, and
// then shown at once: the browser's drawing of millions of triangles would hold the page too.
// Each such turn, and each unfinished pass, waits for the browser to finish its drawing, so
// that the work handed to the browser never piles up beyond a turn's.
constexpr std::size_t verticesDrawnPerTurn = 300000;

// The picture being made over one or more passes. Operations (primitives, clears, bitmap
// characters) are counted in the order the drawing gives them, the same in every pass.
struct PictureProgress {
    std::vector<KeptStep> steps;
    std::size_t operation = 0;  // operations met so far in this pass
    std::size_t keptUpTo = 0;   // operations kept by the passes before
    std::size_t stoppedAt = 0;  // where this pass ran out of time
    bool budgetSpent = false;
    std::size_t skipAt = 0;  // where this pass takes skipCount operations as met
    std::size_t skipCount = 0;
    bool leavesRest = false;  // this pass does not finish the picture
    std::size_t lastPassOperations = 0;
    bool unfinished = false;  // the last pass ended before the picture was whole
    double passStart = 0.0;
    double workStart = 0.0;  // when this pass met its first operation to make
    double workEnd = 0.0;    // and when its time for them was spent
    double workBudgetMs = firstWorkBudgetMs;
    bool presenting = false;   // whole, and being drawn offscreen a part per turn
    std::size_t nextStep = 0;  // the first step not drawn yet
    long shown = 0;            // whole pictures drawn
};

struct GlContext {
    Renderer renderer;
    PictureProgress picture;
    // Matrices
    std::vector<Mat4> modelview{identityMatrix()};
    std::vector<Mat4> projection{identityMatrix()};
    GLenum matrixMode = GL_MODELVIEW;
    // Current vertex attributes
    Color color{1.0f, 1.0f, 1.0f, 1.0f};
    Vec3f normal{0.0f, 0.0f, 1.0f};
    // Raster settings
    RasterState raster{false, false, GL_BACK, GL_CCW, {0, 0, 0, 0}};
    GLenum polygonModeFront = GL_FILL;
    GLenum polygonModeBack = GL_FILL;
    float lineWidth = 1.0f;
    Color clearColor{0.0f, 0.0f, 0.0f, 0.0f};
    double clearDepth = 1.0;
    // Lighting
    bool lighting = false;
    bool light0 = false;
    bool normalize = false;
    bool twoSided = false;
    Color sceneAmbient = defaultSceneAmbient;
    LightParameters light = defaultLight0();
    MaterialParameters frontMaterial = defaultMaterial();
    MaterialParameters backMaterial = defaultMaterial();
    // Raster position of bitmaps, in window coordinates
    bool rasterValid = true;
    Vec3f rasterPosition{0.0f, 0.0f, 0.0f};
    Color rasterColor{1.0f, 1.0f, 1.0f, 1.0f};
    // The primitive being specified
    bool inPrimitive = false;
    bool keepingPrimitive = false;  // this pass makes it (else an earlier or later one does)
    GLenum primitiveMode = GL_POINTS;
    std::vector<ImmediateVertex> primitive;
    std::vector<Vec4f> clip;         // the primitive's vertices in clip space
    std::vector<PackedColor> front;  // and their colours
    std::vector<PackedColor> back;
    // The batch waiting to be drawn
    DrawKind batchKind = DrawKind::triangles;
    bool batchCulling = false;
    std::vector<DrawVertex> batch;
};

namespace {

GlContext* current = nullptr;

Mat4& currentMatrix() {
    return current->matrixMode == GL_PROJECTION ? current->projection.back()
                                                : current->modelview.back();
}

void multiplyCurrent(const Mat4& m) { currentMatrix() = multiply(currentMatrix(), m); }

void flushBatch() {
    RasterState state = current->raster;
    state.culling = current->batchCulling;
    const unsigned buffer = keepVertices(current->renderer, current->batch);
    current->picture.steps.push_back({false,
                                      0,
                                      {},
                                      0.0,
                                      current->batchKind,
                                      state,
                                      buffer,
                                      static_cast<int>(current->batch.size())});
    current->batch.clear();
}

// True while this pass makes the operations it meets: from where the passes before stopped
// until its time is spent.
bool keepingOperations() {
    PictureProgress& p = current->picture;
    if (p.operation == 0) p.passStart = emscripten_get_now();
    if (p.skipCount != 0 && p.operation == p.skipAt) {
        p.operation += p.skipCount;
        p.skipCount = 0;
    }
    if (p.operation == p.keptUpTo) p.workStart = emscripten_get_now();
    return p.operation >= p.keptUpTo && !p.budgetSpent;
}

// Counts an operation met; every 64 kept ones, looks whether the pass's time is spent.
void countOperation(bool kept) {
    PictureProgress& p = current->picture;
    ++p.operation;
    if (!kept || p.operation % 64 != 0) return;
    const double now = emscripten_get_now();
    if (now - p.workStart > p.workBudgetMs) {
        p.budgetSpent = true;
        p.stoppedAt = p.operation;
        p.workEnd = now;
    }
}

void drawKeptSteps(GlContext& c) {
    for (const KeptStep& step : c.picture.steps) {
        if (step.clear)
            clearBuffers(step.clearMask, step.clearColor, step.clearDepth);
        else
            drawKeptVertices(c.renderer, step.buffer, step.kind, step.count, step.state);
    }
}

// Vertices a batch holds at most before it is drawn: a frame of millions of faces then takes
// a few MiB for its batch instead of gigabytes of the page's memory. Drawing in order, in
// several calls of the same state, gives the same picture as one call.
constexpr std::size_t batchVertexLimit = std::size_t{1} << 16;

// Makes the batch one of `kind` drawn with `culling`, drawing what it held before if it was not
// or if it is full.
std::vector<DrawVertex>& batchFor(DrawKind kind, bool culling) {
    if (!current->batch.empty() &&
        (current->batchKind != kind || current->batchCulling != culling ||
         current->batch.size() >= batchVertexLimit))
        flushBatch();
    current->batchKind = kind;
    current->batchCulling = culling;
    return current->batch;
}

Vec3f negated(const Vec3f& v) { return {-v.x, -v.y, -v.z}; }

// The matrices of the last primitive made, with their product and normal matrix: the programs
// draw thousands of primitives under the same matrices.
struct TransformCache {
    bool valid = false;
    Mat4 modelview;
    Mat4 projection;
    Mat4 toClip;
    NormalMatrix normals;
};
TransformCache transformCache;

const TransformCache& transformsOfNow() {
    const GlContext& c = *current;
    TransformCache& t = transformCache;
    const Mat4& modelview = c.modelview.back();
    const Mat4& projection = c.projection.back();
    if (t.valid && std::memcmp(&t.modelview, &modelview, sizeof(Mat4)) == 0 &&
        std::memcmp(&t.projection, &projection, sizeof(Mat4)) == 0)
        return t;
    t = {true, modelview, projection, multiply(projection, modelview), normalMatrix(modelview)};
    return t;
}

// Transforms and lights the vertices of the finished primitive into clip, front and back.
void transformAndLight() {
    GlContext& c = *current;
    const std::size_t count = c.primitive.size();
    c.clip.resize(count);
    c.front.resize(count);
    c.back.resize(count);
    const TransformCache& t = transformsOfNow();
    for (std::size_t i = 0; i < count; ++i) {
        const ImmediateVertex& v = c.primitive[i];
        c.clip[i] = transformPoint(t.toClip, v.position);
        if (!c.lighting) {
            c.front[i] = c.back[i] = packColor(v.color);
            continue;
        }
        const Vec4f eye = transformPoint(t.modelview, v.position);
        Vec3f n = transformNormal(t.normals, v.normal);
        if (c.normalize) n = normalized(n);
        c.front[i] =
            packColor(litColor(eye, n, c.frontMaterial, c.light, c.light0, c.sceneAmbient));
        // One-sided lighting shows the front colour on both sides.
        c.back[i] = c.twoSided ? packColor(litColor(eye, negated(n), c.backMaterial, c.light,
                                                    c.light0, c.sceneAmbient))
                               : c.front[i];
    }
}

void addLine(int a, int b, const PackedColor& colorA, const PackedColor& colorB) {
    GlContext& c = *current;
    if (c.lineWidth <= 1.0f) {
        // An edge shared by two outlined polygons is drawn once each way; drawn in one
        // direction both times, it covers the same pixels at the same depths, and the second
        // loses the depth test everywhere instead of here and there.
        const bool reversed =
            c.clip[b].x < c.clip[a].x || (c.clip[b].x == c.clip[a].x && c.clip[b].y < c.clip[a].y);
        std::vector<DrawVertex>& batch = batchFor(DrawKind::lines, false);
        batch.push_back(reversed ? DrawVertex{c.clip[b], colorB, colorB}
                                 : DrawVertex{c.clip[a], colorA, colorA});
        batch.push_back(reversed ? DrawVertex{c.clip[a], colorA, colorA}
                                 : DrawVertex{c.clip[b], colorB, colorB});
        return;
    }
    // A wide line is a filled quadrilateral that no culling may remove.
    const std::array<Vec4f, 4> q =
        wideLineQuad(c.clip[a], c.clip[b], c.lineWidth, c.raster.viewport[2], c.raster.viewport[3]);
    std::vector<DrawVertex>& batch = batchFor(DrawKind::triangles, false);
    const PackedColor colors[4] = {colorA, colorB, colorB, colorA};
    for (const int k : {0, 1, 2, 0, 2, 3}) batch.push_back({q[k], colors[k], colors[k]});
}

bool isCulled(bool frontFacing) {
    const GlContext& c = *current;
    if (!c.raster.culling) return false;
    if (c.raster.cullFace == GL_FRONT_AND_BACK) return true;
    return frontFacing == (c.raster.cullFace == GL_FRONT);
}

// A polygon in line mode: its facing is found here, since the browser only knows the facing of
// filled triangles; the outline takes the colour of the side that shows.
void addPolygonOutline(const int* corners, int cornerCount) {
    const GlContext& c = *current;
    const float area = projectedArea(c.clip.data(), corners, cornerCount);
    const bool frontFacing = c.raster.frontFace == GL_CCW ? area > 0.0f : area < 0.0f;
    if (isCulled(frontFacing)) return;
    const std::vector<PackedColor>& colors = frontFacing ? c.front : c.back;
    for (int i = 0; i < cornerCount; ++i) {
        const int a = corners[i], b = corners[(i + 1) % cornerCount];
        addLine(a, b, colors[a], colors[b]);
    }
}

void addFilledPolygon(const int* corners, int cornerCount) {
    const GlContext& c = *current;
    std::vector<DrawVertex>& batch = batchFor(DrawKind::triangles, c.raster.culling);
    // A fan from the first corner, as OpenGL fills a convex polygon.
    for (int i = 1; i + 1 < cornerCount; ++i)
        for (const int k : {corners[0], corners[i], corners[i + 1]})
            batch.push_back({c.clip[k], c.front[k], c.back[k]});
}

void drawPrimitive() {
    const GlContext& c = *current;
    const int count = static_cast<int>(c.primitive.size());
    transformAndLight();
    if (isAreaMode(c.primitiveMode)) {
        // Both sides are asked for the same mode by the programs; the front's decides.
        const bool outline = c.polygonModeFront == GL_LINE;
        forEachPolygon(c.primitiveMode, count, [&](const int* corners, int cornerCount) {
            if (outline)
                addPolygonOutline(corners, cornerCount);
            else
                addFilledPolygon(corners, cornerCount);
        });
    } else if (isLineMode(c.primitiveMode)) {
        forEachSegment(c.primitiveMode, count,
                       [&](int a, int b) { addLine(a, b, c.front[a], c.front[b]); });
    } else if (c.primitiveMode == GL_POINTS) {
        std::vector<DrawVertex>& batch = batchFor(DrawKind::points, false);
        for (int i = 0; i < count; ++i) batch.push_back({c.clip[i], c.front[i], c.front[i]});
    }
}

void addVertex(float x, float y, float z, float w) {
    if (!current->keepingPrimitive) return;
    current->primitive.push_back({{x, y, z, w}, current->normal, current->color});
}

Color colorFrom(const GLfloat* p) { return {p[0], p[1], p[2], p[3]}; }

void setCapability(GLenum cap, bool on) {
    GlContext& c = *current;
    switch (cap) {
        case GL_CULL_FACE:
            // The batch records its own culling; filled triangles take the new setting.
            c.raster.culling = on;
            break;
        case GL_DEPTH_TEST:
            if (c.raster.depthTest != on && !c.batch.empty()) flushBatch();
            c.raster.depthTest = on;
            break;
        case GL_LIGHTING: c.lighting = on; break;
        case GL_LIGHT0: c.light0 = on; break;
        case GL_NORMALIZE: c.normalize = on; break;
        default: break;
    }
}

void setMaterial(MaterialParameters& m, GLenum pname, const GLfloat* params) {
    switch (pname) {
        case GL_AMBIENT: m.ambient = colorFrom(params); break;
        case GL_DIFFUSE: m.diffuse = colorFrom(params); break;
        case GL_SPECULAR: m.specular = colorFrom(params); break;
        case GL_EMISSION: m.emission = colorFrom(params); break;
        case GL_SHININESS: m.shininess = params[0]; break;
        case GL_AMBIENT_AND_DIFFUSE: m.ambient = m.diffuse = colorFrom(params); break;
        default: break;
    }
}

// Window coordinates of a clip-space point: x and y in pixels, z in [0, 1].
Vec3f windowPosition(const Vec4f& clip) {
    const int* v = current->raster.viewport;
    return {static_cast<float>(v[0]) + (clip.x / clip.w + 1.0f) * 0.5f * static_cast<float>(v[2]),
            static_cast<float>(v[1]) + (clip.y / clip.w + 1.0f) * 0.5f * static_cast<float>(v[3]),
            (clip.z / clip.w + 1.0f) * 0.5f};
}

// The clip-space point at the centre of the pixel (x, y) at depth z in [0, 1].
Vec4f pixelCenter(int x, int y, float z) {
    const int* v = current->raster.viewport;
    return {(static_cast<float>(x - v[0]) + 0.5f) / static_cast<float>(v[2]) * 2.0f - 1.0f,
            (static_cast<float>(y - v[1]) + 0.5f) / static_cast<float>(v[3]) * 2.0f - 1.0f,
            z * 2.0f - 1.0f, 1.0f};
}

void setRasterPosition(float x, float y, float z) {
    GlContext& c = *current;
    const Vec4f clip =
        transformPoint(multiply(c.projection.back(), c.modelview.back()), {x, y, z, 1.0f});
    c.rasterValid =
        std::fabs(clip.x) <= clip.w && std::fabs(clip.y) <= clip.w && std::fabs(clip.z) <= clip.w;
    if (c.rasterValid) c.rasterPosition = windowPosition(clip);
    c.rasterColor = c.color;
}

}  // namespace

namespace {

std::size_t keptVertexCount(const PictureProgress& p) {
    std::size_t vertices = 0;
    for (const KeptStep& step : p.steps) vertices += static_cast<std::size_t>(step.count);
    return vertices;
}

void finishWholePicture(GlContext& c) {
    PictureProgress& p = c.picture;
    ++p.shown;
    // A picture of one pass leaves spare buffers of a heavier one before it to be deleted.
    reuseKeptBuffers(c.renderer, true);
    p.steps.clear();
    p.keptUpTo = 0;
    p.unfinished = false;
    p.presenting = false;
    p.workBudgetMs = firstWorkBudgetMs;
}

}  // namespace

bool endGlPicturePass() {
    GlContext& c = *current;
    if (!c.batch.empty()) flushBatch();
    PictureProgress& p = c.picture;
    if (p.leavesRest && !p.budgetSpent && p.operation > p.keptUpTo) {
        p.budgetSpent = true;
        p.stoppedAt = p.operation;
        p.workEnd = emscripten_get_now();
    }
    const bool whole = !p.budgetSpent;
    p.lastPassOperations = p.operation;
    p.operation = 0;
    p.budgetSpent = false;
    p.skipCount = 0;
    p.leavesRest = false;
    if (!whole) {
        p.keptUpTo = p.stoppedAt;
        p.unfinished = true;
        const double walkMs = (emscripten_get_now() - p.passStart) - (p.workEnd - p.workStart);
        p.workBudgetMs = std::max(smallestWorkBudgetMs, passTargetMs - walkMs);
        waitUntilDrawn();
        return false;
    }
    if (keptVertexCount(p) > verticesDrawnPerTurn) {
        p.presenting = true;
        p.unfinished = true;
        p.nextStep = 0;
        return false;
    }
    drawKeptSteps(c);
    finishWholePicture(c);
    return true;
}

bool glPicturePresenting(const GlContext* context) { return context->picture.presenting; }

void continueGlPresentation(GlContext* context, int width, int height) {
    GlContext& c = *context;
    PictureProgress& p = c.picture;
    if (p.nextStep == p.steps.size()) {
        // Drawn and finished in the turns before: this one only copies it onto the canvas.
        showOffscreenPicture(c.renderer);
        finishWholePicture(c);
        return;
    }
    drawOffscreen(c.renderer, width, height, true);
    std::size_t drawn = 0;
    for (; p.nextStep < p.steps.size() && drawn < verticesDrawnPerTurn; ++p.nextStep) {
        const KeptStep& step = p.steps[p.nextStep];
        if (step.clear)
            clearBuffers(step.clearMask, step.clearColor, step.clearDepth);
        else
            drawKeptVertices(c.renderer, step.buffer, step.kind, step.count, step.state);
        drawn += static_cast<std::size_t>(step.count);
    }
    waitUntilDrawn();
    drawOffscreen(c.renderer, width, height, false);
}

void restartGlPicture(GlContext* context) {
    PictureProgress& p = context->picture;
    if (!p.unfinished) return;
    p.steps.clear();
    p.keptUpTo = 0;
    p.unfinished = false;
    p.presenting = false;
    context->renderer.buffersUsed = 0;
}

std::size_t glPictureKeptOperations() { return current->picture.keptUpTo; }

std::size_t glLastPassOperations() { return current->picture.lastPassOperations; }

void skipGlOperations(std::size_t at, std::size_t count) {
    current->picture.skipAt = at;
    current->picture.skipCount = count;
}

void leaveGlPictureUnfinished() { current->picture.leavesRest = true; }

bool glPictureUnfinished(const GlContext* context) { return context->picture.unfinished; }

long glPicturesShown(const GlContext* context) { return context->picture.shown; }

GlContext* createGlContext(int width, int height) {
    GlContext* context = new GlContext;
    context->renderer = createRenderer();
    context->raster.viewport[2] = width;
    context->raster.viewport[3] = height;
    return context;
}

void makeGlContextCurrent(GlContext* context) { current = context; }

void drawBitmapAtRasterPosition(int width, int height, float xorig, float yorig, float xmove,
                                const unsigned char* rows) {
    GlContext& c = *current;
    if (!c.rasterValid) return;
    // A raster position meant to fall on a pixel's corner may come out a hair below it: the
    // small allowance keeps it on that pixel, as desktop OpenGL does.
    constexpr float allowance = 0.0001f;
    const int left = static_cast<int>(std::floor(c.rasterPosition.x + allowance - xorig));
    const int bottom = static_cast<int>(std::floor(c.rasterPosition.y + allowance - yorig));
    const int bytesPerRow = (width + 7) / 8;
    const bool kept = keepingOperations();
    if (kept) {
        std::vector<DrawVertex>& batch = batchFor(DrawKind::points, false);
        for (int row = 0; row < height; ++row)
            for (int column = 0; column < width; ++column)
                if (rows[row * bytesPerRow + column / 8] & (0x80 >> (column % 8)))
                    batch.push_back({pixelCenter(left + column, bottom + row, c.rasterPosition.z),
                                     packColor(c.rasterColor), packColor(c.rasterColor)});
    }
    countOperation(kept);
    c.rasterPosition.x += xmove;
}

extern "C" {

void glBegin(GLenum mode) {
    current->inPrimitive = true;
    current->keepingPrimitive = keepingOperations();
    current->primitiveMode = mode;
    current->primitive.clear();
}

void glEnd(void) {
    if (!current->inPrimitive) return;
    if (current->keepingPrimitive) drawPrimitive();
    countOperation(current->keepingPrimitive);
    current->inPrimitive = false;
    current->keepingPrimitive = false;
}

void glVertex2f(GLfloat x, GLfloat y) { addVertex(x, y, 0.0f, 1.0f); }
void glVertex2d(GLdouble x, GLdouble y) {
    addVertex(static_cast<float>(x), static_cast<float>(y), 0.0f, 1.0f);
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { addVertex(x, y, z, 1.0f); }
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
    addVertex(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), 1.0f);
}
void glVertex3fv(const GLfloat* v) { addVertex(v[0], v[1], v[2], 1.0f); }
void glVertex4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w) { addVertex(x, y, z, w); }

void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { current->normal = {x, y, z}; }
void glNormal3d(GLdouble x, GLdouble y, GLdouble z) {
    current->normal = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}
void glNormal3fv(const GLfloat* v) { current->normal = {v[0], v[1], v[2]}; }

void glColor3f(GLfloat r, GLfloat g, GLfloat b) { current->color = {r, g, b, 1.0f}; }
void glColor3fv(const GLfloat* v) { current->color = {v[0], v[1], v[2], 1.0f}; }
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { current->color = {r, g, b, a}; }

// Nothing is textured, so texture coordinates are accepted and left unused.
void glTexCoord2f(GLfloat, GLfloat) {}
void glTexCoord3f(GLfloat, GLfloat, GLfloat) {}

void glMatrixMode(GLenum mode) { current->matrixMode = mode; }
void glLoadIdentity(void) { currentMatrix() = identityMatrix(); }
void glPushMatrix(void) {
    std::vector<Mat4>& stack =
        current->matrixMode == GL_PROJECTION ? current->projection : current->modelview;
    stack.push_back(stack.back());
}
void glPopMatrix(void) {
    std::vector<Mat4>& stack =
        current->matrixMode == GL_PROJECTION ? current->projection : current->modelview;
    if (stack.size() > 1) stack.pop_back();
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { multiplyCurrent(translationMatrix(x, y, z)); }
void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    multiplyCurrent(translationMatrix(static_cast<float>(x), static_cast<float>(y),
                                      static_cast<float>(z)));
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    multiplyCurrent(rotationMatrix(angle, x, y, z));
}
void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
    multiplyCurrent(rotationMatrix(static_cast<float>(angle), static_cast<float>(x),
                                   static_cast<float>(y), static_cast<float>(z)));
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) { multiplyCurrent(scaleMatrix(x, y, z)); }
void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
             GLdouble zFar) {
    multiplyCurrent(orthoMatrix(left, right, bottom, top, zNear, zFar));
}
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    multiplyCurrent(perspectiveMatrix(fovy, aspect, zNear, zFar));
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (!current->batch.empty()) flushBatch();
    current->raster.viewport[0] = x;
    current->raster.viewport[1] = y;
    current->raster.viewport[2] = width;
    current->raster.viewport[3] = height;
}

void glEnable(GLenum cap) { setCapability(cap, true); }
void glDisable(GLenum cap) { setCapability(cap, false); }
void glCullFace(GLenum face) {
    if (!current->batch.empty()) flushBatch();
    current->raster.cullFace = face;
}
void glFrontFace(GLenum mode) {
    if (!current->batch.empty()) flushBatch();
    current->raster.frontFace = mode;
}
void glPolygonMode(GLenum face, GLenum mode) {
    if (face == GL_FRONT || face == GL_FRONT_AND_BACK) current->polygonModeFront = mode;
    if (face == GL_BACK || face == GL_FRONT_AND_BACK) current->polygonModeBack = mode;
}
// Colours are always interpolated: the programs ask for smooth shading only.
void glShadeModel(GLenum) {}
void glLineWidth(GLfloat width) { current->lineWidth = width; }
void glPointSize(GLfloat) {}

void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    if (light != GL_LIGHT0) return;
    LightParameters& l = current->light;
    switch (pname) {
        case GL_POSITION:
            // Stored in eye space, through the modelview matrix of the moment.
            l.position = transformPoint(current->modelview.back(),
                                        {params[0], params[1], params[2], params[3]});
            break;
        case GL_AMBIENT: l.ambient = colorFrom(params); break;
        case GL_DIFFUSE: l.diffuse = colorFrom(params); break;
        case GL_SPECULAR: l.specular = colorFrom(params); break;
        default: break;
    }
}
void glLightModeli(GLenum pname, GLint param) {
    if (pname == GL_LIGHT_MODEL_TWO_SIDE) current->twoSided = param != 0;
}
void glLightModelfv(GLenum pname, const GLfloat* params) {
    if (pname == GL_LIGHT_MODEL_AMBIENT) current->sceneAmbient = colorFrom(params);
    if (pname == GL_LIGHT_MODEL_TWO_SIDE) current->twoSided = params[0] != 0.0f;
}
void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    if (face == GL_FRONT || face == GL_FRONT_AND_BACK)
        setMaterial(current->frontMaterial, pname, params);
    if (face == GL_BACK || face == GL_FRONT_AND_BACK)
        setMaterial(current->backMaterial, pname, params);
}
void glMaterialf(GLenum face, GLenum pname, GLfloat param) { glMaterialfv(face, pname, &param); }

void glRasterPos2f(GLfloat x, GLfloat y) { setRasterPosition(x, y, 0.0f); }
void glRasterPos3f(GLfloat x, GLfloat y, GLfloat z) { setRasterPosition(x, y, z); }

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    current->clearColor = {r, g, b, a};
}
void glClearDepth(GLclampd depth) { current->clearDepth = depth; }
void glClear(GLbitfield mask) {
    const bool kept = keepingOperations();
    if (kept) {
        if (!current->batch.empty()) flushBatch();
        current->picture.steps.push_back({true, mask, current->clearColor, current->clearDepth,
                                          DrawKind::points, current->raster, 0, 0});
    }
    countOperation(kept);
}
void glFlush(void) {
    if (!current->batch.empty()) flushBatch();
}
void glFinish(void) {
    glFlush();
    finishDrawing();
}

}  // extern "C"
