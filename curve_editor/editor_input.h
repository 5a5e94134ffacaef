// What the editor's mouse and keys do to `EditorState`: the pixel-to-curve mapping, picking
// within the square zone, the press, release and drag edits, the cursor choice and the
// editor-only display toggles. Pixels are GLUT's: origin at the top left of the 600x600 window.
#pragma once

#include <optional>

#include "editor_state.h"

// The editor window is this many pixels wide and high, whatever size is asked for.
constexpr int editorWindowSize = 600;
// Pixels 0..599 cover the unit square, so one curve unit is this many pixels.
constexpr double editorPixelSpan = editorWindowSize - 1;

// Half-size, in curve units, of the square zone around a point in which the mouse picks it.
constexpr double pickTolerance = 0.02;

// The curve point (x, 0, z) under pixel (px, py), in double precision: x = 1 - px/599,
// z = (600 - py)/599, so the axis of revolution is the right edge.
Point3d curvePointAtPixel(int px, int py);

// The lowest position whose point lies in the square zone around pixel (px, py), both bounds
// inclusive; px/599 and the mapped z are rounded to single precision first. None when no point.
std::optional<std::size_t> pickPointAt(const GeneratrixCurve& curve, int px, int py);

// Left press: a hit selects the point and starts dragging it from (px, py); a miss changes nothing.
void pressLeftButton(EditorState& state, int px, int py);
// Middle press: a hit removes the point; deleting the selected point clears the selection, and
// a selection or drag left past the shortened curve ends.
void pressMiddleButton(EditorState& state, int px, int py);
// Right press: appends the point under (px, py) with weight 1, unselected.
void pressRightButton(EditorState& state, int px, int py);
// Release of any button: the drag ends; nothing else changes.
void releaseButton(EditorState& state);

// Motion with a button held: moves the dragged point by the mouse travel since the last event,
// rounded to single precision and clamped to [0, 1]; always records (px, 600 - py) as the last event.
void dragTo(EditorState& state, int px, int py);

enum class CursorChoice { unchanged, spray, arrow };
// Motion without a button: the spray cursor over a point, the arrow elsewhere, unchanged
// when the curve has no points.
CursorChoice cursorForHover(const EditorState& state, int px, int py);

// The editor's keys: the shared weight and sample-count keys plus "q", "w", "e" (either case),
// which toggle the control polygon, the point markers and the labels. Returns true when handled.
bool applyEditorKey(EditorState& state, unsigned char key);

// Appends the two starting points (0.2, 0, 0.2) and (0.8, 0, 0.8), weight 1, selects the first
// and ends any drag.
void placeInitialPoints(EditorState& state);
