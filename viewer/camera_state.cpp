// Orbiting camera: the program's instances and the navigation and transform arithmetic.
#include "camera_state.h"

Camera camera;
NavigationState navigation;

namespace {
constexpr int buttonDown = 0;  // GLUT_DOWN
constexpr int buttonUp = 1;    // GLUT_UP
constexpr int leftButton = 0;
constexpr int middleButton = 1;
constexpr int rightButton = 2;
constexpr float degreesPerPixel = 0.2f;
constexpr float unitsPerPixel = 0.01f;
}  // namespace

void pressOrReleaseButton(NavigationState& nav, int heightInPixels, int button, int state, int x,
                          int y) {
    if (state == buttonUp) {
        nav.rotating = nav.panning = nav.zooming = false;
        return;
    }
    if (state != buttonDown) return;
    if (button == leftButton) nav.rotating = true;
    if (button == middleButton) nav.panning = true;
    if (button == rightButton) nav.zooming = true;
    nav.lastX = x;
    nav.lastY = heightInPixels - y;
}

void dragCamera(Camera& cam, NavigationState& nav, int heightInPixels, int x, int y) {
    const int dx = x - nav.lastX;
    const int upY = heightInPixels - y;
    const int dy = upY - nav.lastY;
    if (nav.rotating) {
        cam.azimuth += double{degreesPerPixel} * dx;
        // Seen from the far side the vertical orbit is mirrored, so a drag keeps its direction.
        if (cam.distance >= 0)
            cam.elevation -= double{degreesPerPixel} * dy;
        else
            cam.elevation += double{degreesPerPixel} * dy;
    } else if (nav.panning) {
        cam.target.x += double{unitsPerPixel} * dx;
        cam.target.y += double{unitsPerPixel} * dy;
    } else if (nav.zooming) {
        cam.distance += double{unitsPerPixel} * dy;
    }
    nav.lastX = x;
    nav.lastY = upY;
}

std::vector<TransformStep> cameraTransformSteps(const Camera& cam, UpAxis upAxis) {
    const double d = cam.distance;
    const bool mirrored = d < 0;
    std::vector<TransformStep> steps = {
        {TransformStep::translate, 0.0, cam.target.x, cam.target.y, mirrored ? d : -d},
        {TransformStep::rotate, -cam.roll, 0.0, 0.0, 1.0},
        {TransformStep::rotate, mirrored ? -cam.elevation : cam.elevation, 1.0, 0.0, 0.0},
        {TransformStep::rotate, mirrored ? cam.azimuth + 180.0 : cam.azimuth, 0.0, 1.0, 0.0},
    };
    if (upAxis == UpAxis::z) {
        // Turn the world's z axis up on the screen.
        steps.push_back({TransformStep::rotateSingle, 90.0, 0.0, 1.0, 0.0});
        steps.push_back({TransformStep::rotateSingle, -90.0, 1.0, 0.0, 0.0});
    }
    return steps;
}
