// Subdivo's page: what the page asks of the program beyond GLUT's events. Its keys run the
// program's own key commands, with a level driver whose memory budget is what the page can
// really hold; a level is built by the same program started again in a worker (the page's
// scheme, Doo-Sabin, Catmull-Clark or Loop, chosen here) and taken in face slice by face
// slice; a model the user opened is framed as subdivo-export --fit does; and the level and
// the heap are told to the page.
#include <malloc.h>
#include <unistd.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>

#include <emscripten.h>
#include <emscripten/heap.h>

#include <GL/freeglut.h>

#include "camera_state.h"
#include "mesh_topology.h"
#include "model_fit.h"
#include "model_size.h"
#include "model_transfer.h"
#include "refined_mesh.h"
#include "scene_layout.h"
#include "screen_box.h"
#include "subdivision_level.h"
#include "subdivo_viewer.h"

// From subdivo_lessons.cpp: the first window draws through the page from now on.
void drawFramesThroughPage();

// From subdivo_page_library.js: a step of the worker's build, told to the page.
extern "C" void webSubdivoTellStep(int step, int level, double faces, double vertices);

namespace {

constexpr std::uint64_t mebibyte = std::uint64_t{1} << 20;

// The memory the page can grow to: the WebAssembly ceiling, unless the page set a lower one.
std::uint64_t memoryCeilingBytes = emscripten_get_heap_max();

// Kept free at a rebuild's peak for everything the forecast does not count: the frame's batch
// of vertices, the standard library's small blocks, the stack of the GL layer.
constexpr std::uint64_t headroomBytes = 96 * mebibyte;

// The heap a rebuild takes at its peak, with dlmalloc and the memory's growth, for each byte
// of the level driver's forecast (which counts glibc's larger blocks): measured in Chromium at
// 0.75 (a closed sphere of 99,372 triangles to level 4, 1,985 MiB of heap for a forecast of
// 2,661 MiB) and 0.77 (a 950 x 950 quad grid to level 1), with a margin.
constexpr double heapPerForecastByte = 0.85;

// dlmalloc's count of bytes in use, an unsigned 32-bit number behind the header's int.
std::uint64_t heapInUseBytes() { return static_cast<std::uint32_t>(mallinfo().uordblks); }

// Bytes in use now that the rebuild will not release: everything but the shown model.
std::uint64_t heldOutsideShownModel(const ObjModel& shown) {
    const std::uint64_t inUse = heapInUseBytes();
    const std::uint64_t shownBytes = modelBytes(measureModel(shown));
    return inUse > shownBytes ? inUse - shownBytes : 0;
}

std::uint64_t pageBudgetBytes(const ObjModel& shown) {
    const std::uint64_t held = heldOutsideShownModel(shown) + headroomBytes;
    if (held >= memoryCeilingBytes) return 0;
    return static_cast<std::uint64_t>(double(memoryCeilingBytes - held) / heapPerForecastByte);
}

// The level driver of the page. Should memory run out in spite of the budget, the driver has
// refused but may have left another level, or an empty model, in the shown record: the level
// shown before is then built again.
bool pageLevelDriver(const ObjModel& base, ObjModel*& subdivided, int level) {
    const ObjModel* shownBefore = subdivided;
    const std::int32_t facesBefore = subdivided->numFaces;
    if (applySubdivisionLevel(base, subdivided, level, pageBudgetBytes(*subdivided))) return true;
    const bool shownChanged = subdivided != shownBefore || subdivided->numFaces != facesBefore;
    if (subdivisionLevel > 0 && shownChanged)
        applySubdivisionLevel(base, subdivided, subdivisionLevel, pageBudgetBytes(*subdivided));
    return false;
}

// Moves every drawn point up so that the lowest one lies on the ground grid's plane, y = 0; a
// homogeneous vertex moves by the same drawn distance (y += shift * w).
void standOnGrid(ObjModel& model) {
    const PointBounds bounds = drawnPointBounds(model);
    if (bounds.points == 0) return;
    const double shift = -bounds.low[1];
    for (std::int32_t v = 0; v < model.numVertices; ++v) {
        Vec4f& p = model.vertices[v];
        p.y = static_cast<float>(p.y + shift * p.w);
    }
}

// The scheme of the levels the page builds, and that of the level shown.
SchemeKind chosenScheme = SchemeKind::dooSabin;
SchemeKind shownScheme = SchemeKind::dooSabin;

// What the Catmull-Clark and Loop forecasts need of the base model, found once per model: its
// counts with the edges, and the faces Loop refuses.
struct BaseMeshFacts {
    const ObjModel* model = nullptr;
    std::int32_t faces = -1;
    MeshCounts counts;
    std::int64_t otherThanTriangles = 0;
};

const BaseMeshFacts& baseMeshFacts() {
    static BaseMeshFacts facts;
    if (facts.model == baseModel && facts.faces == baseModel->numFaces) return facts;
    const FaceVertexArrays faces = faceVertexArraysOf(*baseModel);
    MeshTopology topology;
    buildMeshTopology(faces, topology);
    facts = {baseModel, baseModel->numFaces,
             MeshCounts{faces.numVertices, topology.numEdges, faceCount(faces),
                        std::int64_t(faces.cornerVertex.size())},
             facesOtherThanTriangles(faces)};
    return facts;
}

// The size of the model `level` steps of `scheme` make from the base: Doo-Sabin by the level
// driver's bound, Catmull-Clark and Loop by their exact counts.
ModelSize forecastSize(SchemeKind scheme, int level) {
    if (scheme == SchemeKind::dooSabin) {
        ModelSize size = measureModel(*baseModel);
        for (int step = 0; step < level; ++step) size = boundNextDooSabinLevel(size);
        return size;
    }
    MeshCounts counts = baseMeshFacts().counts;
    for (int step = 0; step < level; ++step) counts = refinedCounts(scheme, counts);
    const std::int64_t cornersPerFace = scheme == SchemeKind::loop ? 3 : 4;
    return {counts.vertices,
            0,
            0,
            counts.faces,
            counts.corners,
            counts.faces * indexListHeapBytes(cornersPerFace),
            1};
}

// Tells the page each step the worker has built: a Doo-Sabin step's model, or a Catmull-Clark
// or Loop step's mesh.
void tellStep(const BuiltStep& built) {
    if (built.model != nullptr) {
        webSubdivoTellStep(built.step, built.level, built.model->numFaces,
                           built.model->numVertices);
    } else {
        webSubdivoTellStep(built.step, built.level, faceCount(built.mesh->faces),
                           built.mesh->faces.numVertices);
    }
}

// The level being taken in from the worker's block.
ModelUnpacking adoption;

// The level shown before the one taken in, until the new one's first picture is drawn.
struct SetAsideLevel {
    ObjModel* model = nullptr;
    int level = 0;
    SchemeKind scheme = SchemeKind::dooSabin;
};
SetAsideLevel setAside;

void refuseAdoption(int level) {
    std::fprintf(stderr, "Subdivision level %d not built: out of memory.\n", level);
}

// Scales the model about the origin, by the same factor on every axis, so that a model
// standing on the grid still stands on it.
void scaleAboutOrigin(ObjModel& model, float factor) {
    for (std::int32_t v = 0; v < model.numVertices; ++v) {
        Vec4f& p = model.vertices[v];
        p.x *= factor;
        p.y *= factor;
        p.z *= factor;
    }
}

// Shrinks a model standing on the grid until its bounds' screen rectangle in the start view
// keeps a margin inside the window: raised onto the grid, a model of extent 2 may reach past
// the picture's top (npm's bunny did).
void keepWithinView(ObjModel& model) {
    constexpr double marginPixels = 12.0;
    constexpr float shrink = 0.95f;
    for (int attempt = 0; attempt < 40; ++attempt) {
        const PointBounds bounds = drawnPointBounds(model);
        ScreenRectangle r;
        if (bounds.points == 0) return;
        if (screenBox(bounds.low, bounds.high, r) && r.left >= marginPixels &&
            r.top >= marginPixels && r.right <= windowWidth - marginPixels &&
            r.bottom <= windowHeight - marginPixels)
            return;
        scaleAboutOrigin(model, shrink);
    }
}

}  // namespace

