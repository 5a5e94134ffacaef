// The editor's mouse and key edits: mapping, picking, pressing, dragging, hovering, toggles.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor_input.h"

namespace {

// The pixel nearest to where a curve point shows in the 600x600 window.
struct Pixel {
    int x;
    int y;
};
Pixel pixelOf(double x, double z) {
    return {static_cast<int>((1.0 - x) * 599.0 + 0.5), static_cast<int>(600.0 - z * 599.0 + 0.5)};
}

EditorState stateWithPoints(const std::vector<Point3d>& points) {
    EditorState state;
    for (const Point3d& point : points) state.generatrix.appendPoint(point, 1.0);
    if (!points.empty()) state.selection = 0;
    return state;
}

EditorState initialState() {
    EditorState state;
    placeInitialPoints(state);
    return state;
}

double mouseX(int px) { return 1.0 - static_cast<float>(px / 599.0); }
double mouseZ(int py) { return static_cast<float>((600 - py) / 599.0); }

double asFloat(double value) { return static_cast<float>(value); }

}  // namespace

TEST(EditorPixelMapping, CornersOfTheWindow) {
    const Point3d topLeft = curvePointAtPixel(0, 0);
    EXPECT_EQ(topLeft.x, 1.0);
    EXPECT_EQ(topLeft.y, 0.0);
    EXPECT_EQ(topLeft.z, 600.0 / 599.0);
    const Point3d bottomRight = curvePointAtPixel(599, 599);
    EXPECT_EQ(bottomRight.x, 0.0);
    EXPECT_EQ(bottomRight.z, 1.0 / 599.0);
}

TEST(EditorPixelMapping, RightPressAppendsTheMappedPointUnselected) {
    EditorState state = initialState();
    pressRightButton(state, 0, 0);
    pressRightButton(state, 599, 599);
    ASSERT_EQ(state.generatrix.pointCount(), 4u);
    EXPECT_EQ(state.generatrix.controlPoints[2].x, 1.0);
    EXPECT_EQ(state.generatrix.controlPoints[2].z, 600.0 / 599.0);
    EXPECT_EQ(state.generatrix.controlPoints[3].x, 0.0);
    EXPECT_EQ(state.generatrix.controlPoints[3].z, 1.0 / 599.0);
    EXPECT_EQ(state.generatrix.weights[2], 1.0);
    EXPECT_EQ(state.generatrix.weights[3], 1.0);
    EXPECT_EQ(state.selection, 0u);
    EXPECT_FALSE(state.dragPoint.has_value());
}

TEST(EditorPicking, SquareZoneOfHalfSizePointZeroTwoOnBothAxes) {
    const int px = 300, py = 300;
    const double mx = mouseX(px), mz = mouseZ(py);
    for (double side : {-1.0, 1.0}) {
        EXPECT_TRUE(pickPointAt(stateWithPoints({{mx + side * 0.0199, 0, mz}}).generatrix, px, py));
        EXPECT_FALSE(pickPointAt(stateWithPoints({{mx + side * 0.0201, 0, mz}}).generatrix, px,
                                 py));
        EXPECT_TRUE(pickPointAt(stateWithPoints({{mx, 0, mz + side * 0.0199}}).generatrix, px, py));
        EXPECT_FALSE(pickPointAt(stateWithPoints({{mx, 0, mz + side * 0.0201}}).generatrix, px,
                                 py));
    }
    // A corner of the square is farther than 0.02 from the centre, and still inside.
    EXPECT_TRUE(pickPointAt(stateWithPoints({{mx + 0.0195, 0, mz - 0.0195}}).generatrix, px, py));
}

TEST(EditorPicking, LowestPositionWins) {
    const EditorState state = stateWithPoints({{0.9, 0, 0.9}, {0.5, 0, 0.5}, {0.505, 0, 0.5}});
    const Pixel onBoth = pixelOf(0.5025, 0.5);
    EXPECT_EQ(pickPointAt(state.generatrix, onBoth.x, onBoth.y), 1u);
    const EditorState reversed = stateWithPoints({{0.505, 0, 0.5}, {0.5, 0, 0.5}});
    EXPECT_EQ(pickPointAt(reversed.generatrix, onBoth.x, onBoth.y), 0u);
}

