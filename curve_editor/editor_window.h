// The 2D window of Revolva in which the user edits the generatrix: its GLUT callbacks and
// drawing. The state it edits is `editorState` (editor_state.h), which the surface window
// reads too.
#pragma once

#include "point3d.h"
// GLUT id of the editor window, set by createEditorWindow.
extern int editorWindow;

// Builds the initial two-point curve and opens the editor window with its callbacks.
void createEditorWindow();
// Draws the editor window (display callback; the idle alternation also calls it directly).
void editorDisplay();

// The editor's fixed GL set-up: black clear colour, 600x600 viewport, orthographic unit square.
void initEditor2d();
// Reshape callback: the window keeps 600x600 whatever size is asked for.
void editorReshape(int width, int height);
// Keyboard callback: the shared weight and sample-count keys and the "q", "w", "e" toggles.
void editorKeyboard(unsigned char key, int px, int py);
// Mouse-button callback: left picks and starts a drag, middle deletes, right appends.
void editorMouse(int button, int state, int px, int py);
// Motion callback (a button held): drags the picked point.
void editorMotion(int px, int py);
// Passive-motion callback: the spray cursor over a point, the arrow elsewhere.
void editorPassiveMotion(int px, int py);
// Draws the square marker around a control point in colour (r, g, b).
void drawPointMarker(const Point3d& point, float r, float g, float b);
// Draws the "(x,z,w)" label of a control point in colour (r, g, b).
void drawPointLabel(const Point3d& point, float weight, float r, float g, float b);
