// Entry point of subdivo-export: loads an OBJ model with Subdivo's loader, optionally fits it
// into Subdivo's start view, builds the asked subdivision level with Subdivo's level driver
// and writes it as an OBJ file (with its material library) or to standard output.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "export_command_line.h"
#include "export_progress.h"
#include "face_materials.h"
#include "level_stats.h"
#include "model_fit.h"
#include "model_size.h"
#include "obj_loader.h"
#include "obj_writer.h"
#include "output_file.h"
#include "subdivision_level.h"
#include "surface_normals.h"
#include "tool_command_line.h"
#include "written_surface.h"

namespace {

int usageFailure(const std::string& message) {
    return printUsageFailure("subdivo-export", message);
}

int failure(const std::string& message) {
    endProgress();
    return printFailure("subdivo-export", message);
}

std::string describe(const ExportOptions& options) {
    std::string text = "subdivo-export: " + fileNameOf(options.modelPath) +
                       " at subdivision level " + std::to_string(options.level);
    if (options.scheme != SchemeKind::dooSabin)
        text += std::string(" of ") + schemeName(options.scheme);
    return options.fit ? text + ", fitted" : text;
}

void warnOfLeftOutFaces(std::int64_t leftOut) {
    if (leftOut == 0) return;
    std::fprintf(stderr,
                 "subdivo-export: %lld %s of fewer than 3 corners left out: OBJ files "
                 "cannot hold them, and they show nothing.\n",
                 static_cast<long long>(leftOut), leftOut == 1 ? "face" : "faces");
}

// The kinds of the faces of the level, as the driver told them with its last step.
std::vector<FaceKindRange> levelKinds;

void onStep(const BuiltStep& built) {
    const std::int64_t faces =
        built.mesh != nullptr ? faceCount(built.mesh->faces) : built.model->numFaces;
    reportStepFaces(built.step, built.level, faces);
    reportLevelStats(built);
    if (built.step == built.level) levelKinds = *built.kinds;
}

// The materials of the written level: by the kinds of its faces, or, for the loaded model,
// by the faces' colours.
std::vector<FaceMaterial> levelMaterials(const ObjModel& model, const ExportOptions& options) {
    if (options.level == 0) return colourMaterials(model);
    return kindMaterials(levelKinds);
}

ObjWriteSettings writeSettings(const ObjModel& base, const std::string& comment, int threads) {
    ObjWriteSettings settings;
    settings.comment = comment.c_str();
    settings.progress = reportWriting;
    settings.weights = hasHomogeneousWeights(base);
    settings.threads = threads;
    return settings;
}

// Writes the text straight into an open stream (standard output, a device, a pipe), where no
// material library can go beside it; `name` is the stream's name for messages.
int writeToStream(const ObjModel& model, const std::vector<FaceMaterial>& materials,
                  const ObjWriteSettings& settings, std::FILE* out, const std::string& name) {
    if (out == nullptr) return failure("cannot write " + name + ": " + std::strerror(errno));
    const ObjWriteResult result = writeObjText(model, materials, settings, out);
    const int writeError = errno;
    const bool closed = std::fclose(out) == 0;
    if (!result.written || !closed) {
        const int error = result.written ? errno : writeError;
        return failure("cannot write " + name + ": " + std::strerror(error));
    }
    endProgress();
    warnOfLeftOutFaces(result.facesLeftOut);
    return exitWritten;
}

int failedFile(const std::string& path, AsideFile& obj, AsideFile& mtl) {
    const int error = errno;
    discardAside(obj);
    discardAside(mtl);
    return failure("cannot write " + path + ": " + std::strerror(error) + "; nothing written");
}

int failedCommit(PairCommit commit, const std::string& objPath, const std::string& mtlPath) {
    const std::string reason = std::strerror(errno);
    if (commit == PairCommit::neither) {
        return failure("cannot put " + mtlPath + " in place: " + reason + "; nothing written");
    }
    return failure("cannot put " + mtlPath + " in place: " + reason + "; " + objPath +
                   " was written, but not its material library");
}

// The output replaces the model file itself: harmless, since the model was read whole, but
// worth a word, as the model is gone.
void warnOfReplacedModel(const ExportOptions& options, const std::string& objPath,
                         const std::string& mtlPath, const std::string& shownMtlPath) {
    const char* replaced = sameFile(options.modelPath, objPath)   ? options.outputPath
                           : sameFile(options.modelPath, mtlPath) ? shownMtlPath.c_str()
                                                                  : nullptr;
    if (replaced == nullptr) return;
    std::fprintf(stderr,
                 "subdivo-export: warning: %s is the model file itself; it is replaced (the "
                 "model was read whole first).\n",
                 replaced);
}

// Writes both files aside, then puts both in place or neither: a target that cannot be
// replaced (a folder, say) leaves the files that were there as they were.
int writeToFiles(const ObjModel& model, const std::vector<FaceMaterial>& materials,
                 const ExportOptions& options, ObjWriteSettings settings) {
    const std::string objPath = resolvedTarget(options.outputPath);
    const std::string mtlPath = materialLibraryPath(objPath);
    const std::string shownMtlPath = materialLibraryPath(options.outputPath);
    AsideFile obj, mtl;
    if (!openAside(obj, objPath)) return failedFile(options.outputPath, obj, mtl);
    if (!openAside(mtl, mtlPath)) return failedFile(shownMtlPath, obj, mtl);
    if (!writeMaterialLibrary(materials, mtl.stream)) return failedFile(shownMtlPath, obj, mtl);
    const std::string library = fileNameOf(mtlPath);
    settings.materialLibrary = library.c_str();
    const ObjWriteResult result = writeObjText(model, materials, settings, obj.stream);
    if (!result.written) return failedFile(options.outputPath, obj, mtl);
    warnOfReplacedModel(options, objPath, mtlPath, shownMtlPath);
    const PairCommit commit = commitPair(obj, mtl);
    if (commit != PairCommit::both) return failedCommit(commit, options.outputPath, shownMtlPath);
    endProgress();
    warnOfLeftOutFaces(result.facesLeftOut);
    return exitWritten;
}

// The threads of the machine, one when the system does not tell.
int machineThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? static_cast<int>(cores) : 1;
}

}  // namespace

