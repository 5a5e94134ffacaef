// Entry point of subdivo-export: loads an OBJ model with Subdivo's loader, optionally fits it
// into Subdivo's start view, builds the asked subdivision level with Subdivo's level driver
// and writes it as an OBJ file (with its material library) or to standard output.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "export_command_line.h"
#include "export_progress.h"
#include "face_materials.h"
#include "model_fit.h"
#include "model_size.h"
#include "obj_loader.h"
#include "obj_writer.h"
#include "output_file.h"
#include "subdivision_level.h"

namespace {

constexpr int exitWritten = 0, exitFailed = 1, exitUsage = 2;

int usageFailure(const std::string& message) {
    std::fprintf(stderr, "subdivo-export: %s (see subdivo-export --help)\n", message.c_str());
    return exitUsage;
}

int failure(const std::string& message) {
    endProgress();
    std::fprintf(stderr, "subdivo-export: %s\n", message.c_str());
    return exitFailed;
}

// The loader reports on standard output, which may be where the OBJ text goes: keeps the
// real standard output aside for the text and sends the report to the error stream, or
// nowhere when quiet. Returns the descriptor kept aside, -1 when that fails.
int keepStandardOutputForText(bool quiet) {
    std::fflush(stdout);
    const int kept = dup(STDOUT_FILENO);
    const int report = quiet ? open("/dev/null", O_WRONLY) : dup(STDERR_FILENO);
    if (kept < 0 || report < 0 || dup2(report, STDOUT_FILENO) < 0) return -1;
    close(report);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    return kept;
}

std::string describe(const ExportOptions& options) {
    std::string text = "subdivo-export: " + fileNameOf(options.modelPath) +
                       " at subdivision level " + std::to_string(options.level);
    return options.fit ? text + ", fitted" : text;
}

void warnOfLeftOutFaces(std::int64_t leftOut) {
    if (leftOut == 0) return;
    std::fprintf(stderr,
                 "subdivo-export: %lld faces of fewer than 3 corners left out: OBJ files "
                 "cannot hold them, and they show nothing.\n",
                 static_cast<long long>(leftOut));
}

// Writes the text straight into an open stream (standard output, a device, a pipe), where no
// material library can go beside it; `name` is the stream's name for messages.
int writeToStream(const ObjModel& model, const ExportOptions& options, std::FILE* out,
                  const std::string& name) {
    if (out == nullptr) return failure("cannot write " + name + ": " + std::strerror(errno));
    const std::string comment = describe(options);
    ObjWriteSettings settings;
    settings.comment = comment.c_str();
    settings.progress = reportWriting;
    const ObjWriteResult result = writeObjText(model, faceMaterials(model), settings, out);
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

// Writes both files aside, then puts the model in place, and its material library after it:
// a target that cannot be replaced (a folder, say) then leaves no file at all.
int writeToFiles(const ObjModel& model, const ExportOptions& options) {
    const std::string objPath = resolvedTarget(options.outputPath);
    const std::string mtlPath = materialLibraryPath(objPath);
    const std::vector<FaceMaterial> materials = faceMaterials(model);
    AsideFile obj, mtl;
    if (!openAside(obj, objPath)) return failedFile(objPath, obj, mtl);
    if (!openAside(mtl, mtlPath)) return failedFile(mtlPath, obj, mtl);
    if (!writeMaterialLibrary(materials, mtl.stream)) return failedFile(mtlPath, obj, mtl);
    const std::string comment = describe(options);
    const std::string library = fileNameOf(mtlPath);
    ObjWriteSettings settings;
    settings.comment = comment.c_str();
    settings.materialLibrary = library.c_str();
    settings.progress = reportWriting;
    const ObjWriteResult result = writeObjText(model, materials, settings, obj.stream);
    if (!result.written) return failedFile(objPath, obj, mtl);
    if (!commitAside(obj)) return failedFile(objPath, obj, mtl);
    if (!commitAside(mtl)) return failedFile(mtlPath, obj, mtl);
    endProgress();
    warnOfLeftOutFaces(result.facesLeftOut);
    return exitWritten;
}

}  // namespace

int main(int argc, char** argv) {
    ExportOptions options;
    const CommandLineResult read = readExportCommandLine(argc, argv, options);
    switch (read.action) {
        case CommandLineAction::showHelp: std::fputs(exportHelpText(), stdout); return exitWritten;
        case CommandLineAction::showVersion:
            std::fputs(exportVersionLine(), stdout);
            return exitWritten;
        case CommandLineAction::usageError: return usageFailure(read.error);
        case CommandLineAction::exportModel: break;
    }
    const bool toStandardOutput = writesToStandardOutput(options);
    if (toStandardOutput && isatty(STDOUT_FILENO) == 1) {
        return usageFailure(
            "standard output is a terminal: name the file to write with -o FILE, "
            "or redirect the output");
    }
    const int textDescriptor = keepStandardOutputForText(options.quiet);
    if (textDescriptor < 0) return failure(std::string("standard output: ") + std::strerror(errno));
    removeAsideFilesOnSignals();
    startProgress(!options.quiet);

    ObjModel base{};
    if (!loadObjFile(options.modelPath, &base)) {
        return failure(std::string(options.modelPath) + " not loaded; nothing written");
    }
    if (options.fit) fitModel(base);
    ObjModel* subdivided = new ObjModel{};
    if (!applySubdivisionLevel(base, subdivided, options.level, memoryBudgetBytes(), reportStep)) {
        endProgress();
        return exitFailed;  // the driver has said why
    }
    const ObjModel& model = options.level == 0 ? base : *subdivided;
    // The models stay until the end: the system takes their memory back at exit at once,
    // where releasing millions of index lists one by one would take a while.
    if (toStandardOutput) {
        return writeToStream(model, options, fdopen(textDescriptor, "wb"), "standard output");
    }
    close(textDescriptor);
    if (isSpecialFile(options.outputPath)) {
        return writeToStream(model, options, std::fopen(options.outputPath, "wb"),
                             options.outputPath);
    }
    return writeToFiles(model, options);
}
