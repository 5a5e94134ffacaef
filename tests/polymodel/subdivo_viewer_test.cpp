// Subdivo's key commands as changes of the program state, the model each frame shows, and the
// command line's three cases.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "obj_loader.h"
#include "obj_test_files.h"
#include "subdivo_command_line.h"
#include "subdivo_viewer.h"

namespace {

const char* const cubeText =
    "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
    "vn 0 0 1\nvn 0 0 -1\nvn 1 0 0\nvn -1 0 0\nvn 0 1 0\nvn 0 -1 0\n"
    "f 5//1 6//1 7//1 8//1\nf 1//2 4//2 3//2 2//2\nf 2//3 3//3 7//3 6//3\n"
    "f 1//4 5//4 8//4 4//4\nf 4//5 8//5 7//5 3//5\nf 1//6 2//6 6//6 5//6\n";

// Levels the stub driver was asked for, and whether it accepts them.
std::vector<int> requestedLevels;
bool driverAccepts = true;

bool stubDriver(const ObjModel&, ObjModel*&, int level) {
    requestedLevels.push_back(level);
    return driverAccepts;
}

// Puts the program state back to its start values around every test, with fresh records.
class SubdivoState : public testing::Test {
   protected:
    void SetUp() override {
        createModelRecords();
        subdivisionLevel = 0;
        displaySwitches = DisplaySwitches{};
        requestedLevels.clear();
        driverAccepts = true;
    }
    void TearDown() override {
        freeModelArrays(baseModel);
        freeModelArrays(subdividedModel);
        delete baseModel;
        delete subdividedModel;
    }
    void loadCube() { ASSERT_TRUE(loadText(cubeText, baseModel).loaded); }
    void press(const std::string& keys, LevelDriver driver) {
        for (char key : keys)
            performKeyCommand(keyCommand(static_cast<unsigned char>(key)), driver);
    }
    void press(const std::string& keys) {
        for (char key : keys) performKeyCommand(keyCommand(static_cast<unsigned char>(key)));
    }
};

int facesOfColor(const ObjModel& model, float r, float g, float b) {
    int count = 0;
    for (int f = 0; f < model.numFaces; ++f) {
        const float* c = model.faces[f].color;
        if (c[0] == r && c[1] == g && c[2] == b) ++count;
    }
    return count;
}

}  // namespace

// ---- Key bindings -------------------------------------------------------------------------------

TEST(KeyBindings, BothCharactersOfAKeyGiveTheSameCommand) {
    const struct {
        unsigned char first, second;
        KeyCommand command;
    } bindings[] = {
        {'+', '=', KeyCommand::raiseLevel},     {'-', '_', KeyCommand::lowerLevel},
        {'k', 'K', KeyCommand::toggleCulling},  {'l', 'L', KeyCommand::toggleLighting},
        {'n', 'N', KeyCommand::toggleNormals},  {'w', 'W', KeyCommand::toggleWireframe},
        {'9', '(', KeyCommand::shortenNormals}, {'0', ')', KeyCommand::lengthenNormals},
    };
    for (const auto& binding : bindings) {
        EXPECT_EQ(keyCommand(binding.first), binding.command) << binding.first;
        EXPECT_EQ(keyCommand(binding.second), binding.command) << binding.second;
    }
}

TEST(KeyBindings, EveryOtherKeyIsIgnored) {
    for (unsigned char key : {'a', 'q', 'Q', ' ', '\x1b', '1', '8', '*', '&', '\r', '\xED'})
        EXPECT_EQ(keyCommand(key), KeyCommand::none) << int(key);
}

// ---- Subdivision level ---------------------------------------------------------------------------

TEST_F(SubdivoState, LoweringAtLevelZeroChangesNothing) {
    press("-_", stubDriver);
    EXPECT_EQ(subdivisionLevel, 0);
    EXPECT_TRUE(requestedLevels.empty());
}

TEST_F(SubdivoState, RaisingTwiceAndLoweringOnceRebuildsEachLevelAndLeavesLevelOne) {
    press("+=-", stubDriver);
    EXPECT_EQ(subdivisionLevel, 1);
    EXPECT_EQ(requestedLevels, (std::vector<int>{1, 2, 1}));
    press("_", stubDriver);
    EXPECT_EQ(subdivisionLevel, 0);
}

TEST_F(SubdivoState, RaisingAtTheLargestLevelDoesNothing) {
    subdivisionLevel = INT_MAX - 1;
    press("++", stubDriver);
    EXPECT_EQ(subdivisionLevel, INT_MAX);
    EXPECT_EQ(requestedLevels, (std::vector<int>{INT_MAX}));
}

TEST_F(SubdivoState, ARefusedLevelLeavesTheLevelAsItWas) {
    press("++", stubDriver);
    driverAccepts = false;
    press("+", stubDriver);
    EXPECT_EQ(subdivisionLevel, 2);
    press("-", stubDriver);
    EXPECT_EQ(subdivisionLevel, 2);
    EXPECT_EQ(requestedLevels, (std::vector<int>{1, 2, 3, 1}));
}

