// Entry point of Subdivo: loads the model named on the command line (poly.obj by default) and
// shows it, and its Doo-Sabin refinements, in one 3D window redrawn continuously.
#include <cstdio>

#include <GL/freeglut.h>

#include "camera.h"
#include "credits.h"
#include "obj_loader.h"
#include "scene_frame.h"
#include "scene_profile.h"
#include "subdivo_command_line.h"
#include "subdivo_viewer.h"

// Subdivo keeps y up, and its 3D set-up ends by selecting filled polygons.
const SceneProfile sceneProfile = {UpAxis::y, selectFilledPolygons};

namespace {

// The í is one Windows-1252 byte; the string is split so that the escape ends there.
const char* const windowTitle =
    "Superf\xED"
    "cies de Doo-Sabin - Por: " AUTHORS_CREDIT;

void createSceneWindow() {
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
    glutInitWindowSize(windowWidth, windowHeight);
    glutInitWindowPosition(200, 100);
    glutCreateWindow(windowTitle);
    glutDisplayFunc(displayScene);
    glutReshapeFunc(reshapeScene3d);
    glutMotionFunc(onMouseMotion);
    glutMouseFunc(onMouseButton);
    glutKeyboardFunc(onKey);
    glutSpecialFunc(onSpecialKey);
}

}  // namespace

int main(int argc, char** argv) {
    // The console report must show at once, even when standard output is a pipe.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    glutInit(&argc, argv);
    createSceneWindow();
    initScene3d();
    createModelRecords();
    const char* modelPath = modelPathFromArguments(argc, argv);
    if (modelPath == nullptr || !loadObjFile(modelPath, baseModel)) return 1;
    glutIdleFunc(displayScene);
    glutMainLoop();
    return 0;
}
