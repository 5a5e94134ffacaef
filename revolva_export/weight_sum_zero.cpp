#include "weight_sum_zero.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int deepestSplit = 30;           // pieces of 2^-30: far below any sample spacing
constexpr long mostPiecesLooked = 100000;  // beyond this the sum is taken to have a zero

struct Piece {
    std::vector<double> coefficients;
    double low = 0.0, high = 1.0;
    double error = 0.0;  // bound on the coefficients' distance from the exact ones
    int depth = 0;
};

double largestMagnitude(const std::vector<double>& coefficients) {
    double largest = 0.0;
    for (const double c : coefficients) largest = std::max(largest, std::fabs(c));
    return largest;
}

bool ofOneStrictSign(const Piece& piece) {
    const auto [lowest, highest] =
        std::minmax_element(piece.coefficients.begin(), piece.coefficients.end());
    return *lowest > piece.error || *highest < -piece.error;
}

// The two halves of a piece by de Casteljau's averaging. Each average is a convex combination,
// so the inherited errors do not grow; each of the n rounds adds at most one rounding of the
// largest magnitude, counted twice for safety.
void split(const Piece& piece, Piece& left, Piece& right) {
    const std::size_t n = piece.coefficients.size() - 1;
    std::vector<double> row = piece.coefficients;
    left.coefficients.assign(n + 1, 0.0);
    right.coefficients.assign(n + 1, 0.0);
    for (std::size_t round = 0; round <= n; ++round) {
        left.coefficients[round] = row[0];
        right.coefficients[n - round] = row[n - round];
        for (std::size_t k = 0; k + round < n; ++k) row[k] = (row[k] + row[k + 1]) * 0.5;
    }
    const double roundings = 2.0 * static_cast<double>(n) * std::numeric_limits<double>::epsilon() *
                             (largestMagnitude(piece.coefficients) + piece.error);
    const double middle = (piece.low + piece.high) * 0.5;
    left.low = piece.low;
    left.high = right.low = middle;
    right.high = piece.high;
    left.error = right.error = piece.error + roundings;
    left.depth = right.depth = piece.depth + 1;
}

// Looks for a zero in `piece`, lowest parameter first; `looked` counts the pieces seen.
bool zeroIn(const Piece& piece, long& looked, double& near) {
    if (ofOneStrictSign(piece)) return false;
    ++looked;
    if (std::fabs(piece.coefficients.front()) <= piece.error) {
        near = piece.low;  // the first coefficient is the value at the piece's start
        return true;
    }
    if (std::fabs(piece.coefficients.back()) <= piece.error) {
        near = piece.high;
        return true;
    }
    if (piece.depth == deepestSplit || looked > mostPiecesLooked) {
        near = (piece.low + piece.high) * 0.5;
        return true;
    }
    Piece left, right;
    split(piece, left, right);
    return zeroIn(left, looked, near) || zeroIn(right, looked, near);
}

}  // namespace

WeightSumZero findWeightSumZero(const std::vector<double>& weights) {
    WeightSumZero zero;
    if (weights.empty()) return zero;
    for (const double w : weights) {
        if (!std::isfinite(w)) {
            zero.found = true;
            return zero;
        }
    }
    Piece whole;
    whole.coefficients = weights;
    long looked = 0;
    zero.found = zeroIn(whole, looked, zero.near);
    return zero;
}
