// The options of revolva-export; the reading they share with subdivo-export is in
// tool_command_line.
#include "revolva_command_line.h"

#include <getopt.h>
#include <strings.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "editor_state.h"
#include "tool_command_line.h"

#ifndef REVOLVA_EXPORT_VERSION
#define REVOLVA_EXPORT_VERSION "unversioned"
#endif

namespace {

enum LongOnly {
    curveSamplesOption = 256,
    turnSamplesOption,
    roundOption,
    capsOption,
    flipOption,
    sizeOption,
    formatOption,
    versionOption
};

const option longOptions[] = {
    {"output", required_argument, nullptr, 'o'},
    {"format", required_argument, nullptr, formatOption},
    {"curve-samples", required_argument, nullptr, curveSamplesOption},
    {"turn-samples", required_argument, nullptr, turnSamplesOption},
    {"round", no_argument, nullptr, roundOption},
    {"caps", no_argument, nullptr, capsOption},
    {"flip", no_argument, nullptr, flipOption},
    {"size", required_argument, nullptr, sizeOption},
    {"quiet", no_argument, nullptr, 'q'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, versionOption},
    {nullptr, 0, nullptr, 0},
};

// A positive finite number of millimetres, written alone.
bool readSize(const char* text, double& size) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !std::isfinite(value) || !(value > 0.0))
        return false;
    size = value;
    return true;
}

bool endsWith(const char* text, const char* ending) {
    const std::size_t length = std::strlen(text), tail = std::strlen(ending);
    return length >= tail && strcasecmp(text + length - tail, ending) == 0;
}

RevolvaCommandLine usageError(std::string message) {
    return {RevolvaExportAction::usageError, std::move(message)};
}

std::string countError(const char* name, int lowest, const char* text) {
    return std::string("--") + name + " must be a whole number from " + std::to_string(lowest) +
           " up, not '" + text + "'";
}

// Settles the format from --format or the output's name; an error text when it cannot be.
std::string settleFormat(RevolvaExportOptions& options) {
    if (options.format == MeshFormat::unnamed) {
        if (meshToStandardOutput(options) || endsWith(options.outputPath, ".obj"))
            options.format = MeshFormat::obj;
        else if (endsWith(options.outputPath, ".stl"))
            options.format = MeshFormat::stl;
        else
            return std::string("cannot tell the format of '") + options.outputPath +
                   "': name it .obj or .stl, or give --format";
    }
    if (options.sizeGiven && options.format != MeshFormat::stl)
        return "--size applies to STL only: an OBJ keeps the curve's own units";
    return {};
}

}  // namespace

RevolvaCommandLine readRevolvaCommandLine(int argc, char** argv, RevolvaExportOptions& options) {
    const EditorState start;
    options.mesh.curveSamples = start.curveSampleCount;
    options.mesh.turnSamples = start.revolutionSampleCount;
    startOptionScan();
    for (;;) {
        const int option = getopt_long(argc, argv, ":o:qh", longOptions, nullptr);
        if (option == -1) break;
        switch (option) {
            case 'o': options.outputPath = optarg; break;
            case formatOption:
                if (strcasecmp(optarg, "obj") == 0)
                    options.format = MeshFormat::obj;
                else if (strcasecmp(optarg, "stl") == 0)
                    options.format = MeshFormat::stl;
                else
                    return usageError(std::string("--format is obj or stl, not '") + optarg + "'");
                break;
            case curveSamplesOption:
                if (!readWholeNumber(optarg, minCurveSampleCount, options.mesh.curveSamples))
                    return usageError(countError("curve-samples", minCurveSampleCount, optarg));
                break;
            case turnSamplesOption:
                if (!readWholeNumber(optarg, minRevolutionSampleCount, options.mesh.turnSamples))
                    return usageError(countError("turn-samples", minRevolutionSampleCount, optarg));
                break;
            case roundOption: options.mesh.round = true; break;
            case capsOption: options.mesh.caps = true; break;
            case flipOption: options.mesh.flip = true; break;
            case sizeOption:
                if (!readSize(optarg, options.size))
                    return usageError(std::string("--size must be a number of millimetres "
                                                  "above 0, not '") +
                                      optarg + "'");
                options.sizeGiven = true;
                break;
            case 'q': options.quiet = true; break;
            case 'h': return {RevolvaExportAction::showHelp, {}};
            case versionOption: return {RevolvaExportAction::showVersion, {}};
            case ':': return usageError(missingValueError(argv));
            default: return usageError(unknownOptionError(argv));
        }
    }
    const std::string operandError = oneOperandError(argc, argv, "curve file");
    if (!operandError.empty()) return usageError(operandError);
    options.curvePath = argv[optind];
    const std::string formatError = settleFormat(options);
    if (!formatError.empty()) return usageError(formatError);
    return {RevolvaExportAction::exportMesh, {}};
}

bool meshToStandardOutput(const RevolvaExportOptions& options) {
    return options.outputPath == nullptr || std::strcmp(options.outputPath, "-") == 0;
}

const char* revolvaExportHelpText() {
    return "Usage: revolva-export [OPTION]... CURVE\n"
           "Writes the surface that Revolva sweeps from the curve file CURVE ('-': standard\n"
           "input) as a triangle mesh: Wavefront OBJ with the surface's normals, or binary STL\n"
           "for a printer. Reports the vertices, the triangles and whether the mesh is closed:\n"
           "a solid, or else why not.\n"
           "\n"
           "  -o, --output FILE      write FILE (.obj or .stl); without it, or with '-', the\n"
           "                         mesh goes to standard output, which must not be a terminal\n"
           "      --format FORMAT    obj or stl, whatever the output's name\n"
           "      --curve-samples N  samples along the curve (default 10, at least 2)\n"
           "      --turn-samples M   samples around the axis, the first repeated at the end\n"
           "                         (default 10, at least 5)\n"
           "      --round            each quarter turn an exact circular arc instead of the\n"
           "                         slightly bulging turn that Revolva shows\n"
           "      --caps             close the ends of the curve that are off the axis: a flat\n"
           "                         disc at each, or else one band joining them, whichever\n"
           "                         makes a solid; if none does, the mesh stays open\n"
           "      --flip             turn the surface upside down (half a turn about the x\n"
           "                         axis), so that a solid on its tip stands on its base\n"
           "      --size MM          STL: scale to a largest extent of MM millimetres (100)\n"
           "  -q, --quiet            no report on the error stream (errors still show)\n"
           "  -h, --help             show this help and end\n"
           "      --version          show the version and end\n"
           "\n"
           "Exit status: 0 written, 1 curve not read or output failed, 2 wrong command line.\n";
}

const char* revolvaExportVersionLine() { return "revolva-export " REVOLVA_EXPORT_VERSION "\n"; }
