// Speed of the Catmull-Clark, Loop and Doo-Sabin levels beside OpenSubdiv's uniform refinement
// with position interpolation, on the same input in the same run: a cube (split into triangles
// for Loop) to level 8, and to level 9 for Doo-Sabin, and a real model (an OBJ named by
// REVOLVA_BENCH_MODEL, a closed triangle mesh such as npm's bunny, which scripts/bench-model.sh
// writes) to level 4. The same work on both sides, from the loaded record's faces and positions
// to the level's faces and positions: ours (*Core) the flat mesh made from the record and
// refined step by step, theirs the refiner made from the same faces, refined and every level's
// positions interpolated. The rows without a suffix add what OpenSubdiv has no counterpart for:
// the forecast before the steps and the level's model record (a list of indices per face)
// after them, as Subdivo and subdivo-export get it.
// Doo-Sabin has no OpenSubdiv counterpart: its rows (DooSabin) are read beside OpenSubdiv's
// Catmull-Clark of the same input and level by "per_face", the time per face made over all the
// levels. Run both under the same allocator settings (for example
// GLIBC_TUNABLES=glibc.malloc.hugetlb=1) and compare the times as a ratio, the rows alternating
// (--benchmark_repetitions=5 --benchmark_enable_random_interleaving=true).
#include <benchmark/benchmark.h>

#include <memory>
#include <utility>
#include <vector>

#include "../subdivision/test_meshes.h"
#include "bench_model.h"
#include "refined_mesh.h"
#include "subdivision_level.h"

#ifdef REVOLVA_HAVE_OPENSUBDIV
#include <opensubdiv/far/primvarRefiner.h>
#include <opensubdiv/far/topologyDescriptor.h>
#endif