TEST_F(SubdivoState, LevelOneOfTheCubeIsOneDooSabinStepAndLevelZeroShowsTheBase) {
    loadCube();
    press("++-");
    ASSERT_EQ(subdivisionLevel, 1);
    EXPECT_EQ(&shownModel(), subdividedModel);
    EXPECT_EQ(subdividedModel->numVertices, 24);
    EXPECT_EQ(subdividedModel->numFaces, 26);
    EXPECT_EQ(facesOfColor(*subdividedModel, 1, 0, 0), 6);
    EXPECT_EQ(facesOfColor(*subdividedModel, 0, 0, 1), 8);
    EXPECT_EQ(facesOfColor(*subdividedModel, 0, 1, 0), 12);
    press("-");
    EXPECT_EQ(subdivisionLevel, 0);
    EXPECT_EQ(&shownModel(), baseModel);
    EXPECT_EQ(baseModel->numFaces, 6);  // the base is never changed
}

TEST_F(SubdivoState, LevelOneOfPolyShowsRedGreenAndBlueFaces) {
    testing::internal::CaptureStdout();
    ASSERT_TRUE(loadObjFile(MODELS_DIR "/poly.obj", baseModel));
    testing::internal::GetCapturedStdout();
    press("+");
    ASSERT_EQ(subdivisionLevel, 1);
    EXPECT_EQ(facesOfColor(*subdividedModel, 1, 0, 0), 11);  // one per face
    EXPECT_EQ(facesOfColor(*subdividedModel, 0, 0, 1), 11);  // one per vertex
    EXPECT_EQ(facesOfColor(*subdividedModel, 0, 1, 0), 20);  // one per edge
}

// ---- Display switches ----------------------------------------------------------------------------

TEST_F(SubdivoState, StartsCulledUnlitFilledWithoutNormalLines) {
    EXPECT_EQ(subdivisionLevel, 0);
    EXPECT_TRUE(displaySwitches.backFaceCulling);
    EXPECT_FALSE(displaySwitches.lightingEnabled);
    EXPECT_FALSE(displaySwitches.wireframe);
    EXPECT_EQ(&shownModel(), baseModel);
}

TEST_F(SubdivoState, EachToggleKeyFlipsItsOwnSwitchOnly) {
    press("k");
    EXPECT_FALSE(displaySwitches.backFaceCulling);
    EXPECT_FALSE(displaySwitches.lightingEnabled);
    press("L");
    EXPECT_TRUE(displaySwitches.lightingEnabled);
    press("n");
    EXPECT_TRUE(displaySwitches.normalLines.showNormals);
    press("W");
    EXPECT_TRUE(displaySwitches.wireframe);
    press("KlNw");
    EXPECT_TRUE(displaySwitches.backFaceCulling);
    EXPECT_FALSE(displaySwitches.lightingEnabled);
    EXPECT_FALSE(displaySwitches.normalLines.showNormals);
    EXPECT_FALSE(displaySwitches.wireframe);
    EXPECT_EQ(subdivisionLevel, 0);
}

TEST_F(SubdivoState, NormalLengthMovesInStepsOfTwoHundredthsWithoutBounds) {
    press("0)");
    EXPECT_NEAR(displaySwitches.normalLines.normalLength, 1.04f, 1e-6f);
    press("9(((");
    EXPECT_NEAR(displaySwitches.normalLines.normalLength, 0.96f, 1e-6f);
    for (int i = 0; i < 60; ++i) press("9");
    // Below zero: the lines point into the surface.
    EXPECT_NEAR(displaySwitches.normalLines.normalLength, -0.24f, 1e-5f);
}

// ---- Command line ------------------------------------------------------------------------------

TEST(CommandLine, NoArgumentPrintsTheUsageAndLoadsPolyObj) {
    char program[] = "Subdivo";
    char* argv[] = {program, nullptr};
    testing::internal::CaptureStdout();
    const char* path = modelPathFromArguments(1, argv);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Formato: Subdivo.exe <Modelo.obj>\n"
              "Faltando <Modelo.obj>: Carregando modelo padrao poly.obj...\n");
    EXPECT_STREQ(path, "poly.obj");
}

TEST(CommandLine, OneArgumentNamesTheModel) {
    char program[] = "Subdivo", model[] = "models/torus.obj";
    char* argv[] = {program, model, nullptr};
    testing::internal::CaptureStdout();
    const char* path = modelPathFromArguments(2, argv);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Modelo: models/torus.obj\n");
    EXPECT_STREQ(path, "models/torus.obj");
}

TEST(CommandLine, MoreArgumentsAreRefused) {
    char program[] = "Subdivo", a[] = "a.obj", b[] = "b.obj";
    char* argv[] = {program, a, b, nullptr};
    testing::internal::CaptureStdout();
    EXPECT_EQ(modelPathFromArguments(3, argv), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Erro: Muitos argumentos\n");
}
