// Perspective scene frame: set-up, reshape, ground grid and axes.
#include "scene_frame.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include "camera.h"

int windowWidth = 600;
int windowHeight = 600;

double perspectiveAspect(int width, int height) {
    return static_cast<double>(width) / static_cast<double>(height > 0 ? height : 1);
}

std::array<GridLine, 62> groundGridLines(UpAxis upAxis) {
    std::array<GridLine, 62> lines{};
    for (int i = 0; i <= 30; ++i) {
        const float c = static_cast<float>(i * 5.0 / 30.0 - 2.5);
        if (upAxis == UpAxis::z) {
            lines[2 * i] = {{c, 2.5f, 0.0f}, {c, -2.5f, 0.0f}};
            lines[2 * i + 1] = {{2.5f, c, 0.0f}, {-2.5f, c, 0.0f}};
        } else {
            lines[2 * i] = {{c, 0.0f, 2.5f}, {c, 0.0f, -2.5f}};
            lines[2 * i + 1] = {{2.5f, 0.0f, c}, {-2.5f, 0.0f, c}};
        }
    }
    return lines;
}

static void loadPerspective(int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(camera.fovy, perspectiveAspect(width, height), camera.zNear, camera.zFar);
}

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
    const std::array<GridLine, 62> lines = groundGridLines(sceneProfile.upAxis);
    for (int i = 0; i < 62; i += 2) {
        glBegin(GL_LINES);
        glVertex3fv(lines[i].from.data());
        glVertex3fv(lines[i].to.data());
        glVertex3fv(lines[i + 1].from.data());
        glVertex3fv(lines[i + 1].to.data());
        glEnd();
    }
}

static void drawAxis(float x, float y, float z) {
    glColor3f(x, y, z);
    glBegin(GL_LINES);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(x, y, z);
    glEnd();
}

void drawAxes() {
    glLineWidth(3.0f);
    drawAxis(1.0f, 0.0f, 0.0f);
    drawAxis(0.0f, 1.0f, 0.0f);
    drawAxis(0.0f, 0.0f, 1.0f);
}
