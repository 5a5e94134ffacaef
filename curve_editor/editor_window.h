// The 2D window of Revolva in which the user edits the generatrix: its GLUT callbacks and
// drawing. The state it edits lives in `editorState`, which the surface window reads too.
#pragma once

#include "editor_state.h"

// The editor's state: the generatrix, the selection, the display toggles, the sample counts.
extern EditorState editorState;
// GLUT id of the editor window, set by createEditorWindow.
extern int editorWindow;

// Builds the initial two-point curve and opens the editor window with its callbacks.
void createEditorWindow();
// Draws the editor window (display callback; the idle alternation also calls it directly).
void editorDisplay();
