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

bool weightSumsDifferInSign(double a, double b) { return (a < 0.0) != (b < 0.0); }

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

// Evaluates columns of samples at the frame's generatrix parameters.
struct ColumnSampler {
    const RevolutionSurface& surface;
    SampleEvaluation evaluation;
    std::vector<double> parameters;  // v_j
    int tableColumns = -1;           // control points per row the tables were made for
    bool tabled = false;
    std::vector<double> basisTable;   // per sample: bernstein(N - 1, ., v_j), N values
    std::vector<double> basisTable2;  // per sample: bernstein(N - 2, ., v_j), N - 1 values
    std::vector<double> scratch, scratch2;
    std::vector<HomogeneousNet> nets;  // per patch, made once per frame
};

void fillBasis(int degree, double t, double* values) {
    for (int i = 0; i <= degree; ++i) values[i] = bernstein(degree, i, t);
}

void prepareTables(ColumnSampler& sampler, int columns) {
    if (sampler.tableColumns == columns) return;
    sampler.tableColumns = columns;
    const std::size_t n = columns > 0 ? static_cast<std::size_t>(columns) : 0;
    const std::size_t n2 = columns > 1 ? n - 1 : 0;
    const std::size_t samples = sampler.parameters.size();
    sampler.scratch.assign(n, 0.0);
    sampler.scratch2.assign(n2, 0.0);
    sampler.tabled = samples * (n + n2) <= largestBasisTable;
    if (!sampler.tabled) {
        sampler.basisTable.clear();
        sampler.basisTable2.clear();
        return;
    }
    sampler.basisTable.assign(samples * n, 0.0);
    sampler.basisTable2.assign(samples * n2, 0.0);
    for (std::size_t j = 0; j < samples; ++j) {
        fillBasis(columns - 1, sampler.parameters[j], sampler.basisTable.data() + j * n);
        fillBasis(columns - 2, sampler.parameters[j], sampler.basisTable2.data() + j * n2);
    }
}

void evaluatePlainColumn(const ColumnSampler& sampler, double u, std::vector<SurfaceSample>& column) {
    column.resize(sampler.parameters.size());
    for (std::size_t j = 0; j < column.size(); ++j) {
        const double v = sampler.parameters[j];
        column[j].point = surfacePoint(sampler.surface, u, v, column[j].weightSum);
        column[j].normal = surfaceNormal(sampler.surface, u, v);
    }
}

// The same arithmetic as surfacePoint / surfaceNormal, with the basis values looked up.
void evaluateColumnFromTables(ColumnSampler& sampler, double u, std::vector<SurfaceSample>& column) {
    const PatchParameter at = selectPatch(u);
    const SurfacePatch& patch = sampler.surface.patches[at.patch];
    const HomogeneousNet& net = sampler.nets[at.patch];
    const int rows = static_cast<int>(patch.size());
    const int columns = patch.empty() ? 0 : static_cast<int>(patch[0].pointCount());
    prepareTables(sampler, columns);
    std::vector<double> basisS(static_cast<std::size_t>(rows > 0 ? rows : 0));
    std::vector<double> basisS1(static_cast<std::size_t>(rows > 1 ? rows - 1 : 0));
    fillBasis(rows - 1, at.s, basisS.data());
    fillBasis(rows - 2, at.s, basisS1.data());

    const std::size_t n = sampler.scratch.size(), n2 = sampler.scratch2.size();
    column.resize(sampler.parameters.size());
    for (std::size_t j = 0; j < column.size(); ++j) {
        const double v = sampler.parameters[j];
        const double* basisV = sampler.scratch.data();
        const double* basisV2 = sampler.scratch2.data();
        if (sampler.tabled) {
            basisV = sampler.basisTable.data() + j * n;
            basisV2 = sampler.basisTable2.data() + j * n2;
        } else {
            fillBasis(columns - 1, v, sampler.scratch.data());
            fillBasis(columns - 2, v, sampler.scratch2.data());
        }
        column[j].point = patchPointFromBasis(patch, basisS.data(), basisV, column[j].weightSum);
        column[j].normal = patchNormalFromBasis(net, at.s, v, basisS1.data(), basisV2);
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

    ColumnSampler sampler{surface, evaluation, {}, -1, false, {}, {}, {}, {}, {}};
    for (const SurfacePatch& patch : surface.patches) sampler.nets.push_back(homogeneousNet(patch));
    sampler.parameters.resize(static_cast<std::size_t>(curveSamples));
    for (int j = 0; j < curveSamples; ++j)
        sampler.parameters[static_cast<std::size_t>(j)] = sampleParameter(j, curveSamples);

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
