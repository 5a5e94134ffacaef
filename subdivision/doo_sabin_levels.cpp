// Doo-Sabin levels. A rebuild is first forecast from the exact size of the first level and
// an upper bound of the later ones, which is exact when the base is a closed manifold. When the
// forecast fits, the rebuild goes step by step into the shown record. When it does not, and it
// is exact, the level is refused at once with the need it names. Otherwise (an open mesh, whose
// bound may overshoot by far, since a lone face does not grow at all, or a closed one that is
// no manifold) the levels are built aside with every step checked exactly, and the last one
// replaces the shown model only once it exists. Texture coordinates, when asked for, are
// carried beside the steps and given to the last model.
#include "doo_sabin_levels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <utility>
#include <vector>

#include "doo_sabin.h"
#include "doo_sabin_tex_coords.h"
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
        output = boundNextDooSabinLevel(input);
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

void destroyModel(ObjModel* model) {
    freeModelArrays(model);
    delete model;
}

// What goes along the steps besides the models.
struct Rebuild {
    const LevelRequest& request;
    int level;
    DooSabinTexCoords texCoords;
};

// After step `step` has built `built`, whose faces are of `kinds`: carries the texture
// coordinates on to it (and, after the last step, gives them to it) and tells the step. When
// memory runs out meanwhile, `built` is left an empty model.
StepResult stepDone(Rebuild& rebuild, int step, const std::vector<FaceKindRange>& kinds,
                    ObjModel& built) {
    const bool last = step == rebuild.level;
    DooSabinTexCoords& texCoords = rebuild.texCoords;
    if (texCoords.carried && !(stepDooSabinTexCoords(texCoords, built, last) &&
                               (!last || attachDooSabinTexCoords(texCoords, built)))) {
        freeModelArrays(&built);
        built = ObjModel{};
        return StepResult::outOfMemory;
    }
    if (rebuild.request.progress == nullptr) return StepResult::built;
    BuiltStep told;
    told.step = step;
    told.level = rebuild.level;
    told.scheme = SchemeKind::dooSabin;
    told.kinds = &kinds;
    told.model = &built;
    rebuild.request.progress(told);
    return StepResult::built;
}

// One step from `input` by its plan into `output` (holding no arrays); `kinds` gets the kinds
// of the faces made while the plan and the input are still at hand. Their list, a standard
// container, is the one thing obtained here: std::bad_alloc is caught at once.
StepResult buildStep(const ObjModel& input, const DooSabinPlan& plan, ObjModel& output,
                     std::vector<FaceKindRange>& kinds, int threads) {
    try {
        kinds = dooSabinFaceKinds(input, plan);
    } catch (const std::bad_alloc&) {
        return StepResult::outOfMemory;
    }
    return buildDooSabinStep(input, plan, output, threads);
}

// The plan of the next step from `built`, the model the step of `plan` made. The levels of a
// closed manifold are closed manifolds again, whose plans follow from the plan before (with its
// model already released); any other model's plan is gathered from its faces.
StepResult planNextStep(const ObjModel& built, bool closedManifold, DooSabinPlan& plan) {
    if (!closedManifold) {
        plan = DooSabinPlan{};
        return planDooSabinStep(built, plan);
    }
    DooSabinPlan next;
    const StepResult result = planDooSabinStepAfter(built, plan, next);
    plan = std::move(next);
    return result;
}

// The plain rebuild: release the shown model, step from the base into its record, then into
// new records, each input released and destroyed as soon as its output exists.
bool rebuildInPlace(const ObjModel& base, DooSabinPlan& plan, ObjModel*& subdivided,
                    Rebuild& rebuild) {
    const bool closedManifold = rebuild.level > 1 && isClosedManifold(base, plan.topology);
    freeModelArrays(subdivided);
    std::vector<FaceKindRange> kinds;
    StepResult result = buildStep(base, plan, *subdivided, kinds, rebuild.request.threads);
    if (!closedManifold) plan = DooSabinPlan{};
    if (result == StepResult::built) result = stepDone(rebuild, 1, kinds, *subdivided);
    for (int step = 2; step <= rebuild.level && result == StepResult::built; ++step) {
        result = planNextStep(*subdivided, closedManifold, plan);
        if (result != StepResult::built) break;
        ObjModel* next = new ObjModel{};
        result = buildStep(*subdivided, plan, *next, kinds, rebuild.request.threads);
        destroyModel(subdivided);
        subdivided = next;
        if (result == StepResult::built) result = stepDone(rebuild, step, kinds, *subdivided);
    }
    if (result == StepResult::built) return true;
    refuseFor(rebuild.level, result);
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
bool rebuildAside(const ObjModel& base, DooSabinPlan& plan, ObjModel*& subdivided,
                  Rebuild& rebuild) {
    const int level = rebuild.level;
    const std::uint64_t shownBytes = modelBytes(measureModel(*subdivided));
    ObjModel* current = nullptr;
    std::vector<FaceKindRange> kinds;
    for (int step = 1; step <= level; ++step) {
        const ObjModel& input = current == nullptr ? base : *current;
        const StepResult planned = step == 1 ? StepResult::built : planDooSabinStep(input, plan);
        if (planned != StepResult::built) {
            destroyModel(current);
            refuseFor(level, planned);
            return false;
        }
        if (!stepFits(level, step, shownBytes, measureModel(input), plan.outputSize,
                      rebuild.request.budgetBytes)) {
            destroyModel(current);
            return false;
        }
        ObjModel* next = new ObjModel{};
        StepResult built = buildStep(input, plan, *next, kinds, rebuild.request.threads);
        plan = DooSabinPlan{};
        destroyModel(current);
        current = next;
        if (built == StepResult::built) built = stepDone(rebuild, step, kinds, *current);
        if (built != StepResult::built) {
            destroyModel(current);
            refuseFor(level, built);
            return false;
        }
    }
    install(subdivided, current, level);
    return true;
}

}  // namespace

bool applyDooSabinLevel(const ObjModel& base, ObjModel*& subdivided, int level,
                        const LevelRequest& request) {
    if (level <= 0) return true;
    DooSabinPlan plan;
    const StepResult planned = planDooSabinStep(base, plan);
    if (planned != StepResult::built) {
        refuseFor(level, planned);
        return false;
    }
    Rebuild rebuild{request, level, {}};
    if (request.texCoords && !startDooSabinTexCoords(base, rebuild.texCoords)) {
        refuseFor(level, StepResult::outOfMemory);
        return false;
    }
    const Forecast forecast = forecastRebuild(measureModel(base), plan.outputSize, level);
    if (forecast.countsFit && forecast.peakBytes <= request.budgetBytes) {
        return rebuildInPlace(base, plan, subdivided, rebuild);
    }
    if (!forecastIsExact(base, plan.topology, level)) {
        return rebuildAside(base, plan, subdivided, rebuild);
    }
    if (!forecast.countsFit) {
        refuseFor(level, StepResult::countsTooLarge);
    } else {
        refuseOverBudget(level, "needs", double(forecast.peakBytes), request.budgetBytes);
    }
    return false;
}