TEST(EditorPicking, MousePositionIsRoundedToSinglePrecision) {
    // Find a pixel whose single-precision x lies well below the double one, and put a point just
    // inside the zone measured from the rounded position but outside it measured from the exact one.
    int px = 0;
    while (px < 600 && !(mouseX(px) < 1.0 - px / 599.0 - 1e-9)) ++px;
    ASSERT_LT(px, 600);
    const double exactX = 1.0 - px / 599.0;
    const Point3d point{mouseX(px) - 0.02 + 1e-12, 0, mouseZ(300)};
    ASSERT_GT(std::fabs(point.x - exactX), pickTolerance);
    EXPECT_TRUE(pickPointAt(stateWithPoints({point}).generatrix, px, 300));
}

TEST(EditorPicking, EmptyCurveHasNoHit) { EXPECT_FALSE(pickPointAt(GeneratrixCurve{}, 300, 300)); }

TEST(EditorLeftPress, HitSelectsAndStartsTheDrag) {
    EditorState state = initialState();
    const Pixel second = pixelOf(0.8, 0.8);
    pressLeftButton(state, second.x, second.y);
    EXPECT_EQ(state.selection, 1u);
    EXPECT_EQ(state.dragPoint, 1u);
    EXPECT_EQ(state.dragLastX, second.x);
    EXPECT_EQ(state.dragLastY, 600 - second.y);
}

TEST(EditorLeftPress, MissKeepsTheSelectionAndStartsNoDrag) {
    EditorState state = initialState();
    state.selection = 1;
    pressLeftButton(state, 10, 10);
    EXPECT_EQ(state.selection, 1u);
    EXPECT_FALSE(state.dragPoint.has_value());
    EXPECT_EQ(state.dragLastX, 0);
    EXPECT_EQ(state.dragLastY, 0);
}

TEST(EditorRelease, AnyButtonEndsTheDragAndKeepsTheSelection) {
    EditorState state = initialState();
    const Pixel second = pixelOf(0.8, 0.8);
    pressLeftButton(state, second.x, second.y);
    releaseButton(state);
    EXPECT_FALSE(state.dragPoint.has_value());
    EXPECT_EQ(state.selection, 1u);
}

TEST(EditorMiddlePress, DeletingTheSelectedPointLeavesNoSelection) {
    EditorState state = initialState();
    const Pixel first = pixelOf(0.2, 0.2);
    pressMiddleButton(state, first.x, first.y);
    ASSERT_EQ(state.generatrix.pointCount(), 1u);
    EXPECT_EQ(state.generatrix.controlPoints[0].x, 0.8);
    EXPECT_FALSE(state.selection.has_value());
    applyEditorKey(state, '+');
    EXPECT_EQ(state.generatrix.weights[0], 1.0);
}

TEST(EditorMiddlePress, DeletingBeforeTheSelectionKeepsItsPosition) {
    EditorState state = stateWithPoints({{0.1, 0, 0.1}, {0.5, 0, 0.5}, {0.9, 0, 0.9}});
    state.selection = 1;
    const Pixel first = pixelOf(0.1, 0.1);
    pressMiddleButton(state, first.x, first.y);
    EXPECT_EQ(state.selection, 1u);
    EXPECT_EQ(state.generatrix.controlPoints[1].x, 0.9);
}

TEST(EditorMiddlePress, DeletingAfterTheSelectionLeavesItAlone) {
    EditorState state = stateWithPoints({{0.1, 0, 0.1}, {0.5, 0, 0.5}, {0.9, 0, 0.9}});
    const Pixel last = pixelOf(0.9, 0.9);
    pressMiddleButton(state, last.x, last.y);
    EXPECT_EQ(state.selection, 0u);
    EXPECT_EQ(state.generatrix.pointCount(), 2u);
}

