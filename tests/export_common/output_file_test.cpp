// The model and its material library are put in place as one: when the library cannot take
// its place, the model file that was there before is put back, and no temporary file stays.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "output_file.h"

namespace {

std::string contentsOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const char* text) {
    std::ofstream(path, std::ios::binary) << text;
}

class PairOfFiles : public testing::TestWithParam<bool> {};

// The library's target turns into a folder after both files were opened aside, so that only
// the second rename fails.
TEST_P(PairOfFiles, IsPutInPlaceBothOrNeither) {
    const bool modelExisted = GetParam();
    const std::string folder =
        testing::TempDir() + "pair_" + std::to_string(getpid()) + (modelExisted ? "_old" : "_new");
    ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
    const std::string obj = folder + "/m.obj", mtl = folder + "/m.mtl";
    if (modelExisted) writeFile(obj, "old model\n");
    writeFile(mtl, "old library\n");
    AsideFile model, library;
    ASSERT_TRUE(openAside(model, obj));
    ASSERT_TRUE(openAside(library, mtl));
    std::fputs("new model\n", model.stream);
    std::fputs("new library\n", library.stream);
    ASSERT_EQ(std::remove(mtl.c_str()), 0);
    ASSERT_EQ(mkdir(mtl.c_str(), 0777), 0);

    EXPECT_EQ(commitPair(model, library), PairCommit::neither);
    if (modelExisted) {
        EXPECT_EQ(contentsOf(obj), "old model\n");
    } else {
        EXPECT_NE(access(obj.c_str(), F_OK), 0) << "the new model is taken back";
    }
    ASSERT_EQ(rmdir(mtl.c_str()), 0);
    std::remove(obj.c_str());
    EXPECT_EQ(rmdir(folder.c_str()), 0) << "a temporary file stayed in " << folder;
}

INSTANTIATE_TEST_SUITE_P(ModelFile, PairOfFiles, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& row) {
                             return row.param ? "existed" : "was_new";
                         });

}  // namespace
