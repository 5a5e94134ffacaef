// The surface window's keys: the editor's weight and count keys, and the two toggles.
#include <gtest/gtest.h>

#include "surface_keys.h"
#include "surface_window.h"  // the title only

namespace {

struct KeyFixture {
    EditorState state;
    bool wireframeMode = false;
    bool culling = false;
    bool press(unsigned char key) { return applySurfaceKey(state, wireframeMode, culling, key); }
};

EditorState twoPointState() {
    EditorState state;
    state.generatrix.appendPoint({0.2, 0.0, 0.2}, 1.0);
    state.generatrix.appendPoint({0.8, 0.0, 0.8}, 1.0);
    state.selection = 0;
    return state;
}

}  // namespace

TEST(SurfaceKeys, WAndKToggleTheirModesInBothCases) {
    KeyFixture keys;
    EXPECT_TRUE(keys.press('w'));
    EXPECT_TRUE(keys.wireframeMode);
    EXPECT_TRUE(keys.press('W'));
    EXPECT_FALSE(keys.wireframeMode);
    EXPECT_TRUE(keys.press('K'));
    EXPECT_TRUE(keys.culling);
    EXPECT_TRUE(keys.press('k'));
    EXPECT_FALSE(keys.culling);
    EXPECT_FALSE(keys.wireframeMode);
}

TEST(SurfaceKeys, WeightAndCountKeysActAsInTheEditor) {
    KeyFixture keys;
    keys.state = twoPointState();
    EXPECT_TRUE(keys.press('+'));
    EXPECT_TRUE(keys.press('='));
    EXPECT_DOUBLE_EQ(keys.state.generatrix.weights[0], 1.2);
    EXPECT_TRUE(keys.press('_'));
    EXPECT_DOUBLE_EQ(keys.state.generatrix.weights[0], 1.1);
    EXPECT_TRUE(keys.press('8'));
    EXPECT_EQ(keys.state.revolutionSampleCount, 11);
    for (int k = 0; k < 20; ++k) keys.press('9');
    EXPECT_EQ(keys.state.curveSampleCount, 2);
    for (int k = 0; k < 20; ++k) keys.press('&');
    EXPECT_EQ(keys.state.revolutionSampleCount, 5);
    EXPECT_FALSE(keys.wireframeMode);
}

TEST(SurfaceKeys, EditorOnlyKeysAndOthersDoNothingHere) {
    KeyFixture keys;
    keys.state = twoPointState();
    for (unsigned char key : {'q', 'Q', 'e', 'E', 'a', ' ', '1'}) EXPECT_FALSE(keys.press(key));
    EXPECT_TRUE(keys.state.showControlPolygon);
    EXPECT_TRUE(keys.state.showControlPoints);
    EXPECT_TRUE(keys.state.showLabels);
    EXPECT_FALSE(keys.wireframeMode);
    EXPECT_FALSE(keys.culling);
}

TEST(SurfaceKeys, WeightKeysWithoutSelectionChangeNothing) {
    KeyFixture keys;
    keys.state = twoPointState();
    keys.state.selection.reset();
    keys.press('+');
    keys.press('-');
    EXPECT_EQ(keys.state.generatrix.weights, (std::vector<double>{1.0, 1.0}));
}

TEST(SurfaceWindowTitle, IsWindows1252WithTheCreditLine) {
    EXPECT_STREQ(surfaceWindowTitle,
                 "Superf\xED"
                 "cie - Por: " AUTHORS_CREDIT);
    EXPECT_EQ(static_cast<unsigned char>(surfaceWindowTitle[6]), 0xEDu);
    EXPECT_EQ(surfaceWindowTitle[7], 'c');
}
