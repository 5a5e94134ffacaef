// The command line of subdivo-export: GNU-style options read into a plain record, the help
// text and the version line. Reading prints nothing; the caller reports and ends.
#pragma once

#include <string>

#include "refinement_scheme.h"

struct ExportOptions {
    const char* modelPath = nullptr;
    const char* outputPath = nullptr;  // null or "-": standard output
    int level = 1;
    bool fit = false;
    bool quiet = false;
    bool normals = true;  // the written surface's own normals, one per vertex
    SchemeKind scheme = SchemeKind::dooSabin;
    bool stats = false;  // a line per level on the error stream
    int threads = 0;     // threads a step and the writing split their work over; 0: one per core
};

enum class CommandLineAction { exportModel, showHelp, showVersion, usageError };

struct CommandLineResult {
    CommandLineAction action;
    std::string error;  // for usageError: one line, without the program name or newline
};

// Reads the arguments (argv[0] the program) into `options`. Uses getopt_long, whose scan it
// restarts, so it may be called more than once in a process.
CommandLineResult readExportCommandLine(int argc, char** argv, ExportOptions& options);

// True when the OBJ text goes to standard output rather than to a named file.
bool writesToStandardOutput(const ExportOptions& options);

// The text of --help, and the line of --version.
const char* exportHelpText();
const char* exportVersionLine();
