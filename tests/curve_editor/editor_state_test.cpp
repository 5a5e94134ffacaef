// The weight and sample-count keys that the editor and the surface window share.
#include <string>

#include <gtest/gtest.h>

#include "editor_state.h"
#include "editor_view.h"

namespace {

EditorState twoPointState() {
    EditorState state;
    state.generatrix.appendPoint({0.2, 0, 0.2}, 1.0);
    state.generatrix.appendPoint({0.8, 0, 0.8}, 1.0);
    state.selection = 0;
    return state;
}

void press(EditorState& state, const std::string& keys) {
    for (char key : keys) applySharedEditKey(state, static_cast<unsigned char>(key));
}

}  // namespace

TEST(SharedWeightKeys, BothCharactersStepTheSelectedWeight) {
    EditorState state = twoPointState();
    press(state, "+");
    EXPECT_DOUBLE_EQ(state.generatrix.weights[0], 1.1);
    press(state, "=");
    EXPECT_DOUBLE_EQ(state.generatrix.weights[0], 1.2);
    press(state, "-_");
    EXPECT_NEAR(state.generatrix.weights[0], 1.0, 1e-15);
    EXPECT_EQ(state.generatrix.weights[1], 1.0);
}

TEST(SharedWeightKeys, TenStepsDownFromOneLeaveRoundingShownAsZero) {
    EditorState state = twoPointState();
    press(state, "----------");
    const double weight = state.generatrix.weights[0];
    EXPECT_NE(weight, 0.0);
    EXPECT_NEAR(weight, 1.4e-16, 0.2e-16);
    EXPECT_EQ(formatLabelNumber(static_cast<float>(weight), 1), "0.0");
}

TEST(SharedWeightKeys, NoLimitEitherWay) {
    EditorState state = twoPointState();
    press(state, std::string(30, '-'));
    EXPECT_NEAR(state.generatrix.weights[0], -2.0, 1e-12);
    press(state, std::string(60, '+'));
    EXPECT_NEAR(state.generatrix.weights[0], 4.0, 1e-12);
}

TEST(SharedWeightKeys, DoNothingWithoutASelection) {
    EditorState state = twoPointState();
    state.selection.reset();
    EXPECT_TRUE(applySharedEditKey(state, '+'));
    EXPECT_EQ(state.generatrix.weights[0], 1.0);
    EXPECT_EQ(state.generatrix.weights[1], 1.0);
}

TEST(SharedWeightKeys, SelectionPastTheCurveCountsAsNone) {
    EditorState state = twoPointState();
    state.selection = 2;
    press(state, "+-");
    EXPECT_FALSE(state.selection.has_value());
    EXPECT_EQ(state.generatrix.weights[1], 1.0);

    EditorState empty;
    empty.selection = 0;
    press(empty, "+");
    EXPECT_FALSE(empty.selection.has_value());
}

TEST(SharedSampleCountKeys, CurveSamplesStopAtTwo) {
    EditorState state;
    press(state, std::string(20, '9'));
    EXPECT_EQ(state.curveSampleCount, 2);
    press(state, "0)");
    EXPECT_EQ(state.curveSampleCount, 4);
    press(state, "(");
    EXPECT_EQ(state.curveSampleCount, 3);
}

TEST(SharedSampleCountKeys, RevolutionSamplesStopAtFive) {
    EditorState state;
    press(state, std::string(20, '&'));
    EXPECT_EQ(state.revolutionSampleCount, 5);
    press(state, "8*");
    EXPECT_EQ(state.revolutionSampleCount, 7);
    press(state, "7");
    EXPECT_EQ(state.revolutionSampleCount, 6);
}

TEST(SharedSampleCountKeys, NoUpperLimit) {
    EditorState state;
    press(state, std::string(500, '0') + std::string(500, '8'));
    EXPECT_EQ(state.curveSampleCount, 510);
    EXPECT_EQ(state.revolutionSampleCount, 510);
}

TEST(SharedKeys, OtherKeysAreNotTheirs) {
    EditorState state = twoPointState();
    for (unsigned char key : std::string("qwek1 \xED"))
        EXPECT_FALSE(applySharedEditKey(state, key)) << int(key);
    EXPECT_EQ(state.generatrix.weights[0], 1.0);
    EXPECT_EQ(state.curveSampleCount, 10);
    EXPECT_EQ(state.revolutionSampleCount, 10);
    EXPECT_TRUE(state.showControlPoints);
}
