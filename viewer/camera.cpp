// Orbiting camera handed to OpenGL and GLUT: the modelview transform and the mouse callbacks.
#include "camera.h"

#include <GL/gl.h>

#include "scene_layout.h"

void applyCameraTransform() {
    for (const TransformStep& step : cameraTransformSteps(camera, sceneProfile.upAxis)) {
        switch (step.kind) {
            case TransformStep::translate: glTranslated(step.x, step.y, step.z); break;
            case TransformStep::rotate: glRotated(step.angle, step.x, step.y, step.z); break;
            case TransformStep::rotateSingle:
                glRotatef(static_cast<float>(step.angle), static_cast<float>(step.x),
                          static_cast<float>(step.y), static_cast<float>(step.z));
                break;
        }
    }
}

void onMouseButton(int button, int state, int x, int y) {
    pressOrReleaseButton(navigation, windowHeight, button, state, x, y);
}

void onMouseMotion(int x, int y) { dragCamera(camera, navigation, windowHeight, x, y); }
