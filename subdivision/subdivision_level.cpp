// Subdivision levels. A rebuild is first forecast: the first level's size exactly, the later
// ones by an upper bound that is exact for closed meshes. When the forecast fits, the rebuild
// goes step by step into the shown record as it always did; when it does not (an open mesh,
// whose bound overshoots, or a level truly too large), the levels are built aside, each step
// checked exactly, and the shown model is replaced only once the last one exists.
#include "subdivision_level.h"

#include <algorithm>
#include <cstdio>

#include "doo_sabin.h"
#include "model_size.h"

namespace {

constexpr double mebibyte = 1024.0 * 1024.0;

enum class Forecast { fits, tooLarge, invalidBase };

bool hasNoCorner(const ObjModel& model) { return measureModel(model).corners == 0; }

// Once a model has no corner, every further step gives the same empty model.
bool stepsCanStop(const ObjModel& input, int step) { return step > 2 && hasNoCorner(input); }

std::uint64_t stepPeakBytes(const ModelSize& input, const ModelSize& output) {
    return modelBytes(input) + stepScratchBytes(input) + modelBytes(output);
}

Forecast forecastRebuild(const ObjModel& base, int level, std::uint64_t budgetBytes) {
    ModelSize input = measureModel(base);
    ModelSize output;
    if (!measureNextLevel(base, output)) return Forecast::invalidBase;
    for (int step = 1;; ++step) {
        if (!fitsRecordCounts(output) || stepPeakBytes(input, output) > budgetBytes) {
            return Forecast::tooLarge;
        }
        if (step == level || output.corners == 0) return Forecast::fits;
        input = output;
        output = boundNextLevel(input);
    }
}

void reportRefusal(int level, StepResult result, std::uint64_t neededBytes,
                   std::uint64_t budgetBytes) {
    switch (result) {
        case StepResult::invalidInput:
            std::fprintf(stderr, "Subdivision level %d not built: the model has a face whose "
                                 "indices lie outside its arrays.\n", level);
            break;
        case StepResult::countsTooLarge:
            std::fprintf(stderr, "Subdivision level %d not built: its model would have more "
                                 "than 2147483647 vertices or faces.\n", level);
            break;
        case StepResult::overByteLimit:
            std::fprintf(stderr, "Subdivision level %d not built: it needs %.0f MiB, more than "
                                 "the memory budget of %.0f MiB.\n",
                         level, double(neededBytes) / mebibyte, double(budgetBytes) / mebibyte);
            break;
        case StepResult::outOfMemory:
            std::fprintf(stderr, "Subdivision level %d not built: out of memory.\n", level);
            break;
        case StepResult::built:
            break;
    }
}

void destroyModel(ObjModel* model) {
    freeModelArrays(model);
    delete model;
}

// The plain rebuild: release the shown model, step from the base into its record, then into
// new records, each input released and destroyed once its output exists.
bool rebuildInPlace(const ObjModel& base, ObjModel*& subdivided, int level,
                    std::uint64_t budgetBytes) {
    freeModelArrays(subdivided);
    StepResult result = dooSabinStepWithin(base, *subdivided, budgetBytes);
    for (int step = 2; step <= level && result == StepResult::built; ++step) {
        if (stepsCanStop(*subdivided, step)) break;
        ObjModel* next = new ObjModel{};
        result = dooSabinStepWithin(*subdivided, *next, budgetBytes);
        destroyModel(subdivided);
        subdivided = next;
    }
    if (result == StepResult::built) return true;
    reportRefusal(level, result, 0, budgetBytes);
    return false;
}

// Moves the finished model into place: level 1 refills the shown record, higher levels replace it.
void install(ObjModel*& subdivided, ObjModel* built, int steps) {
    freeModelArrays(subdivided);
    if (steps == 1) {
        *subdivided = *built;
        delete built;
        return;
    }
    delete subdivided;
    subdivided = built;
}

// The careful rebuild: every level is built aside and checked exactly before it is obtained,
// with the shown model counted as held, so that a refusal leaves that model as it was.
bool rebuildAside(const ObjModel& base, ObjModel*& subdivided, int level,
                  std::uint64_t budgetBytes) {
    const std::uint64_t shownBytes = modelBytes(measureModel(*subdivided));
    ObjModel* current = nullptr;
    int steps = 0;
    for (int step = 1; step <= level; ++step) {
        const ObjModel& input = current == nullptr ? base : *current;
        if (stepsCanStop(input, step)) break;
        const ModelSize inputSize = measureModel(input);
        const std::uint64_t heldBytes =
            shownBytes + modelBytes(inputSize) + stepScratchBytes(inputSize);
        const std::uint64_t limit = budgetBytes > heldBytes ? budgetBytes - heldBytes : 0;
        ObjModel* next = new ObjModel{};
        ModelSize outputSize{};
        const StepResult result = dooSabinStepWithin(input, *next, limit, &outputSize);
        destroyModel(current);
        current = next;
        if (result != StepResult::built) {
            destroyModel(current);
            reportRefusal(level, result, heldBytes + modelBytes(outputSize), budgetBytes);
            return false;
        }
        steps = step;
    }
    install(subdivided, current, steps);
    return true;
}

}  // namespace

bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                           std::uint64_t budgetBytes) {
    if (level <= 0) return true;
    switch (forecastRebuild(base, level, budgetBytes)) {
        case Forecast::invalidBase:
            reportRefusal(level, StepResult::invalidInput, 0, budgetBytes);
            return false;
        case Forecast::fits:
            return rebuildInPlace(base, subdivided, level, budgetBytes);
        case Forecast::tooLarge:
            break;
    }
    return rebuildAside(base, subdivided, level, budgetBytes);
}

bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level) {
    return applySubdivisionLevel(base, subdivided, level, memoryBudgetBytes());
}
