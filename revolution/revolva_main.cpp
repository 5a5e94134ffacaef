// Entry point of Revolva: the generatrix editor and the surface of revolution, each in its
// own window, drawn in turn from the idle callback.
#include <GL/freeglut.h>

#include "controls_file.h"
#include "editor_window.h"
#include "scene_profile.h"
#include "surface_window.h"

// Revolva shows the world with z up, and its 3D set-up ends by reading the controls file.
const SceneProfile sceneProfile = {UpAxis::z, loadControls};

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    createEditorWindow();
    createSurfaceWindow();
    glutIdleFunc(alternateRedisplay);
    glutMainLoop();
    return 0;
}
