// Replays every kept fuzz input (the seed corpus and the inputs that once failed) through the
// fuzzer's own path, OBJ loader then two subdivision levels, in the normal build. Under the
// sanitizers any fault shows; elsewhere a crash fails the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "obj_subdivision_path.h"

namespace {

std::vector<std::filesystem::path> keptInputs(const char* folder) {
    std::vector<std::filesystem::path> inputs;
    const std::filesystem::path root = std::filesystem::path(FUZZ_FOLDER) / folder;
    for (const auto& entry : std::filesystem::directory_iterator(root)) {
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
            inputs.push_back(entry.path());
        }
    }
    return inputs;
}

void replay(const std::filesystem::path& input) {
    std::ifstream file(input, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    loadAndSubdivide(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
}

}  // namespace

TEST(FuzzInputs, OfTheSeedCorpusLoadAndSubdivide) {
    const std::vector<std::filesystem::path> inputs = keptInputs("corpus");
    EXPECT_GE(inputs.size(), 5u);
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.filename().string());
        replay(input);
    }
}

TEST(FuzzInputs, ThatOnceFailedNoLongerDo) {
    for (const auto& input : keptInputs("crashes")) {
        SCOPED_TRACE(input.filename().string());
        replay(input);
    }
}
