// The generatrix: a rational Bezier curve of any degree, stored as two parallel arrays, and
// the two primitives that both the curve and the surface of revolution evaluate with: the
// Bernstein basis and the rational sum.
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

// bernstein(degree, i, t) for i = 0..degree, written to values[0..degree]; nothing for a
// negative degree. Every table of basis values, curve or surface, is filled by this.
void fillBernsteinValues(int degree, double t, double* values);
// The same values as a new array of degree + 1 entries (empty for a negative degree).
std::vector<double> bernsteinValues(int degree, double t);

// The numerator and denominator of a rational Bezier sum, built up one term at a time.
struct RationalSum {
    Point3d weightedPoints;  // sum of coefficient * point
    double weightSum = 0.0;  // sum of coefficients, sign included
};

// Adds the term coefficient * point, the coefficient being basis value(s) times weight. The
// curve, the surface points and the tessellation's two ways of sampling all add their terms
// here, in the same order of terms, so that they agree bit for bit (the editor's strips and
// the surface's bands break at the same sign changes of the weight sum).
inline void addRationalTerm(RationalSum& sum, double coefficient, const Point3d& point) {
    sum.weightSum += coefficient;
    sum.weightedPoints.x += coefficient * point.x;
    sum.weightedPoints.y += coefficient * point.y;
    sum.weightedPoints.z += coefficient * point.z;
}

// The point the sum stands for, numerator over denominator. The division is not guarded: a
// zero weight sum gives non-finite coordinates.
Point3d rationalPoint(const RationalSum& sum);
