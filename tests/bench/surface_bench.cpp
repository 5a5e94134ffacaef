// One surface frame's computation without OpenGL: rebuilding the nets from the generatrix
// and tessellating them into bands, as drawSurface does on every redraw.
#include <benchmark/benchmark.h>

#include <random>

#include "revolution_surface.h"
#include "surface_tessellation.h"

namespace {

GeneratrixCurve benchCurve(int pointCount) {
    std::mt19937 random(12);
    std::uniform_real_distribution<double> coordinate(0.0, 1.0), weight(0.5, 2.0);
    GeneratrixCurve curve;
    for (int i = 0; i < pointCount; ++i) {
        const double x = coordinate(random);
        curve.appendPoint({x, 0.0, coordinate(random)}, weight(random));
    }
    return curve;
}

// Arguments: generatrix points, samples around the axis, samples along the curve, evaluation.
void surfaceFrame(benchmark::State& state) {
    const GeneratrixCurve curve = benchCurve(static_cast<int>(state.range(0)));
    const int revolutionSamples = static_cast<int>(state.range(1));
    const int curveSamples = static_cast<int>(state.range(2));
    const SampleEvaluation evaluation =
        state.range(3) == 0 ? SampleEvaluation::plain : SampleEvaluation::reusedBasis;
    RevolutionSurface surface = emptyRevolutionSurface();
    surface.source = &curve;
    for (auto _ : state) {
        rebuildSurface(surface);
        std::size_t vertices = 0;
        tessellateSurface(
            surface, revolutionSamples, curveSamples,
            [&vertices](const SurfaceBand& band) {
                for (const TriangleStrip& strip : band) vertices += strip.size();
                benchmark::DoNotOptimize(band.data());
            },
            evaluation);
        benchmark::DoNotOptimize(vertices);
    }
}

}  // namespace

// Start curve at the default counts; 12 points at 200 x 200, plain and with reused basis; and
// the 2000 x 2000 that many key presses reach.
BENCHMARK(surfaceFrame)
    ->ArgNames({"points", "Nu", "Nv", "reused"})
    ->Args({2, 10, 10, 0})
    ->Args({2, 10, 10, 1})
    ->Args({12, 200, 200, 0})
    ->Args({12, 200, 200, 1})
    ->Args({12, 2000, 2000, 1})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
