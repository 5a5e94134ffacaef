// Subdivo's window: the two model records, the subdivision level and the display switches,
// the key commands that change them, and the frame that shows the current model.
#pragma once

#include "model_drawing.h"
#include "obj_model.h"

// Light 0 and the material, handed to OpenGL on every lit frame.
struct SceneLighting {
    float lightPosition[4];
    float lightAmbient[4];
    float lightDiffuse[4];
    float lightSpecular[4];
    float materialAmbient[4];
    float materialDiffuse[4];
    float materialSpecular[4];
    float materialShininess;
};
constexpr SceneLighting sceneLighting = {{3.0f, 3.0f, 3.0f, 1.0f},  {0.4f, 0.4f, 0.4f, 1.0f},
                                         {0.8f, 0.8f, 0.8f, 1.0f},  {1.0f, 1.0f, 1.0f, 1.0f},
                                         {0.5f, 0.45f, 0.1f, 1.0f}, {0.8f, 0.75f, 0.3f, 1.0f},
                                         {1.0f, 0.85f, 0.4f, 1.0f}, 50.0f};

// How the window shows the model; the keys toggle the switches, every frame reads them.
struct DisplaySwitches {
    bool backFaceCulling = true;    // back faces are culled
    bool lightingEnabled = false;   // lighting and material replace the face colours
    bool wireframe = false;         // polygons are drawn as outlines
    NormalLineOptions normalLines;  // the drawing's normal lines, off at start
};

// Program state. Both records are created by createModelRecords; `subdividedModel` is
// replaced by the level driver whenever it rebuilds two or more levels.
extern ObjModel* baseModel;
extern ObjModel* subdividedModel;
extern int subdivisionLevel;  // Doo-Sabin steps applied to baseModel; never below 0
extern DisplaySwitches displaySwitches;

// Creates the two empty model records; called once at start.
void createModelRecords();

// The model a frame shows: the subdivided one above level 0, else the base model.
const ObjModel& shownModel();

enum class KeyCommand {
    none,
    raiseLevel,
    lowerLevel,
    toggleCulling,
    toggleLighting,
    toggleNormals,
    toggleWireframe,
    shortenNormals,
    lengthenNormals
};

// The command bound to a key; both characters of a key give the same command.
KeyCommand keyCommand(unsigned char key);

// Rebuilds `subdivided` from `base` for `level`; false, changing nothing, when it refuses.
using LevelDriver = bool (*)(const ObjModel& base, ObjModel*& subdivided, int level);

// Carries out a command on the program state. A level changes only when `driver` (the
// Doo-Sabin level driver unless a test passes another) accepts the new level.
void performKeyCommand(KeyCommand command, LevelDriver driver);
void performKeyCommand(KeyCommand command);

// GLUT callbacks of the window: keyboard, special keys (ignored), display and idle.
void onKey(unsigned char key, int x, int y);
void onSpecialKey(int key, int x, int y);
void displayScene();
// The start of every frame of the window: cleared, seen through the camera, the ground grid and
// the axes drawn; what the frame shows of the model comes after.
void beginSceneFrame();

// Last step of the 3D set-up: filled front and back polygons.
void selectFilledPolygons();
