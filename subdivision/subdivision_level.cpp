// Subdivision levels. A rebuild is first forecast from the exact size of the first level and
// an upper bound of the later ones, which is exact when the base is a closed manifold. When the
// forecast fits, the rebuild goes step by step into the shown record. When it does not, and it
// is exact, the level is refused at once with the need it names. Otherwise (an open mesh, whose
// bound may overshoot by far, since a lone face does not grow at all, or a closed one that is
// no manifold) the levels are built aside with every step checked exactly, and the last one
// replaces the shown model only once it exists.
#include "subdivision_level.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "doo_sabin.h"
#include "model_size.h"

namespace {

constexpr double mebibyte = 1024.0 * 1024.0;

struct Forecast {
    bool countsFit = true;
    std::uint64_t peakBytes = 0;  // at the rebuild's largest step
};

std::uint64_t stepPeakBytes(const ModelSize& input, const ModelSize& output) {
    return modelBytes(input) + stepScratchBytes(input) + modelBytes(output);
}

// Ends within a few steps whatever the level: the bound quadruples the corners at each step,
// so the counts soon pass 32 bits.
Forecast forecastRebuild(const ModelSize& base, const ModelSize& levelOne, int level) {
    ModelSize input = base, output = levelOne;
    Forecast forecast;
    for (int step = 1;; ++step) {
        if (!fitsRecordCounts(output)) {
            forecast.countsFit = false;
            return forecast;
        }
        forecast.peakBytes = std::max(forecast.peakBytes, stepPeakBytes(input, output));
        if (step == level || output.corners == 0) return forecast;
        input = output;
        output = boundNextLevel(input);
    }
}

// The first level's size is measured; the bound of the later ones is exact only for a closed
// manifold (two cubes that share an edge, say, grow less than it).
bool forecastIsExact(const ObjModel& base, const CornerTopology& topology, int level) {
    return level == 1 || isClosedManifold(base, topology);
}

void refuse(int level, const char* reason) {
    std::fprintf(stderr, "Subdivision level %d not built: %s.\n", level, reason);
}

void refuseOverBudget(int level, const char* needs, double neededBytes, std::uint64_t budgetBytes) {
    std::fprintf(stderr,
                 "Subdivision level %d not built: it %s %.0f MiB, more than the memory budget "
                 "of %.0f MiB.\n",
                 level, needs, neededBytes / mebibyte, double(budgetBytes) / mebibyte);
}

void refuseFor(int level, StepResult result) {
    if (result == StepResult::invalidInput) {
        refuse(level, "the model has a face whose indices lie outside its arrays");
    } else if (result == StepResult::countsTooLarge) {
        refuse(level, "its model would have more than 2147483647 vertices or faces");
    } else {
        refuse(level, "out of memory");
    }
}

void tell(StepProgress progress, int step, int level, const ObjModel& built) {
    if (progress != nullptr) progress(step, level, built);
}

void destroyModel(ObjModel* model) {
    freeModelArrays(model);
    delete model;
}

// The plain rebuild: release the shown model, step from the base into its record, then into
// new records, each input released and destroyed as soon as its output exists.
bool rebuildInPlace(const ObjModel& base, DooSabinPlan& basePlan, ObjModel*& subdivided, int level,
                    StepProgress progress) {
    freeModelArrays(subdivided);
    StepResult result = buildDooSabinStep(base, basePlan, *subdivided);
    basePlan = DooSabinPlan{};
    if (result == StepResult::built) tell(progress, 1, level, *subdivided);
    for (int step = 2; step <= level && result == StepResult::built; ++step) {
        DooSabinPlan plan;
        result = planDooSabinStep(*subdivided, plan);
        if (result != StepResult::built) break;
        ObjModel* next = new ObjModel{};
        result = buildDooSabinStep(*subdivided, plan, *next);
        destroyModel(subdivided);
        subdivided = next;
        if (result == StepResult::built) tell(progress, step, level, *subdivided);
    }
    if (result == StepResult::built) return true;
    refuseFor(level, result);
    return false;
}

// Moves the finished model into place: level 1 refills the shown record, higher levels
// replace it.
void install(ObjModel*& subdivided, ObjModel* built, int level) {
    freeModelArrays(subdivided);
    if (level == 1) {
        *subdivided = *built;
        delete built;
        return;
    }
    delete subdivided;
    subdivided = built;
}

// The peak of the last step, extrapolated from the growth of this one: used only to give up
// early on a level that plainly cannot fit, instead of building the levels below it in vain.
// (An empty input gives no number, and then no early refusal.)
double extrapolatedPeakBytes(const ModelSize& input, const ModelSize& output, int stepsLeft) {
    const double from = double(modelBytes(input)), to = double(modelBytes(output));
    const double growth = to / from;
    const double last = to * std::pow(growth, stepsLeft);
    return last + last / growth;
}

// Refuses the level when the step about to run, with the models held meanwhile, would pass
// the budget, or when the growth of this step shows that the last one plainly would.
bool stepFits(int level, int step, std::uint64_t shownBytes, const ModelSize& input,
              const ModelSize& output, std::uint64_t budgetBytes) {
    const std::uint64_t peak = shownBytes + stepPeakBytes(input, output);
    if (peak > budgetBytes) {
        refuseOverBudget(level, "needs", double(peak), budgetBytes);
        return false;
    }
    if (step == 1 || step == level) return true;
    const double last = double(shownBytes) + extrapolatedPeakBytes(input, output, level - step);
    if (last > double(budgetBytes)) {
        refuseOverBudget(level, "would need about", last, budgetBytes);
        return false;
    }
    return true;
}

// The careful rebuild: every level built aside and checked exactly before it is obtained,
// with the shown model counted as held, so that a refusal leaves that model as it was.
bool rebuildAside(const ObjModel& base, DooSabinPlan& plan, ObjModel*& subdivided, int level,
                  std::uint64_t budgetBytes, StepProgress progress) {
    const std::uint64_t shownBytes = modelBytes(measureModel(*subdivided));
    ObjModel* current = nullptr;
    for (int step = 1; step <= level; ++step) {
        const ObjModel& input = current == nullptr ? base : *current;
        const StepResult planned = step == 1 ? StepResult::built : planDooSabinStep(input, plan);
        if (planned != StepResult::built) {
            destroyModel(current);
            refuseFor(level, planned);
            return false;
        }
        if (!stepFits(level, step, shownBytes, measureModel(input), plan.outputSize, budgetBytes)) {
            destroyModel(current);
            return false;
        }
        ObjModel* next = new ObjModel{};
        const StepResult built = buildDooSabinStep(input, plan, *next);
        plan = DooSabinPlan{};
        destroyModel(current);
        current = next;
        if (built != StepResult::built) {
            destroyModel(current);
            refuseFor(level, built);
            return false;
        }
        tell(progress, step, level, *current);
    }
    install(subdivided, current, level);
    return true;
}

}  // namespace

bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                           std::uint64_t budgetBytes, StepProgress progress) {
    if (level <= 0) return true;
    DooSabinPlan plan;
    const StepResult planned = planDooSabinStep(base, plan);
    if (planned != StepResult::built) {
        refuseFor(level, planned);
        return false;
    }
    const Forecast forecast = forecastRebuild(measureModel(base), plan.outputSize, level);
    if (forecast.countsFit && forecast.peakBytes <= budgetBytes) {
        return rebuildInPlace(base, plan, subdivided, level, progress);
    }
    if (!forecastIsExact(base, plan.topology, level)) {
        return rebuildAside(base, plan, subdivided, level, budgetBytes, progress);
    }
    if (!forecast.countsFit) {
        refuseFor(level, StepResult::countsTooLarge);
    } else {
        refuseOverBudget(level, "needs", double(forecast.peakBytes), budgetBytes);
    }
    return false;
}

bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                           std::uint64_t budgetBytes) {
    return applySubdivisionLevel(base, subdivided, level, budgetBytes, nullptr);
}

bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level) {
    return applySubdivisionLevel(base, subdivided, level, memoryBudgetBytes(), nullptr);
}

bool applySubdivisionLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                           SchemeKind scheme, std::uint64_t budgetBytes, LevelProgress progress) {
    if (scheme == SchemeKind::dooSabin) {
        return applySubdivisionLevel(base, subdivided, level, budgetBytes, progress.dooSabin);
    }
    return applySchemeLevel(base, subdivided, level, scheme, budgetBytes, progress.refined);
}
