// The curve file: a generatrix as text, one control point per line, "x z weight", the numbers
// separated by blanks; "#" starts a comment that runs to the end of the line. Numbers are
// written in their shortest form that reads back as the same double, so a curve survives the
// trip through a file bit for bit. No OpenGL, no files opened here: the callers read and write.
#pragma once

#include <string>
#include <string_view>

#include "generatrix_curve.h"

// Why a text was refused: the line (counting from 1) and what is wrong with it.
struct CurveFileError {
    int line = 0;
    std::string message;  // without the line number, e.g. "'abc' is not a number"
};

// Reads a whole curve file. On success `curve` becomes the curve of the text (y = 0 for every
// point) and true is returned; on the first bad line `curve` is left as it was, `error` names
// the line and false is returned. x must not be negative (the axis is x = 0), and every
// number must be finite.
bool readCurveText(std::string_view text, GeneratrixCurve& curve, CurveFileError& error);

// "line N: message", as the tools print it.
std::string describeCurveError(const CurveFileError& error);

// The text of a curve file for `curve`: a comment line, then one line per control point
// (its x, z and weight; y is not kept).
std::string curveText(const GeneratrixCurve& curve);
