// The 3D window of Revolva that shows the surface of revolution: its creation and key
// callbacks, and the idle callback that draws the editor and the surface in turn. The toggles
// its keys change are `surfaceToggles` (surface_keys.h).
#pragma once

#include "credits.h"

// GLUT id of the surface window, set by createSurfaceWindow.
extern int surfaceWindow;

// The title: "Superfície" in Windows-1252, then " - Por: " and the credit line. The string is
// split after \xED so that the following "ce" is not read as more hex digits.
constexpr const char* surfaceWindowTitle =
    "Superf\xED"
    "cie - Por: " AUTHORS_CREDIT;

// Opens the surface window at (650, 50), sets up its 3D scene (reading the controls file) and
// builds the surface once from the editor's generatrix. Call once, after createEditorWindow.
void createSurfaceWindow();
// Idle callback: draws the current window (editor or surface) and makes the other current.
void alternateRedisplay();
// Keyboard and special-key callbacks of the surface window; F1 reloads the controls file.
void surfaceKeyboard(unsigned char key, int x, int y);
void surfaceSpecialKey(int key, int x, int y);