extern "C" {

// A key over the picture, as the window's keyboard callback takes it, but with the page's level
// driver. Returns the level shown afterwards.
EMSCRIPTEN_KEEPALIVE int webSubdivoKey(int key) {
    performKeyCommand(keyCommand(static_cast<unsigned char>(key)), pageLevelDriver);
    glutPostRedisplay();
    return subdivisionLevel;
}

EMSCRIPTEN_KEEPALIVE int webSubdivoLevel() { return subdivisionLevel; }

// Frames the loaded model in the start view (centred, largest extent 2), then raises it to stand
// on the ground grid (y = 0) instead of half through it, smaller if it then reaches past the
// picture; before its first frame.
EMSCRIPTEN_KEEPALIVE void webSubdivoFitModel() {
    if (baseModel == nullptr || baseModel->numVertices == 0) return;
    fitModel(*baseModel);
    standOnGrid(*baseModel);
    keepWithinView(*baseModel);
    std::printf("Model moved and scaled to fit the view, standing on the grid.\n");
}

// The loaded model's faces: 0 when there is nothing to subdivide.
EMSCRIPTEN_KEEPALIVE int webSubdivoBaseFaces() { return baseModel ? baseModel->numFaces : 0; }

// The faces forecast for `level` of the chosen scheme, rebuilt from the base model as the
// driver does; -1 when that model alone outgrows the page's budget, so that the driver will
// refuse it at once. For the page's question before a heavy level.
EMSCRIPTEN_KEEPALIVE double webSubdivoForecastFaces(int level) {
    const ModelSize size = forecastSize(chosenScheme, level);
    if (modelBytes(size) > pageBudgetBytes(*subdividedModel)) return -1.0;
    return double(size.faces);
}

// The forecast counts of `level` of the chosen scheme, for a view of the counts: 0 vertices,
// 1 faces, 2 corners (Doo-Sabin's are bounds beyond level 1 on other than closed manifolds).
EMSCRIPTEN_KEEPALIVE double webSubdivoForecastCount(int level, int which) {
    const ModelSize size = forecastSize(chosenScheme, level);
    return double(which == 0 ? size.vertices : which == 1 ? size.faces : size.corners);
}

// The scheme of the levels built from now on: 0 Doo-Sabin, 1 Catmull-Clark, 2 Loop (the order
// of SchemeKind); and the scheme of the level shown.
EMSCRIPTEN_KEEPALIVE void webSubdivoChooseScheme(int scheme) {
    chosenScheme = static_cast<SchemeKind>(scheme);
    drawFramesThroughPage();
}
EMSCRIPTEN_KEEPALIVE int webSubdivoShownScheme() { return static_cast<int>(shownScheme); }

// The base model's faces that Loop refuses, those of other than three corners.
EMSCRIPTEN_KEEPALIVE double webSubdivoFacesOtherThanTriangles() {
    return double(baseMeshFacts().otherThanTriangles);
}

// The base model packed for the worker (free it after copying); its size in bytes.
EMSCRIPTEN_KEEPALIVE std::uint8_t* webSubdivoPackBase() { return packModel(*baseModel); }
EMSCRIPTEN_KEEPALIVE double webSubdivoPackedBytes(const std::uint8_t* block) {
    return double(packedModelBytes(block));
}

// In the worker: builds `level` steps of `scheme` from the packed base (which it frees), with
// the page's budget of this program's own memory, telling every step. Returns the level's
// model packed, or null when the level is refused (the reason is on the error stream).
EMSCRIPTEN_KEEPALIVE std::uint8_t* webSubdivoBuildLevel(std::uint8_t* packedBase, int level,
                                                        int scheme) {
    ModelUnpacking base;
    const bool unpacked = beginUnpacking(packedBase, base) && unpackAll(base);
    std::free(packedBase);
    if (!unpacked) {
        refuseAdoption(level);
        return nullptr;
    }
    ObjModel* built = new ObjModel{};
    LevelRequest request;
    request.scheme = static_cast<SchemeKind>(scheme);
    request.budgetBytes = pageBudgetBytes(*built);
    request.progress = tellStep;
    std::uint8_t* packed = nullptr;
    if (applySubdivisionLevel(*base.model, built, level, request)) {
        abandonUnpacking(base);  // before packing, which needs room of the level's size again
        packed = packModel(*built);
        if (packed == nullptr) refuseAdoption(level);
    }
    abandonUnpacking(base);
    freeModelArrays(built);
    delete built;
    return packed;
}

// On the page: takes in the worker's packed level (the block stays the page's until
// webSubdivoAdoptEnd or webSubdivoAdoptAbort), a slice of its points and faces per
// webSubdivoAdoptSlice, which returns what is left; false, or -1 left, when memory runs out,
// keeping the level shown.
EMSCRIPTEN_KEEPALIVE int webSubdivoAdoptBegin(const std::uint8_t* block, int level) {
    abandonUnpacking(adoption);
    if (beginUnpacking(block, adoption)) return 1;
    refuseAdoption(level);
    return 0;
}
EMSCRIPTEN_KEEPALIVE double webSubdivoAdoptSlice(int count, int level) {
    if (unpackSlice(adoption, count)) return double(unpackingLeft(adoption));
    refuseAdoption(level);
    return -1.0;
}
// Shows the level taken in, as the level driver would have left it, and frees the block. The
// level shown before is set aside until its first picture is drawn, for webSubdivoPutBack.
EMSCRIPTEN_KEEPALIVE void webSubdivoAdoptEnd(std::uint8_t* block, int level, int scheme) {
    releaseFaces(setAside.model, setAside.model ? setAside.model->numFaces : 0);
    setAside = {subdividedModel, subdivisionLevel, shownScheme};
    subdividedModel = adoption.model;
    adoption.model = nullptr;
    subdivisionLevel = level;
    shownScheme = static_cast<SchemeKind>(scheme);
    std::free(block);
    glutPostRedisplay();
}
EMSCRIPTEN_KEEPALIVE void webSubdivoAdoptAbort(std::uint8_t* block) {
    abandonUnpacking(adoption);
    std::free(block);
}
// Shows again the level set aside (the new one is set aside in its place): Cancel while the
// new level's first picture is drawn.
EMSCRIPTEN_KEEPALIVE void webSubdivoPutBack() {
    if (setAside.model == nullptr) return;
    std::swap(setAside.model, subdividedModel);
    std::swap(setAside.level, subdivisionLevel);
    std::swap(setAside.scheme, shownScheme);
    glutPostRedisplay();
}
// Releases up to `count` faces of the level set aside; returns those left (0: it is gone).
EMSCRIPTEN_KEEPALIVE int webSubdivoReleaseSetAside(int count) {
    return releaseFaces(setAside.model, count);
}

// The display switches as bits: 1 culling, 2 lighting, 4 wire frame, 8 normals.
EMSCRIPTEN_KEEPALIVE int webSubdivoSwitches() {
    const DisplaySwitches& s = displaySwitches;
    return (s.backFaceCulling ? 1 : 0) | (s.lightingEnabled ? 2 : 0) | (s.wireframe ? 4 : 0) |
           (s.normalLines.showNormals ? 8 : 0);
}

// How much nearer the camera may come before it enters the model shown: its distance less the
// farthest corner of the model's bounds from the origin it orbits, with 5% to spare.
EMSCRIPTEN_KEEPALIVE double webCameraRoomLeft() {
    const PointBounds bounds = drawnPointBounds(shownModel());
    double radius = 0.0;
    for (int corner = 0; corner < 8 && bounds.points > 0; ++corner) {
        double squared = 0.0;
        for (int axis = 0; axis < 3; ++axis) {
            const double c = (corner >> axis & 1) != 0 ? bounds.high[axis] : bounds.low[axis];
            squared += c * c;
        }
        radius = std::max(radius, std::sqrt(squared));
    }
    return camera.distance - 1.05 * radius;
}

// Whether the window's pixel (x, y from the top) lies within the screen rectangle of the shown
// model's bounds: a finger put down there turns the model, elsewhere it scrolls the page.
EMSCRIPTEN_KEEPALIVE int webSubdivoPixelOnModel(int x, int y) {
    const PointBounds bounds = drawnPointBounds(shownModel());
    return bounds.points > 0 && pixelInScreenBox(bounds.low, bounds.high, x, y) ? 1 : 0;
}

// A lower memory ceiling for the budget, in MiB (for trying refusals on small models).
EMSCRIPTEN_KEEPALIVE void webSubdivoLimitMemory(int mebibytes) {
    const std::uint64_t limit = static_cast<std::uint64_t>(mebibytes) * mebibyte;
    if (mebibytes > 0 && limit < memoryCeilingBytes) memoryCeilingBytes = limit;
}

// The heap's top (it never shrinks, so the highest it reached) and the bytes in use, in MiB.
EMSCRIPTEN_KEEPALIVE double webHeapTopMiB() {
    return double(reinterpret_cast<std::uintptr_t>(sbrk(0))) / double(mebibyte);
}
EMSCRIPTEN_KEEPALIVE double webHeapInUseMiB() {
    return double(heapInUseBytes()) / double(mebibyte);
}
EMSCRIPTEN_KEEPALIVE double webBudgetMiB() {
    return double(pageBudgetBytes(*subdividedModel)) / double(mebibyte);
}

}  // extern "C"
