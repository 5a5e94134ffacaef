// The sign rule of a rational curve's weight sum (its denominator). Where the sum changes sign
// between two samples the curve ran off to infinity between them, so no segment or strip may
// join them. Zero counts as positive.
#pragma once

inline bool isNegativeWeightSum(double weightSum) { return weightSum < 0.0; }

inline bool weightSumsDifferInSign(double a, double b) {
    return isNegativeWeightSum(a) != isNegativeWeightSum(b);
}
