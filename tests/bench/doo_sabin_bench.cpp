// Speed of the Doo-Sabin step: the cube level by level up to level 9 (1,572,864 vertices),
// a quad torus and a triangle sphere of a few thousand faces; time per output corner. The
// plain families run on memory the process already holds; the "FirstTouch" ones hand all free
// memory back to the system before each step, so that the step pays its page faults as the
// program's first rebuild of a level does.
// `doo_sabin_bench --peak-level=N` instead raises a cube's level from 1 to N the way the "+"
// key does, for measuring the peak memory with /usr/bin/time -v.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../subdivision/test_meshes.h"
#include "subdivision_level.h"

namespace {

OwnedModel steppedFrom(const MeshSource& mesh, int steps) {
    OwnedModel current = buildModel(mesh, NormalSharing::perFace);
    for (int s = 0; s < steps; ++s) current = refined(current.model);
    return current;
}

std::int64_t cornersOf(const ObjModel& model) {
    std::int64_t corners = 0;
    for (std::int32_t f = 0; f < model.numFaces; ++f) corners += model.faces[f].numVertices;
    return corners;
}

enum class Memory { held, firstTouch };

// One step from the model of level - 1 to the model of `level`; releasing it is not timed.
void stepToLevel(benchmark::State& state, const MeshSource& mesh, Memory memory) {
    const int level = int(state.range(0));
    const OwnedModel input = steppedFrom(mesh, level - 1);
    std::int64_t corners = 0, faces = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (memory == Memory::firstTouch) malloc_trim(0);
        state.ResumeTiming();
        OwnedModel output;
        dooSabinStep(input.model, output.model);
        state.PauseTiming();
        corners = cornersOf(output.model);
        faces = output.model.numFaces;
        freeModelArrays(&output.model);
        state.ResumeTiming();
    }
    state.counters["faces"] = double(faces);
    state.counters["corners"] = double(corners);
    state.counters["per_corner"] =
        benchmark::Counter(double(corners), benchmark::Counter::kIsIterationInvariantRate |
                                                benchmark::Counter::kInvert);
}

void cubeStep(benchmark::State& state) { stepToLevel(state, cubeMesh(), Memory::held); }
void torusStep(benchmark::State& state) { stepToLevel(state, quadTorusMesh(64, 48), Memory::held); }
void sphereStep(benchmark::State& state) {
    stepToLevel(state, triangleSphereMesh(4), Memory::held);
}
void cubeStepFirstTouch(benchmark::State& state) {
    stepToLevel(state, cubeMesh(), Memory::firstTouch);
}

BENCHMARK(cubeStep)->DenseRange(1, 9)->Unit(benchmark::kMillisecond);
BENCHMARK(torusStep)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(sphereStep)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(cubeStepFirstTouch)->DenseRange(4, 9)->Unit(benchmark::kMillisecond);

// Raises the cube's level one by one to `deepest`, as pressing "+" does, timing each rebuild.
int raiseCubeLevel(int deepest) {
    OwnedModel base = buildModel(cubeMesh(), NormalSharing::perFace);
    ObjModel* shown = new ObjModel{};
    for (int level = 1; level <= deepest; ++level) {
        const auto start = std::chrono::steady_clock::now();
        const bool built = applySubdivisionLevel(base.model, shown, level);
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        std::printf("level %d: %s, %d vertices, %d faces, rebuilt in %.3f s\n", level,
                    built ? "built" : "refused", shown->numVertices, shown->numFaces,
                    seconds.count());
    }
    freeModelArrays(shown);
    delete shown;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* peakOption = "--peak-level=";
    if (argc == 2 && std::strncmp(argv[1], peakOption, std::strlen(peakOption)) == 0) {
        return raiseCubeLevel(std::atoi(argv[1] + std::strlen(peakOption)));
    }
    // Freed memory stays with the process, except where a benchmark hands it back on purpose.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
