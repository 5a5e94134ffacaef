// Speed of writing a subdivided model as OBJ text, beside the step that builds the same level:
// the cube at level 9 (1,572,864 faces) and a closed torus of 70,000 triangles, the size of a
// scanned bunny, at level 3. The text goes to /dev/null (formatting and the stream alone) and
// to a file in the working folder; MB/s is of the OBJ text.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <string>

#include "../subdivision/test_meshes.h"
#include "face_materials.h"
#include "obj_writer.h"
#include "subdivision_level.h"

namespace {

// The torus of quads with every quad split into two triangles.
MeshSource triangleTorusMesh(int around, int tube) {
    MeshSource mesh = quadTorusMesh(around, tube);
    std::vector<std::vector<std::int32_t>> triangles;
    for (const auto& q : mesh.faces) {
        triangles.push_back({q[0], q[1], q[2]});
        triangles.push_back({q[0], q[2], q[3]});
    }
    mesh.faces = triangles;
    return mesh;
}

struct Case {
    const char* name;
    MeshSource (*mesh)();
    int level;
};

MeshSource cube() { return cubeMesh(); }
MeshSource bunnySizedTorus() { return triangleTorusMesh(250, 140); }  // 70,000 triangles

const Case cases[] = {{"cube", cube, 9}, {"torus70k", bunnySizedTorus, 3}};

// The model of the level as the level driver builds it (with normals, one per face at the
// start, as a loaded OBJ model with "v//vn" references has them).
ObjModel* builtLevel(const Case& c) {
    static ObjModel* built[2] = {nullptr, nullptr};
    const int which = int(&c - cases);
    if (built[which] == nullptr) {
        OwnedModel base = buildModel(c.mesh(), NormalSharing::perFace);
        built[which] = new ObjModel{};
        applySubdivisionLevel(base.model, built[which], c.level);
    }
    return built[which];
}

void report(benchmark::State& state, const ObjModel& model, std::int64_t bytes) {
    state.SetBytesProcessed(bytes * std::int64_t(state.iterations()));
    state.counters["faces"] = double(model.numFaces);
    state.counters["MB"] = double(bytes) / 1e6;
}

void writeLevel(benchmark::State& state, const Case& c, const char* path) {
    const ObjModel& model = *builtLevel(c);
    const std::vector<FaceMaterial> materials = colourMaterials(model);
    std::int64_t bytes = 0;
    for (auto _ : state) {
        std::FILE* out = std::fopen(path, "wb");
        const ObjWriteResult result = writeObjText(model, materials, ObjWriteSettings{}, out);
        std::fclose(out);
        if (!result.written) state.SkipWithError("the text could not be written");
        bytes = result.bytes;
    }
    if (std::string(path) != "/dev/null") std::remove(path);
    report(state, model, bytes);
}

// The last step of the level, from the model of the level below, as the driver runs it.
void stepToLevel(benchmark::State& state, const Case& c) {
    OwnedModel below = buildModel(c.mesh(), NormalSharing::perFace);
    for (int s = 1; s < c.level; ++s) below = refined(below.model);
    std::int32_t faces = 0;
    for (auto _ : state) {
        OwnedModel output = refined(below.model);
        faces = output.model.numFaces;
        state.PauseTiming();
        output = OwnedModel{};
        state.ResumeTiming();
    }
    state.counters["faces"] = double(faces);
}

void cubeWriteNull(benchmark::State& state) { writeLevel(state, cases[0], "/dev/null"); }
void cubeWriteFile(benchmark::State& state) { writeLevel(state, cases[0], "obj_writer_bench.obj"); }
void cubeStep(benchmark::State& state) { stepToLevel(state, cases[0]); }
void torusWriteNull(benchmark::State& state) { writeLevel(state, cases[1], "/dev/null"); }
void torusWriteFile(benchmark::State& state) {
    writeLevel(state, cases[1], "obj_writer_bench.obj");
}
void torusStep(benchmark::State& state) { stepToLevel(state, cases[1]); }

BENCHMARK(cubeStep)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(cubeWriteNull)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(cubeWriteFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(torusStep)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(torusWriteNull)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(torusWriteFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    // Freed memory stays with the process, so that the step is timed on memory already held.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