namespace {

// The benchmark's input: the model record and, for OpenSubdiv, its faces as flat arrays.
struct Input {
    OwnedModel model;
    std::vector<int> faceSizes, faceVertices;
};

void flattenFaces(Input& input) {
    const ObjModel& m = input.model.model;
    for (std::int32_t f = 0; f < m.numFaces; ++f) {
        input.faceSizes.push_back(m.faces[f].numVertices);
        input.faceVertices.insert(input.faceVertices.end(), m.faces[f].vertexIndices,
                                  m.faces[f].vertexIndices + m.faces[f].numVertices);
    }
}

const Input& cubeInput() {
    static Input input = [] {
        Input made;
        made.model = buildModel(cubeMesh(), NormalSharing::none);
        flattenFaces(made);
        return made;
    }();
    return input;
}

// The cube with each face split along a diagonal, for Loop.
const Input& triangleCubeInput() {
    static Input input = [] {
        MeshSource mesh = cubeMesh();
        std::vector<std::vector<std::int32_t>> triangles;
        for (const auto& q : mesh.faces) {
            triangles.push_back({q[0], q[1], q[2]});
            triangles.push_back({q[0], q[2], q[3]});
        }
        mesh.faces = triangles;
        Input made;
        made.model = buildModel(mesh, NormalSharing::none);
        flattenFaces(made);
        return made;
    }();
    return input;
}

const Input* realInput() {
    static std::unique_ptr<Input> input = []() -> std::unique_ptr<Input> {
        auto made = std::make_unique<Input>();
        if (!loadBenchModel(&made->model.model)) return nullptr;
        flattenFaces(*made);
        return made;
    }();
    return input.get();
}

// The time per face made, over all the levels of one iteration.
void countPerFace(benchmark::State& state, std::int64_t facesOverLevels) {
    state.counters["per_face"] =
        benchmark::Counter(double(facesOverLevels), benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

// Faces of the steps built so far, told by each step.
std::int64_t facesMade = 0;

void countFacesMade(const BuiltStep& built) {
    facesMade += built.model != nullptr ? built.model->numFaces : faceCount(built.mesh->faces);
}

void ourLevels(benchmark::State& state, const Input* input, SchemeKind scheme) {
    if (skippedWithoutBenchModel(state, input)) return;
    const int level = int(state.range(0));
    std::int64_t faces = 0, facesOverLevels = 0;
    for (auto _ : state) {
        ObjModel* shown = new ObjModel{};
        facesMade = 0;
        applySubdivisionLevel(input->model.model, shown, level,
                              {scheme, std::uint64_t{1} << 36, countFacesMade, true});
        faces = shown->numFaces;
        facesOverLevels = facesMade;
        state.PauseTiming();
        freeModelArrays(shown);
        delete shown;
        state.ResumeTiming();
    }
    state.counters["faces"] = double(faces);
    countPerFace(state, facesOverLevels);
}

// The core alone: the record's faces and positions into flat arrays, then the steps, each
// handing its mesh's topology to the next as the levels do.
void ourCoreLevels(benchmark::State& state, const Input* input, SchemeKind scheme) {
    if (skippedWithoutBenchModel(state, input)) return;
    const int level = int(state.range(0));
    std::int64_t faces = 0, facesOverLevels = 0;
    for (auto _ : state) {
        RefinedMesh mesh;
        meshFromModel(input->model.model, mesh);
        MeshTopologies topologies;
        facesOverLevels = 0;
        for (int step = 1; step <= level; ++step) {
            RefinedMesh child;
            refineMeshKeepingTopology(mesh, scheme, topologies, step < level, child);
            mesh = std::move(child);
            facesOverLevels += faceCount(mesh.faces);
        }
        faces = faceCount(mesh.faces);
        benchmark::DoNotOptimize(mesh.positions.data());
        state.PauseTiming();
        mesh = {};
        state.ResumeTiming();
    }
    state.counters["faces"] = double(faces);
    countPerFace(state, facesOverLevels);
}

#ifdef REVOLVA_HAVE_OPENSUBDIV
using namespace OpenSubdiv;

struct Point {
    float x, y, z;
    void Clear(void* = nullptr) { x = y = z = 0.0f; }
    void AddWithWeight(const Point& p, float w) {
        x += w * p.x;
        y += w * p.y;
        z += w * p.z;
    }
};

void theirLevels(benchmark::State& state, const Input* input, Sdc::SchemeType type) {
    if (skippedWithoutBenchModel(state, input)) return;
    const int level = int(state.range(0));
    const ObjModel& m = input->model.model;
    std::int64_t faces = 0, facesOverLevels = 0;
    for (auto _ : state) {
        Far::TopologyDescriptor descriptor;
        descriptor.numVertices = m.numVertices;
        descriptor.numFaces = m.numFaces;
        descriptor.numVertsPerFace = input->faceSizes.data();
        descriptor.vertIndicesPerFace = input->faceVertices.data();
        Sdc::Options options;
        options.SetVtxBoundaryInterpolation(Sdc::Options::VTX_BOUNDARY_EDGE_AND_CORNER);
        using Factory = Far::TopologyRefinerFactory<Far::TopologyDescriptor>;
        std::unique_ptr<Far::TopologyRefiner> refiner(Factory::Create(descriptor,
                                                                      Factory::Options(type,
                                                                                       options)));
        refiner->RefineUniform(Far::TopologyRefiner::UniformOptions(level));
        std::vector<Point> points(std::size_t(m.numVertices));
        for (std::int32_t v = 0; v < m.numVertices; ++v) {
            points[v] = {m.vertices[v].x, m.vertices[v].y, m.vertices[v].z};
        }
        const Far::PrimvarRefiner primvars(*refiner);
        for (int l = 1; l <= level; ++l) {
            std::vector<Point> next(std::size_t(refiner->GetLevel(l).GetNumVertices()));
            primvars.Interpolate(l, points, next);
            points.swap(next);
        }
        faces = refiner->GetLevel(level).GetNumFaces();
        facesOverLevels = 0;
        for (int l = 1; l <= level; ++l) facesOverLevels += refiner->GetLevel(l).GetNumFaces();
        benchmark::DoNotOptimize(points.data());
        state.PauseTiming();
        refiner.reset();
        points = {};
        state.ResumeTiming();
    }
    state.counters["faces"] = double(faces);
    countPerFace(state, facesOverLevels);
}

void cubeCatmullClarkOpenSubdiv(benchmark::State& s) {
    theirLevels(s, &cubeInput(), Sdc::SCHEME_CATMARK);
}
void cubeLoopOpenSubdiv(benchmark::State& s) {
    theirLevels(s, &triangleCubeInput(), Sdc::SCHEME_LOOP);
}
void realCatmullClarkOpenSubdiv(benchmark::State& s) {
    theirLevels(s, realInput(), Sdc::SCHEME_CATMARK);
}
void realLoopOpenSubdiv(benchmark::State& s) { theirLevels(s, realInput(), Sdc::SCHEME_LOOP); }
BENCHMARK(cubeCatmullClarkOpenSubdiv)->Arg(8)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(cubeLoopOpenSubdiv)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(realCatmullClarkOpenSubdiv)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(realLoopOpenSubdiv)->Arg(4)->Unit(benchmark::kMillisecond);
#endif

void cubeCatmullClark(benchmark::State& s) { ourLevels(s, &cubeInput(), SchemeKind::catmullClark); }
void cubeLoop(benchmark::State& s) { ourLevels(s, &triangleCubeInput(), SchemeKind::loop); }
void realCatmullClark(benchmark::State& s) { ourLevels(s, realInput(), SchemeKind::catmullClark); }
void realLoop(benchmark::State& s) { ourLevels(s, realInput(), SchemeKind::loop); }
void cubeDooSabin(benchmark::State& s) { ourLevels(s, &cubeInput(), SchemeKind::dooSabin); }
void realDooSabin(benchmark::State& s) { ourLevels(s, realInput(), SchemeKind::dooSabin); }
void cubeCatmullClarkCore(benchmark::State& s) {
    ourCoreLevels(s, &cubeInput(), SchemeKind::catmullClark);
}
void cubeLoopCore(benchmark::State& s) { ourCoreLevels(s, &triangleCubeInput(), SchemeKind::loop); }
void realCatmullClarkCore(benchmark::State& s) {
    ourCoreLevels(s, realInput(), SchemeKind::catmullClark);
}
void realLoopCore(benchmark::State& s) { ourCoreLevels(s, realInput(), SchemeKind::loop); }
BENCHMARK(cubeCatmullClarkCore)->Arg(8)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(cubeLoopCore)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(realCatmullClarkCore)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(realLoopCore)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(cubeCatmullClark)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(cubeLoop)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(realCatmullClark)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(realLoop)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(cubeDooSabin)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(realDooSabin)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
