// Subdivo's program state, key commands and frame. The keyboard callback only maps a key to a
// command; the command changes the state; the display hands the state to OpenGL.
#include "subdivo_viewer.h"

#include <climits>

#include <GL/freeglut.h>

#include "camera.h"
#include "scene_frame.h"
#include "subdivision_level.h"

ObjModel* baseModel = nullptr;
ObjModel* subdividedModel = nullptr;
int subdivisionLevel = 0;
DisplaySwitches displaySwitches;

void createModelRecords() {
    baseModel = new ObjModel{};
    subdividedModel = new ObjModel{};
}

const ObjModel& shownModel() { return subdivisionLevel != 0 ? *subdividedModel : *baseModel; }

KeyCommand keyCommand(unsigned char key) {
    switch (key) {
        case '+':
        case '=': return KeyCommand::raiseLevel;
        case '-':
        case '_': return KeyCommand::lowerLevel;
        case 'k':
        case 'K': return KeyCommand::toggleCulling;
        case 'l':
        case 'L': return KeyCommand::toggleLighting;
        case 'n':
        case 'N': return KeyCommand::toggleNormals;
        case 'w':
        case 'W': return KeyCommand::toggleWireframe;
        case '(':
        case '9': return KeyCommand::shortenNormals;
        case ')':
        case '0': return KeyCommand::lengthenNormals;
        default: return KeyCommand::none;
    }
}

namespace {

constexpr float normalLengthStep = 0.02f;

// Moves to `level` only when the driver has built it, so a refused level leaves the shown
// model and the level as they were.
void changeLevel(int level, LevelDriver driver) {
    if (driver(*baseModel, subdividedModel, level)) subdivisionLevel = level;
}

void toggle(bool& displaySwitch) { displaySwitch = !displaySwitch; }

}  // namespace

void performKeyCommand(KeyCommand command, LevelDriver driver) {
    switch (command) {
        case KeyCommand::raiseLevel:
            // The level has no bound but its type's: at the largest one "+" does nothing.
            if (subdivisionLevel < INT_MAX) changeLevel(subdivisionLevel + 1, driver);
            break;
        case KeyCommand::lowerLevel:
            if (subdivisionLevel > 0) changeLevel(subdivisionLevel - 1, driver);
            break;
        case KeyCommand::toggleCulling: toggle(displaySwitches.backFaceCulling); break;
        case KeyCommand::toggleLighting: toggle(displaySwitches.lightingEnabled); break;
        case KeyCommand::toggleNormals: toggle(displaySwitches.normalLines.showNormals); break;
        case KeyCommand::toggleWireframe: toggle(displaySwitches.wireframe); break;
        case KeyCommand::shortenNormals:
            displaySwitches.normalLines.normalLength -= normalLengthStep;
            break;
        case KeyCommand::lengthenNormals:
            displaySwitches.normalLines.normalLength += normalLengthStep;
            break;
        case KeyCommand::none: break;
    }
}

void performKeyCommand(KeyCommand command) { performKeyCommand(command, applySubdivisionLevel); }

void onKey(unsigned char key, int, int) { performKeyCommand(keyCommand(key)); }

void onSpecialKey(int, int, int) {}

void selectFilledPolygons() { glPolygonMode(GL_FRONT_AND_BACK, GL_FILL); }

namespace {

void selectPolygonMode(bool wireframe) {
    if (wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glLineWidth(1.0f);
    } else {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
}

void setLightAndMaterial(const SceneLighting& lighting) {
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_POSITION, lighting.lightPosition);
    glLightfv(GL_LIGHT0, GL_AMBIENT, lighting.lightAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lighting.lightDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, lighting.lightSpecular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, lighting.materialAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, lighting.materialDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, lighting.materialSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, lighting.materialShininess);
}

}  // namespace

void beginSceneFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    applyCameraTransform();
    drawGroundGrid();
    drawAxes();
}

void displayScene() {
    beginSceneFrame();
    selectPolygonMode(displaySwitches.wireframe);
    glEnable(GL_NORMALIZE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    if (displaySwitches.backFaceCulling) glEnable(GL_CULL_FACE);
    if (displaySwitches.lightingEnabled) setLightAndMaterial(sceneLighting);
    drawModel(shownModel(), displaySwitches.normalLines);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_NORMALIZE);
    glFlush();
    glutSwapBuffers();
}
