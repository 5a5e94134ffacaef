// Subdivo's page: what the page asks of the program beyond GLUT's events. Its keys run the
// program's own key commands, with a level driver whose memory budget is what the page can
// really hold; a model the user opened is framed as subdivo-export --fit does; and the level
// and the heap are told to the page.
#include <malloc.h>
#include <unistd.h>
#include <cstdint>
#include <cstdio>

#include <emscripten.h>
#include <emscripten/heap.h>

#include "model_fit.h"
#include "model_size.h"
#include "subdivision_level.h"
#include "subdivo_viewer.h"

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

}  // namespace

extern "C" {

// A key over the picture, as the window's keyboard callback takes it, but with the page's level
// driver. Returns the level shown afterwards.
EMSCRIPTEN_KEEPALIVE int webSubdivoKey(int key) {
    performKeyCommand(keyCommand(static_cast<unsigned char>(key)), pageLevelDriver);
    return subdivisionLevel;
}

EMSCRIPTEN_KEEPALIVE int webSubdivoLevel() { return subdivisionLevel; }

// Frames the loaded model in the start view (centred, largest extent 2), before its first frame.
EMSCRIPTEN_KEEPALIVE void webSubdivoFitModel() {
    if (baseModel == nullptr || baseModel->numVertices == 0) return;
    fitModel(*baseModel);
    std::printf("Model moved and scaled to fit the view.\n");
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
