// Sampling of the revolved surface on its column grid and the strips of each band.
#include "surface_tessellation.h"

#include <cstddef>
#include <limits>

#include "surface_evaluation.h"

float singlePrecision(double value) {
    constexpr double largest = std::numeric_limits<float>::max();
    constexpr float infinity = std::numeric_limits<float>::infinity();
    if (value > largest) return infinity;
    if (value < -largest) return -infinity;
    return static_cast<float>(value);  // rounds to nearest; NaN stays NaN
}

double columnParameter(int i, int revolutionSamples, int patchCount) {
    return static_cast<double>(i) / static_cast<double>(revolutionSamples - 1) *
           static_cast<double>(patchCount);
}

double sampleParameter(int j, int curveSamples) {
    return static_cast<double>(j) / static_cast<double>(curveSamples - 1);
}

void bandStrips(const std::vector<SurfaceSample>& earlier, const std::vector<SurfaceSample>& later,
                SurfaceBand& band) {
    band.clear();
    const std::size_t count = later.size();
    std::size_t j = 0;
    while (j < count) {
        TriangleStrip& strip = band.emplace_back();
        strip.reserve(2 * (count - j));
        std::size_t k = j;
        do {
            strip.push_back({earlier[k].normal, earlier[k].point});
            strip.push_back({later[k].normal, later[k].point});
            ++k;
        } while (k < count && !weightSumsDifferInSign(later[k - 1].weightSum, later[k].weightSum));
        j = k;
    }
}