int main(int argc, char** argv) {
    ExportOptions options;
    const CommandLineResult read = readExportCommandLine(argc, argv, options);
    switch (read.action) {
        case CommandLineAction::showHelp: return showText(exportHelpText());
        case CommandLineAction::showVersion: return showText(exportVersionLine());
        case CommandLineAction::usageError: return usageFailure(read.error);
        case CommandLineAction::exportModel: break;
    }
    const bool toStandardOutput = writesToStandardOutput(options);
    if (writesIntoTerminal(toStandardOutput)) return usageFailure(terminalRefusal);
    // The loader's report goes to the error stream, never where the OBJ text may go.
    setLoaderReportStream(options.quiet ? nullptr : stderr);
    removeAsideFilesOnSignals();
    startProgress(!options.quiet);

    ObjModel base{};
    if (!loadObjFile(options.modelPath, &base)) {
        return failure(std::string(options.modelPath) + " not loaded; nothing written");
    }
    if (options.level > 0 && base.numFaces == 0) {
        return failure(std::string(options.modelPath) +
                       " has no faces: nothing to subdivide; nothing written");
    }
    if (options.fit) fitModel(base);
    if (options.stats) {
        startLevelStats();
        reportBaseStats(base);
    }
    LevelRequest request;
    request.scheme = options.scheme;
    request.budgetBytes = memoryBudgetBytes();
    request.progress = onStep;
    request.texCoords = true;
    request.threads = options.threads > 0 ? options.threads : machineThreads();
    ObjModel* subdivided = new ObjModel{};
    if (!applySubdivisionLevel(base, subdivided, options.level, request)) {
        endProgress();
        return exitFailed;  // the driver has said why
    }
    const ObjModel& level = options.level == 0 ? base : *subdivided;
    // Per vertex; none with --no-normals or without faces.
    std::vector<Vec3f> normals;
    if (options.normals && level.numFaces > 0) normals = surfaceVertexNormals(level);
    WrittenSurface surface;
    viewWrittenSurface(surface, level, normals.empty() ? nullptr : &normals);
    // The models stay until the end: the system takes their memory back at exit at once,
    // where releasing millions of index lists one by one would take a while.
    const std::string comment = describe(options);
    const ObjWriteSettings settings = writeSettings(base, comment, request.threads);
    const std::vector<FaceMaterial> materials = levelMaterials(level, options);
    if (toStandardOutput) {
        return writeToStream(surface.model, materials, settings, stdout, "standard output");
    }
    if (isWrittenInPlace(options.outputPath)) {
        return writeToStream(surface.model, materials, settings,
                             std::fopen(options.outputPath, "wb"), options.outputPath);
    }
    return writeToFiles(surface.model, materials, options, settings);
}
