// Subdivo's picture of a heavy model drawn a window of faces per pass: the program's own
// display, with the shown record pointing at the pass's window and the operations of the faces
// before it skipped in the GL layer, so that no pass walks every face.
#include "face_windows.h"

#include <algorithm>
#include <cstddef>

#include "gl_context.h"
#include "subdivo_viewer.h"

namespace {

// Where the model's faces begin among the operations of the picture under way, found by the
// pass before, for the record it drew; and the first face of the last pass's window with the
// operations of the faces before it.
struct FaceWindows {
    const ObjFace* faces = nullptr;
    std::int32_t numFaces = 0;
    bool normalLines = false;
    std::size_t facesBegin = 0;
    std::int32_t first = 0;
    std::size_t opsBefore = 0;
};
FaceWindows faceWindows;

bool normalLinesShown(const ObjModel& model) {
    return displaySwitches.normalLines.showNormals && model.hasNormals;
}

// The operations drawModel gives for faces [from, to): a primitive each and one line per
// corner when normal lines are shown.
std::size_t faceOperations(const ObjModel& model, std::int32_t from, std::int32_t to) {
    std::size_t ops = std::size_t(to - from);
    if (normalLinesShown(model))
        for (std::int32_t f = from; f < to; ++f) ops += std::size_t(model.faces[f].numVertices);
    return ops;
}

// Moves the window's start on to the face whose operations hold the operation `kept`
// (counted from the first face's).
void findFirstFace(const ObjModel& model, std::size_t kept) {
    FaceWindows& w = faceWindows;
    if (!normalLinesShown(model)) {  // one operation a face: no walk needed
        w.first = std::int32_t(std::min<std::size_t>(kept, std::size_t(model.numFaces - 1)));
        w.opsBefore = std::size_t(w.first);
        return;
    }
    if (kept < w.opsBefore) {
        w.first = 0;
        w.opsBefore = 0;
    }
    while (w.first + 1 < model.numFaces) {
        const std::size_t ops = faceOperations(model, w.first, w.first + 1);
        if (w.opsBefore + ops > kept) break;
        w.opsBefore += ops;
        ++w.first;
    }
}

// Notes where the faces began in the pass just ended, which drew faces [0, end).
void noteFacesBegin(const ObjModel& model, std::int32_t end) {
    FaceWindows& w = faceWindows;
    w.faces = model.faces;
    w.numFaces = model.numFaces;
    w.normalLines = normalLinesShown(model);
    w.facesBegin = glLastPassOperations() - w.opsBefore - faceOperations(model, w.first, end);
}

}  // namespace

// The program's frame with the shown record holding only this pass's window of faces: the
// operations of the faces before are taken as met, and the pass leaves the rest to the next.
// The record is whole again before anything else reads it.
void displaySceneInWindows(ObjModel& model) {
    FaceWindows& w = faceWindows;
    const std::size_t kept = glPictureKeptOperations();
    const bool known = w.faces == model.faces && w.numFaces == model.numFaces &&
                       w.normalLines == normalLinesShown(model);
    if (kept == 0) {
        w.first = 0;
        w.opsBefore = 0;
    } else if (!known) {
        w.first = 0;
        w.opsBefore = 0;
        displayScene();
        noteFacesBegin(model, model.numFaces);
        return;
    } else {
        findFirstFace(model, kept > w.facesBegin ? kept - w.facesBegin : 0);
    }
    const std::int32_t end = w.first + std::min(facesPerPass, model.numFaces - w.first);
    if (w.first > 0) skipGlOperations(w.facesBegin, w.opsBefore);
    if (end < model.numFaces) leaveGlPictureUnfinished();
    ObjFace* const faces = model.faces;
    const std::int32_t numFaces = model.numFaces;
    model.faces += w.first;
    model.numFaces = end - w.first;
    displayScene();
    model.faces = faces;
    model.numFaces = numFaces;
    noteFacesBegin(model, end);
}
