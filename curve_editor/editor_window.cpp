// The editor window: GLUT callbacks that hand input to the state edits of editor_input.h, and
// the display, which draws the data computed in editor_view.h.
#include "editor_window.h"

#include <GL/glut.h>

#include "credits.h"
#include "editor_input.h"
#include "editor_state.h"
#include "editor_view.h"

namespace {

void emitVertex(const WindowPoint& position) {
    glVertex2f(static_cast<float>(position.x), static_cast<float>(position.y));
}

void drawControlPolygon(const GeneratrixCurve& curve) {
    glColor3f(0.0f, 1.0f, 0.0f);
    glBegin(GL_LINE_STRIP);
    for (const Point3d& point : curve.controlPoints) emitVertex(windowPosition(point));
    glEnd();
}

void drawPointMarkers(const EditorState& state) {
    const std::optional<std::size_t> selected =
        positionWithinCurve(state.selection, state.generatrix);
    for (std::size_t i = 0; i < state.generatrix.pointCount(); ++i) {
        if (selected == i)
            drawPointMarker(state.generatrix.controlPoints[i], 1.0f, 0.0f, 0.0f);
        else
            drawPointMarker(state.generatrix.controlPoints[i], 1.0f, 1.0f, 0.0f);
    }
}

void drawPointLabels(const GeneratrixCurve& curve) {
    for (std::size_t i = 0; i < curve.pointCount(); ++i)
        drawPointLabel(curve.controlPoints[i], static_cast<float>(curve.weights[i]), 0.0f, 0.0f,
                       1.0f);
}

void drawCurve(const EditorState& state) {
    glColor3f(0.0f, 0.0f, 1.0f);
    for (const std::vector<WindowPoint>& strip :
         curveStrips(state.generatrix, state.curveSampleCount)) {
        glBegin(GL_LINE_STRIP);
        for (const WindowPoint& position : strip) emitVertex(position);
        glEnd();
    }
}

void applyCursor(CursorChoice choice) {
    if (choice == CursorChoice::spray) glutSetCursor(GLUT_CURSOR_SPRAY);
    if (choice == CursorChoice::arrow) glutSetCursor(GLUT_CURSOR_LEFT_ARROW);
}

}  // namespace

int editorWindow = 0;

void createEditorWindow() {
    placeInitialPoints(editorState);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutInitWindowSize(editorWindowSize, editorWindowSize);
    glutInitWindowPosition(0, 50);
    editorWindow = glutCreateWindow("Geratriz - Por: " AUTHORS_CREDIT);
    glutDisplayFunc(editorDisplay);
    glutReshapeFunc(editorReshape);
    glutKeyboardFunc(editorKeyboard);
    glutMotionFunc(editorMotion);
    glutPassiveMotionFunc(editorPassiveMotion);
    glutMouseFunc(editorMouse);
    initEditor2d();
}

void initEditor2d() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glViewport(0, 0, editorWindowSize, editorWindowSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, 1.0, 0.0, 1.0, 1.0, -1.0);
}

void editorDisplay() {
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (editorState.showControlPolygon) drawControlPolygon(editorState.generatrix);
    if (editorState.showControlPoints) drawPointMarkers(editorState);
    if (editorState.showLabels) drawPointLabels(editorState.generatrix);
    drawCurve(editorState);
    glFlush();
    glutSwapBuffers();
}

void editorReshape(int, int) {
    glutReshapeWindow(editorWindowSize, editorWindowSize);
    glutPostRedisplay();
}

void editorKeyboard(unsigned char key, int, int) { applyEditorKey(editorState, key); }

void editorMouse(int button, int state, int px, int py) {
    if (state == GLUT_UP) {
        releaseButton(editorState);
        return;
    }
    if (state != GLUT_DOWN) return;
    if (button == GLUT_LEFT_BUTTON) pressLeftButton(editorState, px, py);
    if (button == GLUT_MIDDLE_BUTTON) pressMiddleButton(editorState, px, py);
    if (button == GLUT_RIGHT_BUTTON) pressRightButton(editorState, px, py);
}

void editorMotion(int px, int py) { dragTo(editorState, px, py); }

void editorPassiveMotion(int px, int py) { applyCursor(cursorForHover(editorState, px, py)); }

void drawPointMarker(const Point3d& point, float r, float g, float b) {
    glColor3f(r, g, b);
    glBegin(GL_LINE_LOOP);
    for (const WindowPoint& corner : markerCorners(point)) emitVertex(corner);
    glEnd();
}

void drawPointLabel(const Point3d& point, float weight, float r, float g, float b) {
    glColor3f(r, g, b);
    const WindowPoint position = labelRasterPosition(point);
    glRasterPos2f(static_cast<float>(position.x), static_cast<float>(position.y));
    for (const char c : pointLabelText(point, weight)) glutBitmapCharacter(GLUT_BITMAP_8_BY_13, c);
}
