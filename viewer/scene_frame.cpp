// Perspective scene frame handed to OpenGL: set-up, reshape, ground grid and axes.
#include "scene_frame.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include "camera_state.h"

namespace {

void loadPerspective(int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(camera.fovy, perspectiveAspect(width, height), camera.zNear, camera.zFar);
}

void drawAxis(float x, float y, float z) {
    glColor3f(x, y, z);
    glBegin(GL_LINES);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(x, y, z);
    glEnd();
}

}  // namespace

void initScene3d() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glShadeModel(GL_SMOOTH);
    glViewport(0, 0, windowWidth, windowHeight);
    loadPerspective(windowWidth, windowHeight);
    glEnable(GL_DEPTH_TEST);
    if (sceneProfile.finishSceneSetUp != nullptr) sceneProfile.finishSceneSetUp();
}

void reshapeScene3d(int width, int height) {
    windowWidth = width;
    windowHeight = height;
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, width, height);
    loadPerspective(width, height);
    glutPostRedisplay();
}

void drawGroundGrid() {
    glLineWidth(1.0f);
    glColor3f(0.5f, 0.5f, 0.5f);
    const GroundGrid lines = groundGridLines(sceneProfile.upAxis);
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        glBegin(GL_LINES);
        glVertex3fv(lines[i].from.data());
        glVertex3fv(lines[i].to.data());
        glVertex3fv(lines[i + 1].from.data());
        glVertex3fv(lines[i + 1].to.data());
        glEnd();
    }
}

void drawAxes() {
    glLineWidth(3.0f);
    drawAxis(1.0f, 0.0f, 0.0f);
    drawAxis(0.0f, 1.0f, 0.0f);
    drawAxis(0.0f, 0.0f, 1.0f);
}
