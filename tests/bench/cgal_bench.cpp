// Speed of the Doo-Sabin levels beside CGAL's Doo-Sabin subdivision
// (Subdivision_method_3::DooSabin_subdivision on a Surface_mesh), on the same input in the
// same run: the cube to level 9 and a real model (an OBJ named by REVOLVA_BENCH_MODEL, such as
// npm's bunny, which scripts/bench-model.sh writes) to level 4. Ours from the model record
// through the level entry to the level's record, as Subdivo builds it (on one thread, with
// the new normals); theirs from the same faces and positions copied into a Surface_mesh, then
// refined in place. Both make the same faces: one per face, edge and vertex. Run with
// --benchmark_repetitions=N --benchmark_enable_random_interleaving=true so that the two
// alternate, and compare the medians as a ratio (scripts/bench.sh prints it).
#include <CGAL/Simple_cartesian.h>
#include <CGAL/Surface_mesh.h>
#include <CGAL/subdivision_method_3.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "../subdivision/test_meshes.h"
#include "bench_model.h"
#include "subdivision_level.h"

namespace {

using Kernel = CGAL::Simple_cartesian<double>;
using CgalMesh = CGAL::Surface_mesh<Kernel::Point_3>;

const OwnedModel& cubeModel() {
    static const OwnedModel model = buildModel(cubeMesh(), NormalSharing::perFace);
    return model;
}

const OwnedModel* realModel() {
    static const std::unique_ptr<OwnedModel> model = []() -> std::unique_ptr<OwnedModel> {
        auto made = std::make_unique<OwnedModel>();
        if (!loadBenchModel(&made->model)) return nullptr;
        return made;
    }();
    return model.get();
}

void ourLevels(benchmark::State& state, const OwnedModel* base) {
    if (skippedWithoutBenchModel(state, base)) return;
    const int level = int(state.range(0));
    std::int64_t faces = 0;
    for (auto _ : state) {
        ObjModel* shown = new ObjModel{};
        applySubdivisionLevel(base->model, shown, level, std::uint64_t{1} << 36);
        faces = shown->numFaces;
        state.PauseTiming();
        freeModelArrays(shown);
        delete shown;
        state.ResumeTiming();
    }
    state.counters["faces"] = double(faces);
}

CgalMesh cgalMeshOf(const ObjModel& model) {
    CgalMesh mesh;
    for (std::int32_t v = 0; v < model.numVertices; ++v) {
        const Vec4f& p = model.vertices[v];
        mesh.add_vertex(Kernel::Point_3(p.x, p.y, p.z));
    }
    std::vector<CgalMesh::Vertex_index> corners;
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const ObjFace& face = model.faces[f];
        corners.clear();
        for (std::int32_t j = 0; j < face.numVertices; ++j)
            corners.push_back(CgalMesh::Vertex_index(std::uint32_t(face.vertexIndices[j])));
        mesh.add_face(corners);
    }
    return mesh;
}

void theirLevels(benchmark::State& state, const OwnedModel* base) {
    if (skippedWithoutBenchModel(state, base)) return;
    const int level = int(state.range(0));
    std::int64_t faces = 0;
    for (auto _ : state) {
        CgalMesh mesh = cgalMeshOf(base->model);
        CGAL::Subdivision_method_3::
            DooSabin_subdivision(mesh, CGAL::parameters::number_of_iterations(level));
        faces = std::int64_t(mesh.number_of_faces());
        state.PauseTiming();
        mesh = CgalMesh();
        state.ResumeTiming();
    }
    state.counters["faces"] = double(faces);
}

void cubeDooSabin(benchmark::State& s) { ourLevels(s, &cubeModel()); }
void cubeDooSabinCgal(benchmark::State& s) { theirLevels(s, &cubeModel()); }
void realDooSabin(benchmark::State& s) { ourLevels(s, realModel()); }
void realDooSabinCgal(benchmark::State& s) { theirLevels(s, realModel()); }

BENCHMARK(cubeDooSabin)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(cubeDooSabinCgal)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(realDooSabin)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(realDooSabinCgal)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
