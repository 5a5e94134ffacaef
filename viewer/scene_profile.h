// The choices in which the two programs' 3D windows differ. The viewer library reads one
// profile, `sceneProfile`, which each program defines once beside its entry point, so the
// choice is made when the program is linked and the library's code exists only once.
#pragma once

enum class UpAxis { y, z };

struct SceneProfile {
    // Which world axis points up on the screen; the ground grid lies in the plane normal to it.
    UpAxis upAxis;
    // Last step of initScene3d: each program's own one-time GL set-up.
    void (*finishSceneSetUp)();
};

extern const SceneProfile sceneProfile;
