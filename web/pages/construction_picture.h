// The rational de Casteljau construction of the generatrix drawn over the editor's picture: the
// points of each round joined by lines, each written with its weight, and the curve point.
#pragma once

#include "generatrix_curve.h"

// Draws the construction of `curve` at parameter t in the editor's unit square, with the GL
// state the editor's display leaves (orthographic unit square, identity modelview). Leaves
// the line width at 1, as the editor draws with it.
void drawConstructionInEditor(const GeneratrixCurve& curve, double t);
