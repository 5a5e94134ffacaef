// The circle that the construction's curve point sweeps about the axis, drawn over the
// surface's picture.
#pragma once

// Draws the path of the surface's point at curve parameter t all the way round, with the GL
// state that the surface's display leaves (camera transform, lighting off, depth test on):
// bright where the surface does not hide it, dim where it does. The path is the program's own
// surface at that parameter, so it lies on the surface drawn (the quarter turns that Revolva
// builds are near circles, not exact ones). Leaves the line width at 1.
void drawSweptCircle(double t);
