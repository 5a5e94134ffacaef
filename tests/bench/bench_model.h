// The real model a benchmark refines beside the cube: an OBJ named by REVOLVA_BENCH_MODEL (such
// as npm's bunny, which scripts/bench-model.sh writes), loaded without the loader's report.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "obj_loader.h"

// True when the model is named and loaded into `model`.
inline bool loadBenchModel(ObjModel* model) {
    const char* path = std::getenv("REVOLVA_BENCH_MODEL");
    if (path == nullptr) return false;
    setLoaderReportStream(nullptr);
    return loadObjFile(path, model);
}

// True, the benchmark marked skipped, when the real model was not named or not loaded.
inline bool skippedWithoutBenchModel(benchmark::State& state, const void* loaded) {
    if (loaded != nullptr) return false;
    state.SkipWithError("no model: set REVOLVA_BENCH_MODEL");
    return true;
}
