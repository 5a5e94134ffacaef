// The orbiting camera of a 3D window as plain data: the record with its start values, the
// mouse navigation state, the arithmetic of a press and a drag (the left button orbits, the
// middle button pans, the right button zooms) and the steps of the camera transform.
#pragma once

#include <vector>

#include "scene_profile.h"

struct Camera {
    float fovy = 45.0f;
    float aspect = 1.0f;  // kept for completeness; the projection uses the window's ratio
    float zNear = 0.001f;
    float zFar = 100.0f;
    struct {
        double x = 0.0, y = 0.0, z = 0.0;
    } target;                 // eye-space offset of the origin
    double elevation = 45.0;  // degrees about x
    double azimuth = 45.0;    // degrees about y
    double roll = 0.0;        // degrees about z
    double distance = 3.0;    // negative: the scene is seen from the opposite side
};

struct NavigationState {
    bool rotating = false;
    bool panning = false;
    bool zooming = false;
    int lastX = 0;
    int lastY = 0;  // measured upwards: window height minus the GLUT y
};

// The program's one camera and its navigation state.
extern Camera camera;
extern NavigationState navigation;

// A press (state 0) starts the button's mode and records the pointer; any release
// (state 1) ends every mode. Buttons other than left, middle and right start no mode.
// heightInPixels is the window's height, from which y is measured upwards.
void pressOrReleaseButton(NavigationState& nav, int heightInPixels, int button, int state, int x,
                          int y);
// Moves the camera by the pointer's travel since the last event: orbit, else pan, else zoom.
void dragCamera(Camera& cam, NavigationState& nav, int heightInPixels, int x, int y);

// One step of the camera transform, as handed to glTranslated / glRotated / glRotatef.
struct TransformStep {
    enum Kind { translate, rotate, rotateSingle } kind;
    double angle;    // degrees, for rotations
    double x, y, z;  // offset, or rotation axis
};
// The modelview steps that show the scene through the camera, in the order they are issued.
std::vector<TransformStep> cameraTransformSteps(const Camera& cam, UpAxis upAxis);
