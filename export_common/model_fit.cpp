// The fit is worked out in double precision and each coordinate rounded once to float.
#include "model_fit.h"

#include <algorithm>
#include <cmath>

PointBounds drawnPointBounds(const ObjModel& model) {
    PointBounds bounds = {{HUGE_VAL, HUGE_VAL, HUGE_VAL}, {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL}, 0};
    for (std::int32_t i = 0; i < model.numVertices; ++i) {
        const Vec4f& v = model.vertices[i];
        const double w = v.w;
        const double point[3] = {v.x / w, v.y / w, v.z / w};
        if (!std::isfinite(point[0]) || !std::isfinite(point[1]) || !std::isfinite(point[2])) {
            continue;
        }
        for (int axis = 0; axis < 3; ++axis) {
            bounds.low[axis] = std::min(bounds.low[axis], point[axis]);
            bounds.high[axis] = std::max(bounds.high[axis], point[axis]);
        }
        ++bounds.points;
    }
    return bounds;
}

void fitModel(ObjModel& model) {
    const PointBounds bounds = drawnPointBounds(model);
    if (bounds.points == 0) return;
    // Halves first, so that boxes as wide as the double range still give finite numbers.
    double center[3], halfExtent = 0.0;
    for (int axis = 0; axis < 3; ++axis) {
        center[axis] = bounds.low[axis] / 2.0 + bounds.high[axis] / 2.0;
        halfExtent = std::max(halfExtent, bounds.high[axis] / 2.0 - bounds.low[axis] / 2.0);
    }
    const double scale = halfExtent > 0.0 ? 1.0 / halfExtent : 1.0;
    for (std::int32_t i = 0; i < model.numVertices; ++i) {
        Vec4f& v = model.vertices[i];
        const double w = v.w;
        // (p - c) * s for the point p = (x, y, z) / w, written back with the same w.
        v.x = static_cast<float>((v.x - center[0] * w) * scale);
        v.y = static_cast<float>((v.y - center[1] * w) * scale);
        v.z = static_cast<float>((v.z - center[2] * w) * scale);
    }
}
