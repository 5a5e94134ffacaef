// The command line of subdivo-export, one row per way of writing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "export_command_line.h"

namespace {

struct CommandLineCase {
    std::vector<const char*> arguments;  // after the program name
    CommandLineAction action;
    int level;
    const char* output;
    bool fit, quiet;
    const char* errorText;  // for usage errors
};

std::ostream& operator<<(std::ostream& out, const CommandLineCase& c) {
    out << "subdivo-export";
    for (const char* argument : c.arguments) out << ' ' << argument;
    return out;
}

class ExportCommandLine : public testing::TestWithParam<CommandLineCase> {};

TEST_P(ExportCommandLine, ReadsAsExpected) {
    const CommandLineCase& c = GetParam();
    std::vector<std::string> storage = {"subdivo-export"};
    for (const char* argument : c.arguments) storage.emplace_back(argument);
    std::vector<char*> argv;
    for (std::string& argument : storage) argv.push_back(argument.data());
    argv.push_back(nullptr);

    ExportOptions options;
    const CommandLineResult result =
        readExportCommandLine(int(storage.size()), argv.data(), options);
    ASSERT_EQ(result.action, c.action) << result.error;
    if (c.action == CommandLineAction::usageError) {
        EXPECT_EQ(result.error, c.errorText);
        return;
    }
    if (c.action != CommandLineAction::exportModel) return;
    EXPECT_STREQ(options.modelPath, "m.obj");
    EXPECT_EQ(options.level, c.level);
    EXPECT_EQ(options.outputPath == nullptr ? std::string("<none>") : options.outputPath, c.output);
    EXPECT_EQ(options.fit, c.fit);
    EXPECT_EQ(options.quiet, c.quiet);
    const bool noNormals =
        std::find(storage.begin(), storage.end(), "--no-normals") != storage.end();
    EXPECT_EQ(options.normals, !noNormals);
}

using A = CommandLineAction;
// The table keeps one case per line or two, as written.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Rows, ExportCommandLine,
    testing::Values(
        CommandLineCase{{"m.obj"}, A::exportModel, 1, "<none>", false, false, ""},
        CommandLineCase{{"-l", "3", "m.obj"}, A::exportModel, 3, "<none>", false, false, ""},
        CommandLineCase{{"m.obj", "--level=0", "-o", "x.obj"}, A::exportModel, 0, "x.obj", false,
                        false, ""},
        CommandLineCase{{"-ql2", "--fit", "--output", "-", "m.obj"}, A::exportModel, 2, "-", true,
                        true, ""},
        CommandLineCase{{"--level", "07", "m.obj", "-o", "y.obj"}, A::exportModel, 7, "y.obj",
                        false, false, ""},
        CommandLineCase{{"--", "m.obj"}, A::exportModel, 1, "<none>", false, false, ""},
        CommandLineCase{{"--no-normals", "m.obj"}, A::exportModel, 1, "<none>", false, false, ""},
        CommandLineCase{{"m.obj", "--help"}, A::showHelp, 0, "", false, false, ""},
        CommandLineCase{{"-h"}, A::showHelp, 0, "", false, false, ""},
        CommandLineCase{{"--version", "m.obj"}, A::showVersion, 0, "", false, false, ""},
        CommandLineCase{{}, A::usageError, 0, "", false, false, "no model named"},
        CommandLineCase{{"a.obj", "b.obj"}, A::usageError, 0, "", false, false,
                        "one model only; 'b.obj' is one too many"},
        CommandLineCase{{"-x", "m.obj"}, A::usageError, 0, "", false, false,
                        "unknown option '-x'"},
        CommandLineCase{{"--threads", "0", "m.obj"}, A::usageError, 0, "", false, false,
                        "the threads must be a whole number from 1 up, not '0'"},
        CommandLineCase{{"-qx", "m.obj"}, A::usageError, 0, "", false, false,
                        "unknown option '-x'"},
        CommandLineCase{{"--levels=2", "m.obj"}, A::usageError, 0, "", false, false,
                        "unknown option '--levels=2'"},
        CommandLineCase{{"m.obj", "-l"}, A::usageError, 0, "", false, false,
                        "option '-l' needs a value"},
        CommandLineCase{{"m.obj", "--output"}, A::usageError, 0, "", false, false,
                        "option '--output' needs a value"},
        CommandLineCase{{"-o", "", "m.obj"}, A::usageError, 0, "", false, false,
                        "the output file name is empty"},
        CommandLineCase{{"-l", "-1", "m.obj"}, A::usageError, 0, "", false, false,
                        "the level must be a whole number from 0 up, not '-1'"},
        CommandLineCase{{"--level=2.5", "m.obj"}, A::usageError, 0, "", false, false,
                        "the level must be a whole number from 0 up, not '2.5'"},
        CommandLineCase{{"-l", "", "m.obj"}, A::usageError, 0, "", false, false,
                        "the level must be a whole number from 0 up, not ''"},
        CommandLineCase{{"-l", "99999999999", "m.obj"}, A::usageError, 0, "", false, false,
                        "the level must be a whole number from 0 up, not '99999999999'"}));
// clang-format on

}  // namespace
