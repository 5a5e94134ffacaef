// Unit tests link the viewer library without either program: a y-up profile with no
// set-up step of its own stands in for the program's choice.
#include "scene_profile.h"

const SceneProfile sceneProfile = {UpAxis::y, nullptr};
