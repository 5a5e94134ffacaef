// The camera of a 3D window as OpenGL and GLUT see it: the modelview transform of `camera` and
// the mouse callbacks that drive it. The record and its arithmetic are in camera_state.h.
#pragma once

#include "camera_state.h"

// Multiplies the current matrix by the transform of `camera`.
void applyCameraTransform();
// GLUT mouse and motion callbacks of a 3D window.
void onMouseButton(int button, int state, int x, int y);
void onMouseMotion(int x, int y);
