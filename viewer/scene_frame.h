// The frame every 3D window shares, handed to OpenGL: one-time GL set-up, the reshape handler
// that keeps viewport and perspective in step with the window, and the ground grid and axes.
// The window size and the grid's lines are plain data in scene_layout.h.
#pragma once

#include "scene_layout.h"

// One-time GL set-up of a 3D window, ending with the program's own set-up step.
void initScene3d();
// GLUT reshape callback of a 3D window.
void reshapeScene3d(int width, int height);
// Reference objects, drawn unlit right after the camera transform.
void drawGroundGrid();
void drawAxes();
