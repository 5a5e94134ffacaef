// Where a box of the scene falls on a page's 3D window, as the program's camera shows it now:
// for telling a finger put down on the model (which turns it) from one beside it (which
// scrolls the page).
#pragma once

#include "vector3.h"

// The screen rectangle of that box, in the window's pixels from its top-left corner; false
// when a corner lies behind the camera.
struct ScreenRectangle {
    double left, top, right, bottom;
};
bool screenBox(const double low[3], const double high[3], ScreenRectangle& rectangle);
// The same for `count` points (x, y, z after each other).
bool screenRectangle(const double* points, int count, ScreenRectangle& rectangle);

// Where each of `count` scene points (homogeneous) falls in the window, in pixels from its
// top-left corner, with its distance along the view: clip w, not above 0 behind the camera.
struct ScreenPoint {
    double x, y, depth;
};
void screenPoints(const Vec4f* points, int count, ScreenPoint* onScreen);

// Whether the window's pixel (x, y from the top) lies within the screen rectangle of the box
// from `low` to `high` (world coordinates), seen through the program's camera and projection
// in its 3D window. A corner behind the camera makes the box cover the whole window.
bool pixelInScreenBox(const double low[3], const double high[3], int x, int y);
bool pixelInRectangle(const ScreenRectangle& rectangle, int x, int y);
