// The options of subdivo-export; the reading they share with revolva-export is in
// tool_command_line.
#include "export_command_line.h"

#include <getopt.h>

#include <cstring>
#include <utility>

#include "tool_command_line.h"

#ifndef SUBDIVO_EXPORT_VERSION
#define SUBDIVO_EXPORT_VERSION "unversioned"
#endif

namespace {

enum LongOnly {
    fitOption = 256,
    noNormalsOption,
    versionOption,
    schemeOption,
    statsOption,
    threadsOption
};

const option longOptions[] = {
    {"level", required_argument, nullptr, 'l'},
    {"output", required_argument, nullptr, 'o'},
    {"fit", no_argument, nullptr, fitOption},
    {"no-normals", no_argument, nullptr, noNormalsOption},
    {"quiet", no_argument, nullptr, 'q'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, versionOption},
    {"scheme", required_argument, nullptr, schemeOption},
    {"stats", no_argument, nullptr, statsOption},
    {"threads", required_argument, nullptr, threadsOption},
    {nullptr, 0, nullptr, 0},
};

CommandLineResult usageError(std::string message) {
    return {CommandLineAction::usageError, std::move(message)};
}

}  // namespace

CommandLineResult readExportCommandLine(int argc, char** argv, ExportOptions& options) {
    startOptionScan();
    for (;;) {
        const int option = getopt_long(argc, argv, ":l:o:qh", longOptions, nullptr);
        if (option == -1) break;
        switch (option) {
            case 'l':
                if (!readWholeNumber(optarg, 0, options.level)) {
                    return usageError(
                        std::string("the level must be a whole number from 0 up, not '") + optarg +
                        "'");
                }
                break;
            case 'o':
                if (*optarg == '\0') return usageError("the output file name is empty");
                options.outputPath = optarg;
                break;
            case fitOption: options.fit = true; break;
            case noNormalsOption: options.normals = false; break;
            case 'q': options.quiet = true; break;
            case schemeOption:
                if (!schemeByName(optarg, options.scheme)) {
                    return usageError(std::string("the scheme must be doo-sabin, catmull-clark or "
                                                  "loop, not '") +
                                      optarg + "'");
                }
                break;
            case statsOption: options.stats = true; break;
            case threadsOption:
                if (!readWholeNumber(optarg, 1, options.threads)) {
                    return usageError(
                        std::string("the threads must be a whole number from 1 up, not '") +
                        optarg + "'");
                }
                break;
            case 'h': return {CommandLineAction::showHelp, {}};
            case versionOption: return {CommandLineAction::showVersion, {}};
            case ':': return usageError(missingValueError(argv));
            default: return usageError(unknownOptionError(argv));
        }
    }
    const std::string operandError = oneOperandError(argc, argv, "model");
    if (!operandError.empty()) return usageError(operandError);
    options.modelPath = argv[optind];
    return {CommandLineAction::exportModel, {}};
}

bool writesToStandardOutput(const ExportOptions& options) {
    return options.outputPath == nullptr || std::strcmp(options.outputPath, "-") == 0;
}

const char* exportHelpText() {
    return "Usage: subdivo-export [OPTION]... MODEL.obj\n"
           "Writes a subdivision level of an OBJ model as an OBJ file (by default Doo-Sabin's,\n"
           "the same mesh that Subdivo shows at that level), with the kinds of faces as\n"
           "materials, the surface's own normals and the model's texture coordinates carried\n"
           "along.\n"
           "\n"
           "  -l, --level N      the level to write (default 1; 0: the model as loaded)\n"
           "  -o, --output FILE  write FILE and its material library beside it (FILE with\n"
           "                     .mtl), both or neither; a device or pipe (/dev/stdout) gets\n"
           "                     the OBJ alone; without -o, or with '-', the OBJ goes to\n"
           "                     standard output, which must then not be a terminal\n"
           "      --fit          first move the centre of the model's bounding box to the\n"
           "                     origin and scale the model to a largest extent of 2 units\n"
           "      --scheme NAME  doo-sabin (default), catmull-clark (any polygons in, quads\n"
           "                     out) or loop (triangles only)\n"
           "      --no-normals   write no normals (\"vn\" lines)\n"
           "      --stats        a line per level on the error stream: vertices, edges,\n"
           "                     faces by kind, Euler characteristic, the step's time and\n"
           "                     the peak memory so far\n"
           "      --threads N    split each subdivision step and the writing of the file\n"
           "                     over N threads (default: one per core); the file is the\n"
           "                     same for every N\n"
           "  -q, --quiet        no loader report and no progress on the error stream\n"
           "  -h, --help         show this help and end\n"
           "      --version      show the version and end\n"
           "\n"
           "Exit status: 0 written; 1 model not loaded, nothing to subdivide, level refused\n"
           "(for loop: a face that is not a triangle) or output failed (no file is then\n"
           "changed); 2 wrong command line.\n";
}

const char* exportVersionLine() { return "subdivo-export " SUBDIVO_EXPORT_VERSION "\n"; }
