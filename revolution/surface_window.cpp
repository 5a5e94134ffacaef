// Surface window of Revolva: creation, keys and the idle alternation between the windows.
#include "surface_window.h"

#include <GL/freeglut.h>

#include "camera.h"
#include "controls_file.h"
#include "editor_state.h"
#include "editor_window.h"
#include "revolution_surface.h"
#include "scene_frame.h"
#include "surface_drawing.h"
#include "surface_keys.h"

int surfaceWindow = 0;

void createSurfaceWindow() {
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(windowWidth, windowHeight);
    glutInitWindowPosition(650, 50);
    surfaceWindow = glutCreateWindow(surfaceWindowTitle);
    glutDisplayFunc(drawSurface);
    glutReshapeFunc(reshapeScene3d);
    glutMotionFunc(onMouseMotion);
    glutMouseFunc(onMouseButton);
    glutKeyboardFunc(surfaceKeyboard);
    glutSpecialFunc(surfaceSpecialKey);
    initScene3d();  // ends by reading the controls file
    revolutionSurface.source = &editorState.generatrix;
    rebuildSurface();
}

// Each window is drawn while its own context is current; the next call draws the other one.
void alternateRedisplay() {
    if (glutGetWindow() == editorWindow) {
        editorDisplay();
        glutSetWindow(surfaceWindow);
    } else {
        drawSurface();
        glutSetWindow(editorWindow);
    }
}

void surfaceKeyboard(unsigned char key, int, int) {
    applySurfaceKey(editorState, surfaceToggles.wireframe, surfaceToggles.backFaceCulling, key);
}

void surfaceSpecialKey(int key, int, int) {
    if (key == GLUT_KEY_F1) loadControls();
}