namespace {

// Bernstein tables along the generatrix are kept for the whole frame up to this many values;
// beyond it (huge sample or point counts) each sample recomputes its own, so memory stays
// bounded. The values are the same either way.
constexpr std::size_t largestBasisTable = std::size_t{1} << 22;

// Evaluates columns of samples at the frame's generatrix parameters v_j. With N control points
// per row, a sample's point takes the N values bernstein(N - 1, ., v_j) and its normal the
// N - 1 values bernstein(N - 2, ., v_j).
struct ColumnSampler {
    const RevolutionSurface* surface = nullptr;
    SampleEvaluation evaluation = SampleEvaluation::reusedBasis;
    std::vector<double> curveParameters;    // v_j, one per sample along the generatrix
    std::vector<HomogeneousNet> nets;       // per patch, made once per frame
    int tableColumns = -1;                  // control points per row the basis arrays are sized for
    bool holdsTables = false;               // whether the per-frame tables below are filled
    std::vector<double> pointBasisTable;    // per sample, its N point basis values
    std::vector<double> normalBasisTable;   // per sample, its N - 1 normal basis values
    std::vector<double> samplePointBasis;   // without tables: the current sample's point values
    std::vector<double> sampleNormalBasis;  // without tables: the current sample's normal values
};

ColumnSampler frameSampler(const RevolutionSurface& surface, int curveSamples,
                           SampleEvaluation evaluation) {
    ColumnSampler sampler;
    sampler.surface = &surface;
    sampler.evaluation = evaluation;
    for (const SurfacePatch& patch : surface.patches) sampler.nets.push_back(homogeneousNet(patch));
    sampler.curveParameters.resize(static_cast<std::size_t>(curveSamples));
    for (int j = 0; j < curveSamples; ++j)
        sampler.curveParameters[static_cast<std::size_t>(j)] = sampleParameter(j, curveSamples);
    return sampler;
}

// Sizes the basis arrays for rows of `columns` points and fills the per-frame tables when they
// fit; does nothing when they were made for that many points already.
void prepareBasisArrays(ColumnSampler& sampler, int columns) {
    if (sampler.tableColumns == columns) return;
    sampler.tableColumns = columns;
    const std::size_t pointValues = columns > 0 ? static_cast<std::size_t>(columns) : 0;
    const std::size_t normalValues = columns > 1 ? pointValues - 1 : 0;
    const std::size_t samples = sampler.curveParameters.size();
    sampler.samplePointBasis.assign(pointValues, 0.0);
    sampler.sampleNormalBasis.assign(normalValues, 0.0);
    sampler.holdsTables = samples * (pointValues + normalValues) <= largestBasisTable;
    if (!sampler.holdsTables) {
        sampler.pointBasisTable.clear();
        sampler.normalBasisTable.clear();
        return;
    }
    sampler.pointBasisTable.assign(samples * pointValues, 0.0);
    sampler.normalBasisTable.assign(samples * normalValues, 0.0);
    for (std::size_t j = 0; j < samples; ++j) {
        const double v = sampler.curveParameters[j];
        fillBernsteinValues(columns - 1, v, sampler.pointBasisTable.data() + j * pointValues);
        fillBernsteinValues(columns - 2, v, sampler.normalBasisTable.data() + j * normalValues);
    }
}

// The generatrix basis values of sample j: looked up in the tables, or computed now.
struct SampleBasis {
    const double* point;
    const double* normal;
};
SampleBasis curveBasisOfSample(ColumnSampler& sampler, std::size_t j) {
    const int columns = sampler.tableColumns;
    if (sampler.holdsTables) {
        return {sampler.pointBasisTable.data() + j * sampler.samplePointBasis.size(),
                sampler.normalBasisTable.data() + j * sampler.sampleNormalBasis.size()};
    }
    const double v = sampler.curveParameters[j];
    fillBernsteinValues(columns - 1, v, sampler.samplePointBasis.data());
    fillBernsteinValues(columns - 2, v, sampler.sampleNormalBasis.data());
    return {sampler.samplePointBasis.data(), sampler.sampleNormalBasis.data()};
}

// Every sample from scratch through surfacePoint and surfaceNormal; see SampleEvaluation.
void evaluatePlainColumn(const ColumnSampler& sampler, double u,
                         std::vector<SurfaceSample>& column) {
    column.resize(sampler.curveParameters.size());
    for (std::size_t j = 0; j < column.size(); ++j) {
        const double v = sampler.curveParameters[j];
        column[j].point = surfacePoint(*sampler.surface, u, v, column[j].weightSum);
        column[j].normal = surfaceNormal(*sampler.surface, u, v);
    }
}

// The same arithmetic as surfacePoint / surfaceNormal, with the basis values looked up.
void evaluateColumnFromTables(ColumnSampler& sampler, double u,
                              std::vector<SurfaceSample>& column) {
    const PatchParameter at = selectPatch(u);
    const SurfacePatch& patch = sampler.surface->patches[at.patch];
    const HomogeneousNet& net = sampler.nets[at.patch];
    prepareBasisArrays(sampler, net.columns);
    // Basis values around the axis, the same for every sample of the column.
    const std::vector<double> pointTurnBasis = bernsteinValues(net.rows - 1, at.s);
    const std::vector<double> normalTurnBasis = bernsteinValues(net.rows - 2, at.s);

    column.resize(sampler.curveParameters.size());
    for (std::size_t j = 0; j < column.size(); ++j) {
        const SampleBasis curveBasis = curveBasisOfSample(sampler, j);
        column[j].point = patchPointFromBasis(patch, pointTurnBasis.data(), curveBasis.point,
                                              column[j].weightSum);
        column[j].normal = patchNormalFromBasis(net, at.s, sampler.curveParameters[j],
                                                normalTurnBasis.data(), curveBasis.normal);
    }
}

void evaluateColumn(ColumnSampler& sampler, double u, std::vector<SurfaceSample>& column) {
    if (sampler.evaluation == SampleEvaluation::plain)
        evaluatePlainColumn(sampler, u, column);
    else
        evaluateColumnFromTables(sampler, u, column);
}

}  // namespace

void tessellateSurface(const RevolutionSurface& surface, int revolutionSamples, int curveSamples,
                       const BandSink& sink, SampleEvaluation evaluation) {
    if (revolutionSamples < 2 || curveSamples < 2) return;
    if (surface.patches.size() != static_cast<std::size_t>(surfacePatchCount)) return;
    const int patchCount = surfacePatchCount;
    ColumnSampler sampler = frameSampler(surface, curveSamples, evaluation);

    // Column 0 is kept for the closing band, so u = patchCount is never evaluated.
    std::vector<SurfaceSample> first, previous, current;
    evaluateColumn(sampler, 0.0, first);
    previous = first;
    SurfaceBand band;
    for (int i = 1; i <= revolutionSamples - 2; ++i) {
        evaluateColumn(sampler, columnParameter(i, revolutionSamples, patchCount), current);
        bandStrips(previous, current, band);
        sink(band);
        previous.swap(current);
    }
    bandStrips(previous, first, band);
    sink(band);
}

std::vector<SurfaceBand> surfaceBands(const RevolutionSurface& surface, int revolutionSamples,
                                      int curveSamples, SampleEvaluation evaluation) {
    std::vector<SurfaceBand> bands;
    tessellateSurface(
        surface, revolutionSamples, curveSamples,
        [&bands](const SurfaceBand& band) { bands.push_back(band); }, evaluation);
    return bands;
}