TEST(EditorMiddlePress, DeletingBeforeASelectedLastPointLeavesNoSelection) {
    EditorState state = stateWithPoints({{0.1, 0, 0.1}, {0.5, 0, 0.5}, {0.9, 0, 0.9}});
    state.selection = 2;
    const Pixel middle = pixelOf(0.5, 0.5);
    pressMiddleButton(state, middle.x, middle.y);
    EXPECT_FALSE(state.selection.has_value());
    applyEditorKey(state, '-');
    EXPECT_EQ(state.generatrix.weights[0], 1.0);
    EXPECT_EQ(state.generatrix.weights[1], 1.0);
}

TEST(EditorMiddlePress, DeletingEveryPointLeavesASafeEmptyCurve) {
    EditorState state = initialState();
    const Pixel first = pixelOf(0.2, 0.2), second = pixelOf(0.8, 0.8);
    pressMiddleButton(state, second.x, second.y);
    pressMiddleButton(state, first.x, first.y);
    EXPECT_EQ(state.generatrix.pointCount(), 0u);
    EXPECT_FALSE(state.selection.has_value());
    pressMiddleButton(state, first.x, first.y);
    pressLeftButton(state, first.x, first.y);
    dragTo(state, 100, 100);
    applyEditorKey(state, '+');
    EXPECT_EQ(state.generatrix.pointCount(), 0u);
    EXPECT_FALSE(state.selection.has_value());
    EXPECT_FALSE(state.dragPoint.has_value());
}

TEST(EditorMiddlePress, MissChangesNothing) {
    EditorState state = initialState();
    pressMiddleButton(state, 10, 10);
    EXPECT_EQ(state.generatrix.pointCount(), 2u);
    EXPECT_EQ(state.selection, 0u);
}

TEST(EditorMiddlePress, DragPastTheShortenedCurveEnds) {
    EditorState state = initialState();
    const Pixel first = pixelOf(0.2, 0.2), second = pixelOf(0.8, 0.8);
    pressLeftButton(state, second.x, second.y);
    pressMiddleButton(state, first.x, first.y);
    EXPECT_FALSE(state.dragPoint.has_value());
    dragTo(state, second.x - 50, second.y);
    EXPECT_EQ(state.generatrix.controlPoints[0].x, 0.8);
    EXPECT_EQ(state.dragLastX, second.x - 50);
}

TEST(EditorDrag, MovesByTheMouseTravelInSinglePrecision) {
    EditorState state = initialState();
    state.generatrix.controlPoints[0].y = 0.5;
    const Pixel first = pixelOf(0.2, 0.2);
    pressLeftButton(state, first.x, first.y);
    dragTo(state, first.x - 10, first.y - 20);
    const Point3d& point = state.generatrix.controlPoints[0];
    EXPECT_EQ(point.x, asFloat(0.2 + 10 / 599.0));
    EXPECT_EQ(point.z, asFloat(0.2 + 20 / 599.0));
    EXPECT_EQ(point.y, 0.5);
    EXPECT_EQ(state.dragLastX, first.x - 10);
    EXPECT_EQ(state.dragLastY, 600 - (first.y - 20));
    EXPECT_EQ(state.generatrix.controlPoints[1].x, 0.8);
}

TEST(EditorDrag, ClampsAtTheEdgesAndLosesTheTravelBeyond) {
    EditorState state = initialState();
    const Pixel first = pixelOf(0.2, 0.2);
    pressLeftButton(state, first.x, first.y);
    dragTo(state, first.x - 1000, first.y - 1000);
    EXPECT_EQ(state.generatrix.controlPoints[0].x, 1.0);
    EXPECT_EQ(state.generatrix.controlPoints[0].z, 1.0);
    dragTo(state, first.x - 990, first.y - 985);
    EXPECT_EQ(state.generatrix.controlPoints[0].x, asFloat(1.0 - 10 / 599.0));
    EXPECT_EQ(state.generatrix.controlPoints[0].z, asFloat(1.0 - 15 / 599.0));
}

TEST(EditorDrag, ClampsAtTheRightAndBottomEdgesToZero) {
    EditorState state = initialState();
    const Pixel first = pixelOf(0.2, 0.2);
    pressLeftButton(state, first.x, first.y);
    dragTo(state, first.x + 1000, first.y + 1000);
    EXPECT_EQ(state.generatrix.controlPoints[0].x, 0.0);
    EXPECT_EQ(state.generatrix.controlPoints[0].z, 0.0);
}

