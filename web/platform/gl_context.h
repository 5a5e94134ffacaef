// The state of one OpenGL 1.1 context of the web build and the switch between contexts: each
// GLUT window has its own, as on the desktop. The GL calls of <GL/gl.h> act on the current one.
#pragma once

#include <cstddef>

struct GlContext;

// A new context in OpenGL's initial state with a viewport of width x height; the WebGL
// context it draws into must be current.
GlContext* createGlContext(int width, int height);
void makeGlContextCurrent(GlContext* context);

// glBitmap for the GLUT font: draws a bitmap of width x height pixels (rows from the bottom,
// each padded to whole bytes, the high bit leftmost) at the raster position moved back by
// (xorig, yorig), then moves the raster position right by xmove. Nothing happens while the
// raster position is outside the view volume.
void drawBitmapAtRasterPosition(int width, int height, float xorig, float yorig, float xmove,
                                const unsigned char* rows);

// Ends a pass of the current context's picture (at a buffer swap): when the picture is whole
// and light, draws it all and returns true; otherwise keeps what this pass made for the next
// pass, which goes on from where this one stopped, and returns false, the canvas still showing
// the picture before. A whole heavy picture is then drawn by continueGlPresentation.
bool endGlPicturePass();
// True while a whole heavy picture waits to be drawn: the window's turns then call
// continueGlPresentation (its WebGL context current, canvas width x height) instead of its
// display, until the picture is shown.
bool glPicturePresenting(const GlContext* context);
void continueGlPresentation(GlContext* context, int width, int height);
// Drops an unfinished picture, for input that changed what the next one shows.
void restartGlPicture(GlContext* context);
bool glPictureUnfinished(const GlContext* context);
// Whole pictures drawn in the context so far.
long glPicturesShown(const GlContext* context);

// For a program whose picture ends with a long run of operations it can give in part, so that
// a pass need not walk through what it would only skip; all act on the current context.
// Operations kept by the passes before of the picture under way: 0 when a pass starts anew.
std::size_t glPictureKeptOperations();
// Operations the last pass met, kept or not.
std::size_t glLastPassOperations();
// In the next pass, when operation `at` is met, `count` operations are taken as met without
// the program giving them.
void skipGlOperations(std::size_t at, std::size_t count);
// The next pass does not finish the picture: the one after goes on from where it ended.
void leaveGlPictureUnfinished();
