// What the editor window shows, computed as data for the display to draw: window positions
// of curve points, the sampled curve cut where its weight sum changes sign, the point markers
// and the label texts with their raster positions. The window spans the unit square.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "generatrix_curve.h"

// A position in the editor's orthographic unit square: x rightwards, y upwards.
struct WindowPoint {
    double x = 0.0;
    double y = 0.0;
};

// Where curve point (x, y, z) shows: (1 - x, z), so the axis of revolution is the right edge.
WindowPoint windowPosition(const Point3d& point);

// The curve sampled at t_k = k/(N - 1) (single precision), k = 0..N-1, as line strips in window
// positions; a strip ends before a sample whose weight sum is negative while the previous one's
// is not (or the reverse), and that sample starts the next. N below 2 counts as 2.
std::vector<std::vector<WindowPoint>> curveStrips(const GeneratrixCurve& curve, int sampleCount);

// The four corners of the square marker of half-size pickTolerance around the point, in
// line-loop order.
std::array<WindowPoint, 4> markerCorners(const Point3d& point);

// One label number in printf "%.<decimals>f" form when that takes at most 9 characters; a value
// too large for it falls back to the widest exponent form ("%.2e", "%.1e", "%.0e") that fits.
std::string formatLabelNumber(double value, int decimals);

// The label text "(x,z,w)": x and z with two decimals, the weight with one, no spaces.
std::string pointLabelText(const Point3d& point, float weight);

// The raster position of a point's label: its window position, moved to x = 0.8 when the label
// would start within 0.2 of the right edge and to y = 0.98 when it would reach the top.
WindowPoint labelRasterPosition(const Point3d& point);
