// Whether the weight sum of a rational Bézier curve vanishes anywhere on [0, 1], decided from
// its Bernstein coefficients (the weights themselves) rather than from samples, so that a sum
// that only touches zero between two samples is found as well.
#pragma once

#include <vector>

struct WeightSumZero {
    bool found = false;
    double near = 0.0;  // when found: a parameter within 2^-30 of a zero, or of a place where
                        // rounding leaves the sign undecided
};

// Subdivides the weights' Bernstein polynomial (de Casteljau at the middle) until each piece
// has coefficients of one strict sign beyond a bound on their rounding errors; a piece that
// never gets there, a zero coefficient at a piece's end or a non-finite weight counts as a zero,
// so a touching zero is found and a sum reported free of zeros has none.
WeightSumZero findWeightSumZero(const std::vector<double>& weights);
