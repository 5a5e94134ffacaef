// The command line of revolva-export: GNU-style options read into a plain record, the help text
// and the version line. Reading prints nothing; the caller reports and ends.
#pragma once

#include <string>

#include "surface_mesh.h"

enum class MeshFormat { unnamed, obj, stl };

struct RevolvaExportOptions {
    const char* curvePath = nullptr;   // "-": standard input
    const char* outputPath = nullptr;  // null or "-": standard output
    MeshFormat format = MeshFormat::unnamed;
    MeshSettings mesh;    // sample counts from Revolva's start values
    double size = 100.0;  // STL: largest extent in millimetres
    bool sizeGiven = false;
    bool quiet = false;
};

enum class RevolvaExportAction { exportMesh, showHelp, showVersion, usageError };

struct RevolvaCommandLine {
    RevolvaExportAction action;
    std::string error;  // for usageError: one line, without the program name or newline
};

// Reads the arguments (argv[0] the program) into `options`, and settles the format: --format,
// else the output name's extension (.obj or .stl, any case), else OBJ on standard output.
// Restarts getopt_long's scan, so it may be called more than once in a process.
RevolvaCommandLine readRevolvaCommandLine(int argc, char** argv, RevolvaExportOptions& options);

// True when the mesh goes to standard output rather than to a named file.
bool meshToStandardOutput(const RevolvaExportOptions& options);

const char* revolvaExportHelpText();
const char* revolvaExportVersionLine();
