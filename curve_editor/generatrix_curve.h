// The generatrix: a rational Bezier curve of any degree, stored as two parallel arrays,
// and the Bernstein basis that both the curve and the surface of revolution evaluate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "point3d.h"

struct GeneratrixCurve {
    std::vector<Point3d> controlPoints;
    std::vector<double> weights;  // weights[i] belongs to controlPoints[i]

    // Adds a control point with its weight at the end of the curve.
    void appendPoint(const Point3d& point, double weight);
    // Removes control point i and its weight; later points move down one place. Requires i < size.
    void removePoint(std::size_t i);
    // The weight of control point i, to read or change in place. Requires i < size.
    double& weightAt(std::size_t i);
    // The point count, which is the degree plus one.
    std::size_t pointCount() const { return controlPoints.size(); }

    // The curve point at parameter t; weightSum receives the rational denominator, sign included.
    // The division by weightSum is not guarded: a zero sum gives non-finite coordinates.
    Point3d evaluate(double t, double& weightSum) const;
};

// n choose i as a whole number, exact for every n up to maxExactBinomialDegree; 0 outside 0..n.
std::uint64_t binomial(int n, int i);
constexpr int maxExactBinomialDegree = 62;

// n choose i as the double that the basis multiplies by: the exact whole number up to
// maxExactBinomialDegree, a floating-point product beyond it (curves have no degree limit).
double binomialValue(int n, int i);

// The Bernstein polynomial B(n, i) at t, with integer powers by repeated squaring, so that
// a zero exponent gives exactly 1 even for a base of 0.
double bernstein(int n, int i, double t);

// base raised to a non-negative integer power by binary exponentiation.
double integerPower(double base, int exponent);
