// Loading a large OBJ file: a grid of one million quads with one normal per vertex, written
// once into a private temporary folder, loaded by loadObjFile on every iteration.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "obj_loader.h"
#include "obj_model.h"

namespace {

// Writes a wavy (side + 1)^2-vertex grid of side^2 quads with "v//vn" references; returns the
// file's path, or an empty string when it cannot be written.
std::string writeQuadGrid(int side) {
    char folder[] = "/tmp/obj_loader_bench.XXXXXX";
    if (mkdtemp(folder) == nullptr) return "";
    const std::string path = std::string(folder) + "/grid.obj";
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return "";
    const int row = side + 1;
    for (int i = 0; i < row; ++i)
        for (int j = 0; j < row; ++j)
            std::fprintf(file, "v %.6f %.6f %.6f\n", i / double(side),
                         0.01 * ((i * 7 + j * 3) % 11), j / double(side));
    for (int k = 0; k < row * row; ++k) std::fprintf(file, "vn 0.000000 1.000000 0.000000\n");
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            const int a = i * row + j + 1, b = a + 1, c = a + row + 1, d = a + row;
            std::fprintf(file, "f %d//%d %d//%d %d//%d %d//%d\n", a, a, d, d, c, c, b, b);
        }
    }
    std::fclose(file);
    return path;
}

// Sends standard output to /dev/null while alive, so the loader's reports stay out of the table.
struct QuietStdout {
    int saved = -1;
    QuietStdout() {
        std::fflush(stdout);
        saved = dup(1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        dup2(saved, 1);
        close(saved);
    }
};

void loadMillionQuads(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const std::string path = writeQuadGrid(side);
    if (path.empty()) {
        state.SkipWithError("cannot write the OBJ file under /tmp");
        return;
    }
    {
        QuietStdout quiet;
        for (auto _ : state) {
            ObjModel model{};
            if (!loadObjFile(path.c_str(), &model)) state.SkipWithError("the file did not load");
            benchmark::DoNotOptimize(model.faces);
            freeModelArrays(&model);
        }
    }
    state.counters["faces"] = static_cast<double>(side) * side;
    std::remove(path.c_str());
    const std::string folder = path.substr(0, path.rfind('/'));
    rmdir(folder.c_str());
}

}  // namespace

BENCHMARK(loadMillionQuads)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
