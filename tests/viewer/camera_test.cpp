// Mouse navigation and the camera transform, driven as GLUT would drive them.
#include "camera.h"

#include <gtest/gtest.h>

namespace {

constexpr int height = 600;
constexpr int down = 0, up = 1;
constexpr int left = 0, middle = 1, right = 2;

struct Drag {
    Camera camera;
    NavigationState nav;
    void press(int button, int x, int y) { pressOrReleaseButton(nav, height, button, down, x, y); }
    void release(int button, int x, int y) { pressOrReleaseButton(nav, height, button, up, x, y); }
    void moveTo(int x, int y) { dragCamera(camera, nav, height, x, y); }
};

TEST(CameraOrbit, LeftDragRightAndUpTurnsAzimuthAndLowersElevation) {
    Drag drag;
    drag.press(left, 100, 300);
    drag.moveTo(110, 295);  // 10 pixels right, 5 pixels up
    EXPECT_NEAR(drag.camera.azimuth, 47.0, 1e-6);
    EXPECT_NEAR(drag.camera.elevation, 44.0, 1e-6);
    EXPECT_EQ(drag.camera.distance, 3.0);
}

TEST(CameraOrbit, FromTheFarSideTheVerticalOrbitIsMirrored) {
    Drag drag;
    drag.camera.distance = -3.0;
    drag.press(left, 100, 300);
    drag.moveTo(110, 295);
    EXPECT_NEAR(drag.camera.azimuth, 47.0, 1e-6);
    EXPECT_NEAR(drag.camera.elevation, 46.0, 1e-6);
}

TEST(CameraOrbit, MotionIsMeasuredFromTheLastEvent) {
    Drag drag;
    drag.press(left, 0, 0);
    drag.moveTo(5, 0);
    drag.moveTo(10, 0);
    EXPECT_NEAR(drag.camera.azimuth, 47.0, 1e-6);
    EXPECT_EQ(drag.nav.lastX, 10);
    EXPECT_EQ(drag.nav.lastY, height);
}

TEST(CameraPanAndZoom, MiddleDragMovesTheTarget) {
    Drag drag;
    drag.press(middle, 200, 200);
    drag.moveTo(250, 100);  // 50 right, 100 up
    EXPECT_NEAR(drag.camera.target.x, 0.5, 1e-6);
    EXPECT_NEAR(drag.camera.target.y, 1.0, 1e-6);
    EXPECT_EQ(drag.camera.azimuth, 45.0);
}

TEST(CameraPanAndZoom, ZoomingPastTheOriginSeesTheSceneFromBehind) {
    Drag drag;
    drag.press(right, 300, 100);
    drag.moveTo(300, 500);  // 400 pixels down
    EXPECT_NEAR(drag.camera.distance, -1.0, 1e-5);

    const std::vector<TransformStep> steps = cameraTransformSteps(drag.camera, UpAxis::y);
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].kind, TransformStep::translate);
    EXPECT_NEAR(steps[0].z, -1.0, 1e-5);
    EXPECT_DOUBLE_EQ(steps[2].angle, -45.0);
    EXPECT_EQ(steps[2].x, 1.0);
    EXPECT_DOUBLE_EQ(steps[3].angle, 225.0);
    EXPECT_EQ(steps[3].y, 1.0);
}

TEST(CameraButtons, OrbitWinsWhenTwoButtonsAreHeldAndAnyReleaseEndsBoth) {
    Drag drag;
    drag.press(left, 0, 0);
    drag.press(right, 0, 0);
    EXPECT_TRUE(drag.nav.rotating);
    EXPECT_TRUE(drag.nav.zooming);
    drag.moveTo(0, -100);
    EXPECT_EQ(drag.camera.distance, 3.0);
    EXPECT_NE(drag.camera.elevation, 45.0);

    drag.release(right, 0, -100);
    EXPECT_FALSE(drag.nav.rotating || drag.nav.panning || drag.nav.zooming);
    const Camera before = drag.camera;
    drag.moveTo(50, 50);
    EXPECT_EQ(drag.camera.azimuth, before.azimuth);
    EXPECT_EQ(drag.camera.elevation, before.elevation);
}

TEST(CameraButtons, WheelStepsRecordThePointerButStartNoMode) {
    Drag drag;
    drag.press(3, 40, 100);
    EXPECT_FALSE(drag.nav.rotating || drag.nav.panning || drag.nav.zooming);
    EXPECT_EQ(drag.nav.lastX, 40);
    EXPECT_EQ(drag.nav.lastY, 500);
}

TEST(CameraButtons, ReleaseKeepsTheLastPosition) {
    Drag drag;
    drag.press(left, 40, 100);
    drag.release(left, 90, 90);
    EXPECT_EQ(drag.nav.lastX, 40);
    EXPECT_EQ(drag.nav.lastY, 500);
}

TEST(CameraTransform, StartCameraLooksFromThreeUnitsAway) {
    const std::vector<TransformStep> steps = cameraTransformSteps(Camera{}, UpAxis::y);
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].z, -3.0);
    EXPECT_EQ(steps[1].angle, 0.0);  // roll
    EXPECT_EQ(steps[1].z, 1.0);
    EXPECT_EQ(steps[2].angle, 45.0);
    EXPECT_EQ(steps[3].angle, 45.0);
}

TEST(CameraTransform, ZeroDistanceIsNotMirrored) {
    Camera camera;
    camera.distance = 0.0;
    const std::vector<TransformStep> steps = cameraTransformSteps(camera, UpAxis::y);
    EXPECT_EQ(steps[0].z, 0.0);
    EXPECT_EQ(steps[2].angle, 45.0);
    EXPECT_EQ(steps[3].angle, 45.0);
}

TEST(CameraTransform, ZUpAddsTwoSinglePrecisionTurnsAtTheEnd) {
    const std::vector<TransformStep> steps = cameraTransformSteps(Camera{}, UpAxis::z);
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_EQ(steps[4].kind, TransformStep::rotateSingle);
    EXPECT_EQ(steps[4].angle, 90.0);
    EXPECT_EQ(steps[4].y, 1.0);
    EXPECT_EQ(steps[5].kind, TransformStep::rotateSingle);
    EXPECT_EQ(steps[5].angle, -90.0);
    EXPECT_EQ(steps[5].x, 1.0);
}

}  // namespace
