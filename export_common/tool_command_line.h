// What the two export tools' command lines share: getopt_long's scan restarted and silenced,
// the argument a usage error names, whole numbers as option values, the one operand, and the
// single line with which each tool fails, with its exit status. Each tool keeps its own option
// table and help text.
#pragma once

#include <string>

constexpr int exitWritten = 0, exitFailed = 1, exitUsage = 2;

// Restarts getopt_long's scan (glibc then forgets the scan of an earlier call as well) and
// silences its own messages, so that every usage error reads the same way and names the
// argument at fault. Call before the first getopt_long of each reading.
void startOptionScan();

// A whole decimal number from `lowest` (0 or more) up, written alone: no sign, no blank.
bool readWholeNumber(const char* text, int lowest, int& value);

// The usage errors of getopt_long's ':' (a value missing) and '?' (an unknown option), naming
// the argument as the user typed it; an unknown short option alone, even from a cluster as -qx.
std::string missingValueError(char** argv);
std::string unknownOptionError(char** argv);

// The usage error when the operands after the options are not exactly one `noun` ("model",
// "curve file"); empty when they are.
std::string oneOperandError(int argc, char** argv, const char* noun);

// "PROGRAM: MESSAGE (see PROGRAM --help)" on the error stream; gives exitUsage.
int printUsageFailure(const char* program, const std::string& message);
// "PROGRAM: MESSAGE" on the error stream; gives exitFailed.
int printFailure(const char* program, const std::string& message);

// True when the output would go to standard output and that is a terminal, which a tool
// refuses with terminalRefusal as its usage error.
bool writesIntoTerminal(bool toStandardOutput);
extern const char* const terminalRefusal;

// Prints the text of --help or the line of --version on standard output; gives exitWritten.
int showText(const char* text);
