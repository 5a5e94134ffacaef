// Fixed-function lighting of one light.
#include "gl_lighting.h"

#include <algorithm>
#include <cmath>

LightParameters defaultLight0() {
    return {{0.0f, 0.0f, 1.0f, 0.0f},
            {0.0f, 0.0f, 0.0f, 1.0f},
            {1.0f, 1.0f, 1.0f, 1.0f},
            {1.0f, 1.0f, 1.0f, 1.0f}};
}

MaterialParameters defaultMaterial() {
    return {{0.2f, 0.2f, 0.2f, 1.0f},
            {0.8f, 0.8f, 0.8f, 1.0f},
            {0.0f, 0.0f, 0.0f, 1.0f},
            {0.0f, 0.0f, 0.0f, 1.0f},
            0.0f};
}

namespace {

// The unit vector from the vertex towards the light: the light's direction when it is at
// infinity, else the difference of the two points after their divisions by w.
Vec3f towardsLight(const Vec4f& vertex, const Vec4f& light) {
    if (light.w == 0.0f) return normalized({light.x, light.y, light.z});
    const float vw = vertex.w != 0.0f ? vertex.w : 1.0f;
    return normalized({light.x / light.w - vertex.x / vw, light.y / light.w - vertex.y / vw,
                       light.z / light.w - vertex.z / vw});
}

float clamp01(float v) { return std::min(std::max(v, 0.0f), 1.0f); }

}  // namespace

Color litColor(const Vec4f& eyePosition, const Vec3f& normal, const MaterialParameters& material,
               const LightParameters& light, bool lightOn, const Color& sceneAmbient) {
    float r = material.emission.r + material.ambient.r * sceneAmbient.r;
    float g = material.emission.g + material.ambient.g * sceneAmbient.g;
    float b = material.emission.b + material.ambient.b * sceneAmbient.b;
    if (lightOn) {
        r += material.ambient.r * light.ambient.r;
        g += material.ambient.g * light.ambient.g;
        b += material.ambient.b * light.ambient.b;
        const Vec3f l = towardsLight(eyePosition, light.position);
        const float diffuse = dot(normal, l);
        // Only a lit side gets diffuse and specular light.
        if (diffuse > 0.0f) {
            r += diffuse * material.diffuse.r * light.diffuse.r;
            g += diffuse * material.diffuse.g * light.diffuse.g;
            b += diffuse * material.diffuse.b * light.diffuse.b;
            // The viewer is at infinity along +z, so the half vector is l + (0, 0, 1).
            const Vec3f half = normalized({l.x, l.y, l.z + 1.0f});
            const float facing = dot(normal, half);
            if (facing > 0.0f) {
                const float highlight = std::pow(facing, material.shininess);
                r += highlight * material.specular.r * light.specular.r;
                g += highlight * material.specular.g * light.specular.g;
                b += highlight * material.specular.b * light.specular.b;
            }
        }
    }
    return {clamp01(r), clamp01(g), clamp01(b), clamp01(material.diffuse.a)};
}
