// Tessellation of the surface of revolution into triangle strips: Nu - 1 columns of Nv
// samples around the axis, one band of strips between neighbouring columns, each strip
// broken where the weight sum changes sign. Computed without OpenGL, band by band.
#pragma once

#include <functional>
#include <vector>

#include "point3d.h"
#include "revolution_surface.h"
#include "weight_sum_sign.h"

// One emitted vertex: its normal, then its point, as handed to glNormal3f / glVertex3f.
struct StripVertex {
    Point3d normal;
    Point3d point;
};
// The vertices of one GL_TRIANGLE_STRIP in emission order: earlier column, later column,
// for each sample along the generatrix.
using TriangleStrip = std::vector<StripVertex>;
// The strips between two neighbouring columns, in emission order.
using SurfaceBand = std::vector<TriangleStrip>;

// A surface sample: point, weight sum and normal at one (u, v).
struct SurfaceSample {
    Point3d point;
    double weightSum = 0.0;
    Point3d normal;
};

// How the samples are evaluated. Both give bit-for-bit the same numbers: `plain` calls
// surfacePoint and surfaceNormal for every sample; `reusedBasis` computes each Bernstein
// value once per frame (along the generatrix) or once per column (around the axis). The
// program draws with `reusedBasis` only; `plain` stays as the reference that tests compare
// it with bit for bit and that the benchmark measures it against.
enum class SampleEvaluation { plain, reusedBasis };

// Called once per band, in drawing order; the band is only valid during the call.
using BandSink = std::function<void(const SurfaceBand&)>;

// A coordinate in single precision for OpenGL; values beyond the float range (near a pole of
// the rational surface) become infinities of their sign rather than an undefined conversion.
float singlePrecision(double value);

// The turning parameter of column i: (i / (Nu - 1)) * patchCount.
double columnParameter(int i, int revolutionSamples, int patchCount);
// The generatrix parameter of sample j: j / (Nv - 1).
double sampleParameter(int j, int curveSamples);

// Strips of the band from column `earlier` to column `later`, broken where the weight sums
// of `later` change sign; both columns must have the same length. `band` is overwritten.
void bandStrips(const std::vector<SurfaceSample>& earlier, const std::vector<SurfaceSample>& later,
                SurfaceBand& band);

// Samples `surface` (4 patches, as rebuilt) on Nu - 1 columns of Nv samples and hands each
// of the Nu - 1 bands to `sink`, the closing band last, reusing column 0. Only three columns
// and one band are held at a time. Nothing is emitted when Nu < 2 or Nv < 2.
void tessellateSurface(const RevolutionSurface& surface, int revolutionSamples, int curveSamples,
                       const BandSink& sink,
                       SampleEvaluation evaluation = SampleEvaluation::reusedBasis);

// All bands at once, for small counts (tests and traces).
std::vector<SurfaceBand> surfaceBands(const RevolutionSurface& surface, int revolutionSamples,
                                      int curveSamples,
                                      SampleEvaluation evaluation = SampleEvaluation::reusedBasis);
