// OpenGL's fixed-function lighting for one light, as the web build computes it per vertex:
// emission, the scene's ambient light, and the light's ambient, diffuse and specular terms for
// a viewer at infinity, with the light's position in eye space (w = 0: a direction).
#pragma once

#include "gl_matrix.h"

struct Color {
    float r, g, b, a;
};

struct LightParameters {
    Vec4f position;  // eye space, as glLightfv(GL_POSITION) transformed it
    Color ambient;
    Color diffuse;
    Color specular;
};

struct MaterialParameters {
    Color ambient;
    Color diffuse;
    Color specular;
    Color emission;
    float shininess;
};

// OpenGL's initial values: light 0, the material and the scene's ambient light.
LightParameters defaultLight0();
MaterialParameters defaultMaterial();
constexpr Color defaultSceneAmbient = {0.2f, 0.2f, 0.2f, 1.0f};

// The colour of a vertex at `eyePosition` (w may differ from 1) whose eye-space normal is
// `normal` (already of unit length when GL_NORMALIZE asks for it), each channel clamped to
// [0, 1]; alpha is the material's diffuse alpha. `lightOn` is whether light 0 is enabled.
Color litColor(const Vec4f& eyePosition, const Vec3f& normal, const MaterialParameters& material,
               const LightParameters& light, bool lightOn, const Color& sceneAmbient);
