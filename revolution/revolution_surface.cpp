// Construction of the four quarter-turn control nets from the generatrix.
#include "revolution_surface.h"

RevolutionSurface emptyRevolutionSurface() {
    RevolutionSurface surface;
    const SurfacePatch emptyPatch(patchRowCount);
    for (int k = 0; k < surfacePatchCount; ++k) surface.patches.push_back(emptyPatch);
    return surface;
}

RevolutionSurface revolutionSurface = emptyRevolutionSurface();

GeneratrixCurve shiftCurve(const GeneratrixCurve& curve, bool addXToY, double weightFactor) {
    GeneratrixCurve shifted;
    for (std::size_t i = 0; i < curve.pointCount(); ++i) {
        const Point3d& p = curve.controlPoints[i];
        const Point3d moved = addXToY ? Point3d{p.x, p.y + p.x, p.z} : Point3d{p.x - p.y, p.y, p.z};
        shifted.appendPoint(moved, weightFactor * curve.weights[i]);
    }
    return shifted;
}

namespace {

void restorePatchShape(RevolutionSurface& surface) {
    surface.patches.resize(surfacePatchCount);
    for (SurfacePatch& patch : surface.patches) patch.resize(patchRowCount);
}

}  // namespace

void rebuildSurface(RevolutionSurface& surface) {
    if (surface.source == nullptr) return;
    restorePatchShape(surface);
    const double corner = cornerWeightFactor;
    const double ring = ringWeightFactor;
    std::vector<SurfacePatch>& p = surface.patches;

    // Two shifts make a quarter turn: ring, corner, ring, ... around the square of the axis.
    const GeneratrixCurve r0 = *surface.source;
    const GeneratrixCurve c01 = shiftCurve(r0, moveAlongY, corner);
    const GeneratrixCurve r1 = shiftCurve(c01, moveAlongX, ring);
    const GeneratrixCurve c12 = shiftCurve(r1, moveAlongX, corner);
    const GeneratrixCurve r2 = shiftCurve(c12, moveAlongY, ring);
    const GeneratrixCurve c23 = shiftCurve(r2, moveAlongY, corner);
    const GeneratrixCurve r3 = shiftCurve(c23, moveAlongX, ring);
    const GeneratrixCurve c30 = shiftCurve(r3, moveAlongX, corner);
    const GeneratrixCurve r4 = shiftCurve(c30, moveAlongY, ring);

    // Neighbouring patches share their ring rows; the last ring closes at the start angle.
    p[0] = {r0, c01, r1};
    p[1] = {r1, c12, r2};
    p[2] = {r2, c23, r3};
    p[3] = {r3, c30, r4};
}

void rebuildSurface() { rebuildSurface(revolutionSurface); }

void rebuildRoundSurface(RevolutionSurface& surface) {
    if (surface.source == nullptr) return;
    restorePatchShape(surface);
    const double corner = roundCornerWeightFactor;
    std::vector<SurfacePatch>& p = surface.patches;

    // Each ring comes from the one before by two unweighted shifts; each corner row is the
    // ring before it shifted once more, with the corner's weight.
    const GeneratrixCurve r0 = *surface.source;
    const GeneratrixCurve r1 = shiftCurve(shiftCurve(r0, moveAlongY, 1.0), moveAlongX, 1.0);
    const GeneratrixCurve r2 = shiftCurve(shiftCurve(r1, moveAlongX, 1.0), moveAlongY, 1.0);
    const GeneratrixCurve r3 = shiftCurve(shiftCurve(r2, moveAlongY, 1.0), moveAlongX, 1.0);
    const GeneratrixCurve r4 = shiftCurve(shiftCurve(r3, moveAlongX, 1.0), moveAlongY, 1.0);
    p[0] = {r0, shiftCurve(r0, moveAlongY, corner), r1};
    p[1] = {r1, shiftCurve(r1, moveAlongX, corner), r2};
    p[2] = {r2, shiftCurve(r2, moveAlongY, corner), r3};
    p[3] = {r3, shiftCurve(r3, moveAlongX, corner), r4};
}
