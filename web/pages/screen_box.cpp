// The camera's steps and the window's perspective, as the frame issues them, multiplied here
// with the web GL layer's own matrices.
#include "screen_box.h"

#include <algorithm>

#include "camera_state.h"
#include "gl_matrix.h"
#include "scene_layout.h"
#include "scene_profile.h"

namespace {

Mat4 worldToClip() {
    Mat4 view = identityMatrix();
    for (const TransformStep& step : cameraTransformSteps(camera, sceneProfile.upAxis)) {
        const float x = float(step.x), y = float(step.y), z = float(step.z);
        view = multiply(view, step.kind == TransformStep::translate
                                  ? translationMatrix(x, y, z)
                                  : rotationMatrix(float(step.angle), x, y, z));
    }
    const Mat4 projection =
        perspectiveMatrix(camera.fovy, perspectiveAspect(windowWidth, windowHeight), camera.zNear,
                          camera.zFar);
    return multiply(projection, view);
}

}  // namespace

void screenPoints(const Vec4f* points, int count, ScreenPoint* onScreen) {
    const Mat4 toClip = worldToClip();
    for (int i = 0; i < count; ++i) {
        const Vec4f p = transformPoint(toClip, points[i]);
        const double w = p.w > 0.0f ? p.w : 1.0;
        onScreen[i] = {(p.x / w + 1.0) * 0.5 * windowWidth, (1.0 - p.y / w) * 0.5 * windowHeight,
                       p.w};
    }
}

bool screenRectangle(const double* points, int count, ScreenRectangle& r) {
    const Mat4 toClip = worldToClip();
    r = {double(windowWidth), double(windowHeight), 0.0, 0.0};
    for (int i = 0; i < count; ++i) {
        const double* q = points + 3 * i;
        const Vec4f p = transformPoint(toClip, {float(q[0]), float(q[1]), float(q[2]), 1.0f});
        if (p.w <= 0.0f) return false;
        const double px = (p.x / p.w + 1.0) * 0.5 * windowWidth;
        const double py = (1.0 - p.y / p.w) * 0.5 * windowHeight;
        r.left = std::min(r.left, px);
        r.right = std::max(r.right, px);
        r.top = std::min(r.top, py);
        r.bottom = std::max(r.bottom, py);
    }
    return true;
}

bool screenBox(const double low[3], const double high[3], ScreenRectangle& r) {
    double corners[24];
    for (int corner = 0; corner < 8; ++corner)
        for (int axis = 0; axis < 3; ++axis)
            corners[3 * corner + axis] = (corner >> axis & 1) != 0 ? high[axis] : low[axis];
    return screenRectangle(corners, 8, r);
}

bool pixelInRectangle(const ScreenRectangle& r, int x, int y) {
    return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

bool pixelInScreenBox(const double low[3], const double high[3], int x, int y) {
    ScreenRectangle r;
    return !screenBox(low, high, r) || pixelInRectangle(r, x, y);
}
