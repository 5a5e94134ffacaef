// The rational de Casteljau construction: linear blends of homogeneous points, which stay
// exact where the weights are negative or small, unlike blends of the projected points.
#include "curve_construction.h"

namespace {

ConstructionPoint blend(const ConstructionPoint& a, const ConstructionPoint& b, double t) {
    const double s = 1.0 - t;
    return {{s * a.weighted.x + t * b.weighted.x, s * a.weighted.y + t * b.weighted.y,
             s * a.weighted.z + t * b.weighted.z},
            s * a.weight + t * b.weight};
}

}  // namespace

CurveConstruction constructCurvePoint(const GeneratrixCurve& curve, double t) {
    CurveConstruction construction;
    if (curve.pointCount() == 0) return construction;
    std::vector<ConstructionPoint> lifted;
    for (std::size_t i = 0; i < curve.pointCount(); ++i) {
        const Point3d& p = curve.controlPoints[i];
        const double w = curve.weights[i];
        lifted.push_back({{w * p.x, w * p.y, w * p.z}, w});
    }
    construction.rounds.push_back(lifted);
    while (construction.rounds.back().size() > 1) {
        const std::vector<ConstructionPoint>& previous = construction.rounds.back();
        std::vector<ConstructionPoint> next;
        for (std::size_t i = 0; i + 1 < previous.size(); ++i) {
            next.push_back(blend(previous[i], previous[i + 1], t));
        }
        construction.rounds.push_back(next);
    }
    return construction;
}

Point3d projectedPoint(const ConstructionPoint& point) {
    return {point.weighted.x / point.weight, point.weighted.y / point.weight,
            point.weighted.z / point.weight};
}
