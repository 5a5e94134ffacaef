// Reading the light and material controls: file order, free layout, and the formatted-input
// failure rules (a failed number and everything after it leave their values alone).
#include "controls_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// All 29 values in file order.
std::vector<float> allControls() {
    std::vector<float> values;
    for (const float* array : {materialAmbient, materialDiffuse, materialSpecular})
        values.insert(values.end(), array, array + 4);
    values.push_back(materialShininess[0]);
    for (const float* array : {lightPosition, lightAmbient, lightDiffuse, lightSpecular})
        values.insert(values.end(), array, array + 4);
    return values;
}

void setAllControls(float value) {
    for (float* array : {materialAmbient, materialDiffuse, materialSpecular, lightPosition,
                         lightAmbient, lightDiffuse, lightSpecular})
        for (int k = 0; k < 4; ++k) array[k] = value;
    materialShininess[0] = value;
}

// "1 2 3 ... count" joined by the separator.
std::string numbered(int first, int count, const std::string& separator) {
    std::string text;
    for (int k = 0; k < count; ++k) text += std::to_string(first + k) + separator;
    return text;
}

std::vector<float> sequence(int first, int count) {
    std::vector<float> values;
    for (int k = 0; k < count; ++k) values.push_back(static_cast<float>(first + k));
    return values;
}

int readText(const std::string& text) {
    std::istringstream in(text);
    return readControls(in);
}

class ControlsFile : public ::testing::Test {
   protected:
    void SetUp() override { setAllControls(0.0f); }
    void TearDown() override {
        setAllControls(0.0f);
        std::remove(path.c_str());
    }
    void writeFile(const std::string& text) { std::ofstream(path) << text; }
    std::string path = ::testing::TempDir() + "controles_test.txt";
};

}  // namespace

TEST_F(ControlsFile, NumbersFillMaterialThenLightInFileOrder) {
    EXPECT_EQ(readText(numbered(1, 29, " ")), 29);
    EXPECT_EQ(materialAmbient[0], 1.0f);
    EXPECT_EQ(materialShininess[0], 13.0f);
    EXPECT_EQ(lightPosition[0], 14.0f);
    EXPECT_EQ(lightSpecular[3], 29.0f);
    EXPECT_EQ(allControls(), sequence(1, 29));
}

TEST_F(ControlsFile, LayoutOverLinesIsFree) {
    for (const std::string separator : {"\n", " \t ", "\r\n"}) {
        setAllControls(0.0f);
        readText(numbered(1, 29, separator));
        EXPECT_EQ(allControls(), sequence(1, 29)) << "separator " << separator.size();
    }
    setAllControls(0.0f);
    std::string fourPerLine;
    for (int k = 1; k <= 29; ++k) fourPerLine += std::to_string(k) + (k % 4 == 0 ? "\n" : " ");
    readText(fourPerLine);
    EXPECT_EQ(allControls(), sequence(1, 29));
}

TEST_F(ControlsFile, AcceptsSignsDecimalsAndExponentsWithoutFinalLineBreak) {
    readText("-1 0.8 2e1 +.5 " + numbered(5, 24, " ") + "1.5E-1");
    EXPECT_EQ(materialAmbient[0], -1.0f);
    EXPECT_EQ(materialAmbient[1], 0.8f);
    EXPECT_EQ(materialAmbient[2], 20.0f);
    EXPECT_EQ(materialAmbient[3], 0.5f);
    EXPECT_EQ(lightSpecular[3], 0.15f);
}

TEST_F(ControlsFile, ThirteenNumbersSetTheMaterialAndKeepTheLight) {
    setAllControls(7.0f);
    EXPECT_EQ(readText(numbered(1, 13, " ")), 13);
    std::vector<float> expected = sequence(1, 13);
    expected.resize(29, 7.0f);
    EXPECT_EQ(allControls(), expected);
}

TEST_F(ControlsFile, WordFirstReadsNothing) {
    setAllControls(7.0f);
    EXPECT_EQ(readText("luz " + numbered(1, 29, " ")), 0);
    EXPECT_EQ(allControls(), std::vector<float>(29, 7.0f));
}

TEST_F(ControlsFile, WordAtFourteenUpdatesTheMaterialAndLeavesTheWholeLight) {
    setAllControls(7.0f);
    EXPECT_EQ(readText(numbered(1, 13, " ") + "posicao " + numbered(15, 15, " ")), 13);
    std::vector<float> expected = sequence(1, 13);
    expected.resize(29, 7.0f);
    EXPECT_EQ(allControls(), expected);  // the failed element keeps 7, not the stream's 0
}

TEST_F(ControlsFile, NumberTooLargeForAFloatStopsReadingWithoutStoringIt) {
    setAllControls(7.0f);
    EXPECT_EQ(readText("1 2 1e60 4"), 2);
    EXPECT_EQ(materialAmbient[2], 7.0f);
    EXPECT_EQ(materialAmbient[3], 7.0f);
}

TEST_F(ControlsFile, CommaDecimalIsNotANumberInTheClassicLocale) {
    EXPECT_EQ(readText("0,5 1 2"), 1);
    EXPECT_EQ(materialAmbient[0], 0.0f);
    EXPECT_EQ(materialAmbient[1], 0.0f);
}

TEST_F(ControlsFile, ThirtiethNumberAndAfterHaveNoEffect) {
    EXPECT_EQ(readText(numbered(1, 29, " ") + "99 abc 100"), 29);
    EXPECT_EQ(allControls(), sequence(1, 29));
}

TEST_F(ControlsFile, FileIsReadByPathAndMissingFileKeepsEarlierValues) {
    writeFile(numbered(101, 29, "\n"));
    EXPECT_EQ(loadControlsFrom(path), 29);
    EXPECT_EQ(allControls(), sequence(101, 29));
    std::remove(path.c_str());
    EXPECT_EQ(loadControlsFrom(path), 0);
    EXPECT_EQ(allControls(), sequence(101, 29));
}

TEST_F(ControlsFile, LoadControlsReadsTheFileInTheWorkingDirectory) {
    path = controlsFileName;  // the test runs in its build folder
    writeFile(numbered(1, 29, " "));
    loadControls();
    EXPECT_EQ(allControls(), sequence(1, 29));
}
