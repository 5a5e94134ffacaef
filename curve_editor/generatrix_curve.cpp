// Rational Bezier generatrix: storage, Bernstein basis, rational sum and evaluation.
#include "generatrix_curve.h"

void GeneratrixCurve::appendPoint(const Point3d& point, double weight) {
    controlPoints.push_back(point);
    weights.push_back(weight);
}

void GeneratrixCurve::removePoint(std::size_t i) {
    controlPoints.erase(controlPoints.begin() + static_cast<std::ptrdiff_t>(i));
    weights.erase(weights.begin() + static_cast<std::ptrdiff_t>(i));
}

double& GeneratrixCurve::weightAt(std::size_t i) { return weights[i]; }

Point3d GeneratrixCurve::evaluate(double t, double& weightSum) const {
    const std::vector<double> basis = bernsteinValues(static_cast<int>(pointCount()) - 1, t);
    RationalSum sum;
    for (std::size_t i = 0; i < basis.size(); ++i)
        addRationalTerm(sum, basis[i] * weights[i], controlPoints[i]);
    weightSum = sum.weightSum;
    return rationalPoint(sum);
}

std::uint64_t binomial(int n, int i) {
    if (i < 0 || i > n) return 0;
    if (i > n - i) i = n - i;
    // Multiplicative formula: after step k the product is C(n - i + k, k), a whole number,
    // so each division is exact. Splitting by the gcd keeps the intermediate product small.
    std::uint64_t result = 1;
    for (int k = 1; k <= i; ++k) {
        std::uint64_t numerator = static_cast<std::uint64_t>(n - i + k);
        std::uint64_t denominator = static_cast<std::uint64_t>(k);
        std::uint64_t a = result, b = denominator;
        while (b != 0) {
            const std::uint64_t r = a % b;
            a = b;
            b = r;
        }
        const std::uint64_t common = a;
        result /= common;
        denominator /= common;
        numerator /= denominator;  // exact: denominator now divides the numerator
        result *= numerator;
    }
    return result;
}

double integerPower(double base, int exponent) {
    double result = 1.0;
    while (exponent > 0) {
        if (exponent & 1) result *= base;
        base *= base;
        exponent >>= 1;
    }
    return result;
}

double binomialValue(int n, int i) {
    if (n <= maxExactBinomialDegree) return static_cast<double>(binomial(n, i));
    if (i < 0 || i > n) return 0.0;
    if (i > n - i) i = n - i;
    double result = 1.0;
    for (int k = 1; k <= i; ++k) result = result * (n - i + k) / k;
    return result;
}

double bernstein(int n, int i, double t) {
    const double u = 1.0 - t;
    return integerPower(u, n - i) * binomialValue(n, i) * integerPower(t, i);
}

void fillBernsteinValues(int degree, double t, double* values) {
    for (int i = 0; i <= degree; ++i) values[i] = bernstein(degree, i, t);
}

std::vector<double> bernsteinValues(int degree, double t) {
    std::vector<double> values(degree >= 0 ? static_cast<std::size_t>(degree + 1) : 0);
    fillBernsteinValues(degree, t, values.data());
    return values;
}

Point3d rationalPoint(const RationalSum& sum) {
    return {sum.weightedPoints.x / sum.weightSum, sum.weightedPoints.y / sum.weightSum,
            sum.weightedPoints.z / sum.weightSum};
}
