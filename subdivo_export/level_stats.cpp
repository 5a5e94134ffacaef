// The edges are counted by gathering the level's topology with the refinement core; that
// time is left out of the next step's.
#include "level_stats.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "export_progress.h"
#include "mesh_topology.h"

namespace {

using Clock = std::chrono::steady_clock;

bool reporting = false;
Clock::time_point stepStart;

struct LevelFigures {
    std::int64_t vertices = 0, edges = 0, faces = 0;
    std::int64_t byKind[faceKindCount] = {};
    std::int64_t otherFaces = 0;  // of no kind (the loaded model's)
};

std::int64_t edgesOf(const FaceVertexArrays& faces) {
    MeshTopology topology;
    buildMeshTopology(faces, topology);
    return topology.numEdges;
}

double peakMebibytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;  // kibibytes on Linux
}

void printFigures(int level, const LevelFigures& figures, double milliseconds) {
    endProgress();
    std::fprintf(stderr, "subdivo-export: level %d: %lld vertices, %lld edges, %lld faces (", level,
                 static_cast<long long>(figures.vertices), static_cast<long long>(figures.edges),
                 static_cast<long long>(figures.faces));
    const char* separator = "";
    for (int k = 0; k < faceKindCount; ++k) {
        if (figures.byKind[k] == 0) continue;
        std::fprintf(stderr, "%s%lld %s", separator, static_cast<long long>(figures.byKind[k]),
                     faceKindName(FaceKind(k)));
        separator = ", ";
    }
    if (figures.otherFaces > 0) {
        std::fprintf(stderr, "%s%lld of no kind", separator,
                     static_cast<long long>(figures.otherFaces));
    }
    std::fprintf(stderr, "), Euler characteristic %lld, step %.1f ms, peak memory %.1f MiB\n",
                 static_cast<long long>(figures.vertices - figures.edges + figures.faces),
                 milliseconds, peakMebibytes());
}

// The loaded model's figures: its faces are of no kind.
LevelFigures baseFigures(const ObjModel& model) {
    LevelFigures figures;
    figures.vertices = model.numVertices;
    figures.faces = model.numFaces;
    figures.edges = edgesOf(faceVertexArraysOf(model));
    figures.otherFaces = model.numFaces;
    return figures;
}

// A step's figures: a Doo-Sabin model's faces or a mesh's, counted by the kinds told.
LevelFigures stepFigures(const BuiltStep& built) {
    LevelFigures figures;
    if (built.mesh != nullptr) {
        figures.vertices = built.mesh->faces.numVertices;
        figures.faces = faceCount(built.mesh->faces);
        figures.edges = edgesOf(built.mesh->faces);
    } else {
        figures.vertices = built.model->numVertices;
        figures.faces = built.model->numFaces;
        figures.edges = edgesOf(faceVertexArraysOf(*built.model));
    }
    for (const FaceKindRange& range : *built.kinds) {
        figures.byKind[int(range.kind)] += range.end - range.begin;
    }
    return figures;
}

double millisecondsSinceStepStart() {
    return std::chrono::duration<double, std::milli>(Clock::now() - stepStart).count();
}

}  // namespace

void startLevelStats() {
    reporting = true;
    stepStart = Clock::now();
}

void reportBaseStats(const ObjModel& base) {
    if (!reporting) return;
    printFigures(0, baseFigures(base), 0.0);
    stepStart = Clock::now();
}

void reportLevelStats(const BuiltStep& built) {
    if (!reporting) return;
    const double milliseconds = millisecondsSinceStepStart();
    printFigures(built.step, stepFigures(built), milliseconds);
    stepStart = Clock::now();
}
