// Subdivo's picture of a heavy model drawn a window of faces per pass (the page's display of
// its first window uses it), so that no pass of the picture walks all the faces.
#pragma once

#include <cstdint>

#include "obj_model.h"

// A shown model of more faces than this is drawn a window of faces per pass: about what 150 ms
// of the program's walk covers.
constexpr std::int32_t facesPerPass = 1000000;

// One pass of the program's frame with `model` (the shown record) holding only the pass's
// window of faces; the record is whole again on return.
void displaySceneInWindows(ObjModel& model);