TEST(EditorDrag, AppendedPointAboveTheTopIsClampedOnItsFirstMove) {
    EditorState state = initialState();
    pressRightButton(state, 300, 0);
    pressLeftButton(state, 300, 0);
    ASSERT_EQ(state.dragPoint, 2u);
    dragTo(state, 300, 0);
    EXPECT_EQ(state.generatrix.controlPoints[2].z, 1.0);
}

TEST(EditorDrag, MotionWithoutADragOnlyRecordsTheMouse) {
    EditorState state = initialState();
    dragTo(state, 123, 456);
    EXPECT_EQ(state.dragLastX, 123);
    EXPECT_EQ(state.dragLastY, 144);
    EXPECT_EQ(state.generatrix.controlPoints[0].x, 0.2);
    EXPECT_EQ(state.generatrix.controlPoints[1].x, 0.8);
}

TEST(EditorDrag, DragPositionPastTheCurveIsIgnored) {
    EditorState state = initialState();
    state.dragPoint = 7;
    dragTo(state, 10, 10);
    EXPECT_FALSE(state.dragPoint.has_value());
    EXPECT_EQ(state.generatrix.controlPoints[0].x, 0.2);
}

TEST(EditorHover, SprayOverAPointArrowElsewhereUnchangedWithoutPoints) {
    EditorState state = initialState();
    const Pixel first = pixelOf(0.2, 0.2);
    EXPECT_EQ(cursorForHover(state, first.x, first.y), CursorChoice::spray);
    EXPECT_EQ(cursorForHover(state, 10, 10), CursorChoice::arrow);
    EXPECT_EQ(cursorForHover(EditorState{}, first.x, first.y), CursorChoice::unchanged);
}

TEST(EditorKeys, LettersToggleWhatIsShownInEitherCase) {
    EditorState state = initialState();
    EXPECT_TRUE(applyEditorKey(state, 'q'));
    EXPECT_FALSE(state.showControlPolygon);
    EXPECT_TRUE(applyEditorKey(state, 'Q'));
    EXPECT_TRUE(state.showControlPolygon);
    applyEditorKey(state, 'w');
    EXPECT_FALSE(state.showControlPoints);
    applyEditorKey(state, 'W');
    EXPECT_TRUE(state.showControlPoints);
    applyEditorKey(state, 'E');
    EXPECT_FALSE(state.showLabels);
    applyEditorKey(state, 'e');
    EXPECT_TRUE(state.showLabels);
    EXPECT_TRUE(state.showControlPolygon);
}

TEST(EditorKeys, SharedKeysWorkAndOthersAreIgnored) {
    EditorState state = initialState();
    EXPECT_TRUE(applyEditorKey(state, '+'));
    EXPECT_DOUBLE_EQ(state.generatrix.weights[0], 1.1);
    EXPECT_TRUE(applyEditorKey(state, '9'));
    EXPECT_EQ(state.curveSampleCount, 9);
    for (unsigned char key : {'k', 'K', 'r', 'x', '1'}) EXPECT_FALSE(applyEditorKey(state, key));
    EXPECT_TRUE(state.showControlPolygon && state.showControlPoints && state.showLabels);
}

TEST(EditorInitialPoints, TwoUnitWeightPointsWithTheFirstSelected) {
    const EditorState state = initialState();
    ASSERT_EQ(state.generatrix.pointCount(), 2u);
    EXPECT_EQ(state.generatrix.controlPoints[0].x, 0.2);
    EXPECT_EQ(state.generatrix.controlPoints[0].z, 0.2);
    EXPECT_EQ(state.generatrix.controlPoints[1].x, 0.8);
    EXPECT_EQ(state.generatrix.controlPoints[1].z, 0.8);
    EXPECT_EQ(state.generatrix.weights, (std::vector<double>{1.0, 1.0}));
    EXPECT_EQ(state.selection, 0u);
    EXPECT_FALSE(state.dragPoint.has_value());
}
