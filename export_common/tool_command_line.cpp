#include "tool_command_line.h"

#include <getopt.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

// The argument getopt_long has just stopped at, as the user typed it.
std::string lastArgument(char** argv) { return argv[optind - 1]; }

}  // namespace

const char* const terminalRefusal =
    "standard output is a terminal: name the file to write with -o FILE, or redirect the output";

void startOptionScan() {
    optind = 0;  // 0, not 1: glibc then forgets the scan of an earlier call as well
    opterr = 0;
}

bool readWholeNumber(const char* text, int lowest, int& value) {
    if (text[0] < '0' || text[0] > '9') return false;
    char* end = nullptr;
    errno = 0;
    const long read = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || read > INT_MAX || read < lowest) return false;
    value = static_cast<int>(read);
    return true;
}

std::string missingValueError(char** argv) {
    return "option '" + lastArgument(argv) + "' needs a value";
}

// A long option given a value it does not take leaves its own code (256 and up) in optopt:
// that one is named as typed.
std::string unknownOptionError(char** argv) {
    if (optopt != 0 && optopt < 256)
        return std::string("unknown option '-") + static_cast<char>(optopt) + "'";
    return "unknown option '" + lastArgument(argv) + "'";
}

std::string oneOperandError(int argc, char** argv, const char* noun) {
    if (optind == argc) return std::string("no ") + noun + " named";
    if (argc - optind > 1)
        return std::string("one ") + noun + " only; '" + argv[optind + 1] + "' is one too many";
    return {};
}

int printUsageFailure(const char* program, const std::string& message) {
    std::fprintf(stderr, "%s: %s (see %s --help)\n", program, message.c_str(), program);
    return exitUsage;
}

int printFailure(const char* program, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", program, message.c_str());
    return exitFailed;
}

bool writesIntoTerminal(bool toStandardOutput) {
    return toStandardOutput && isatty(STDOUT_FILENO) == 1;
}

int showText(const char* text) {
    std::fputs(text, stdout);
    return exitWritten;
}
