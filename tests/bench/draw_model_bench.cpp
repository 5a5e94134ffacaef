// Frames per second of drawModel on the software renderer: the cube at subdivision level 7
// (about 98 000 faces) drawn into a hidden 600x600 window, unlit, lit, and lit with normal
// lines. Needs an X display (e.g. xvfb-run); without one the benchmarks are skipped.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <GL/freeglut.h>
#include <fcntl.h>
#include <unistd.h>

#include "camera.h"
#include "model_drawing.h"
#include "obj_loader.h"
#include "obj_model.h"
#include "scene_frame.h"
#include "subdivision_level.h"

namespace {

const char* const cubeText =
    "v -0.5 -0.5 -0.5\nv 0.5 -0.5 -0.5\nv 0.5 0.5 -0.5\nv -0.5 0.5 -0.5\n"
    "v -0.5 -0.5 0.5\nv 0.5 -0.5 0.5\nv 0.5 0.5 0.5\nv -0.5 0.5 0.5\n"
    "vn 0 0 1\nvn 0 0 -1\nvn 1 0 0\nvn -1 0 0\nvn 0 1 0\nvn 0 -1 0\n"
    "f 5//1 6//1 7//1 8//1\nf 1//2 4//2 3//2 2//2\nf 2//3 3//3 7//3 6//3\n"
    "f 1//4 5//4 8//4 4//4\nf 4//5 8//5 7//5 3//5\nf 1//6 2//6 6//6 5//6\n";

// The hidden window, made once; false when there is no display to make it on.
bool openHiddenWindow() {
    static const bool opened = [] {
        if (std::getenv("DISPLAY") == nullptr) return false;
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
        int argc = 1;
        char name[] = "draw_model_bench";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
        glutInitWindowSize(windowWidth, windowHeight);
        glutCreateWindow("draw_model_bench");
        glutDisplayFunc([] {});  // frames are drawn by the benchmark itself
        glutHideWindow();
        glutMainLoopEvent();
        initScene3d();
        return true;
    }();
    return opened;
}

// The cube's level-7 Doo-Sabin refinement, built once.
const ObjModel* levelSevenCube() {
    static ObjModel* subdivided = nullptr;
    if (subdivided != nullptr) return subdivided;
    const std::string path = "/tmp/draw_model_bench_cube_" + std::to_string(getpid()) + ".obj";
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return nullptr;
    std::fputs(cubeText, file);
    std::fclose(file);
    // The loader's report would break into the benchmark's table.
    std::fflush(stdout);
    const int savedStdout = dup(1);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
    static ObjModel base{};
    const bool loaded = loadObjFile(path.c_str(), &base);
    std::fflush(stdout);
    dup2(savedStdout, 1);
    close(savedStdout);
    std::remove(path.c_str());
    subdivided = new ObjModel{};
    if (!loaded || !applySubdivisionLevel(base, subdivided, 7)) subdivided = nullptr;
    return subdivided;
}

const float lightPosition[4] = {3.0f, 3.0f, 3.0f, 1.0f};

// Argument 0: unlit; 1: lit; 2: lit with normal lines.
void drawLevelSevenCube(benchmark::State& state) {
    if (!openHiddenWindow()) {
        state.SkipWithError("no X display: run under xvfb-run to measure drawModel");
        return;
    }
    const ObjModel* model = levelSevenCube();
    if (model == nullptr) {
        state.SkipWithError("the level-7 cube could not be built");
        return;
    }
    const bool lit = state.range(0) >= 1;
    NormalLineOptions normalLines;
    normalLines.showNormals = state.range(0) == 2;
    glEnable(GL_NORMALIZE);
    glEnable(GL_CULL_FACE);
    if (lit) {
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
    }
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        applyCameraTransform();
        if (lit) glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
        drawModel(*model, normalLines);
        glFinish();
        glutSwapBuffers();
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    state.counters["faces"] = model->numFaces;
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(drawLevelSevenCube)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
