// Draws a polygon model face by face in immediate mode, each face in its own colour, with the
// model's normals and texture coordinates and, on request, a short line along every normal.
#pragma once

#include "obj_model.h"

// How the normal lines are drawn. The program holds one among its display switches and its
// keys change it; the drawing only reads it.
struct NormalLineOptions {
    bool showNormals = false;   // draw a normal line at every face corner (models with normals)
    float normalLength = 1.0f;  // length factor of the normal lines; no bounds
};

// The flat normal that lights a face of a model without normals: the unit area vector of the
// face's corners (w ignored), or (0, 1, 0) when the corners span no area. Requires a valid face.
Vec3f flatFaceNormal(const ObjModel& model, const ObjFace& face);

// The end of the normal line drawn at a corner: p + normalLength * n.
Vec3f normalLineEnd(const Vec4f& position, const Vec3f& normal, float length);

// Draws every face of the model in array order into the current frame, each face's normal
// lines, when `normalLines` shows them, right after it. Changes only the current colour and
// line width.
void drawModel(const ObjModel& model, const NormalLineOptions& normalLines);
