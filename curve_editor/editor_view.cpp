// The editor's picture as data: sampled curve strips, markers and labels.
#include "editor_view.h"

#include <cstdio>

#include "editor_input.h"
#include "weight_sum_sign.h"

namespace {

// Each label number is written into a buffer of this size, so its text has at most 9 characters.
constexpr std::size_t labelNumberBufferSize = 10;

// Formats with the given printf pattern; false when the text would not fit the buffer.
bool formatInto(char (&buffer)[labelNumberBufferSize], const char* pattern, int precision,
                double value) {
    const int needed = std::snprintf(buffer, sizeof buffer, pattern, precision, value);
    return needed >= 0 && static_cast<std::size_t>(needed) < sizeof buffer;
}

}  // namespace

WindowPoint windowPosition(const Point3d& point) { return {1.0 - point.x, point.z}; }

std::vector<std::vector<WindowPoint>> curveStrips(const GeneratrixCurve& curve, int sampleCount) {
    const int count = sampleCount < 2 ? 2 : sampleCount;
    const float lastIndex = static_cast<float>(count - 1);
    std::vector<std::vector<WindowPoint>> strips(1);
    bool previousNegative = false;
    for (int k = 0; k < count; ++k) {
        const float t = static_cast<float>(k) / lastIndex;
        double weightSum = 0.0;
        const Point3d sample = curve.evaluate(t, weightSum);
        if (k > 0 && isNegativeWeightSum(weightSum) != previousNegative) strips.emplace_back();
        strips.back().push_back(windowPosition(sample));
        previousNegative = isNegativeWeightSum(weightSum);
    }
    return strips;
}

std::array<WindowPoint, 4> markerCorners(const Point3d& point) {
    const double x = point.x;
    const double z = point.z;
    return {{{1.0 - (x + pickTolerance), z + pickTolerance},
             {1.0 - (x + pickTolerance), z - pickTolerance},
             {1.0 - (x - pickTolerance), z - pickTolerance},
             {1.0 - (x - pickTolerance), z + pickTolerance}}};
}

std::string formatLabelNumber(double value, int decimals) {
    char buffer[labelNumberBufferSize];
    if (formatInto(buffer, "%.*f", decimals, value)) return buffer;
    for (int digits = 2; digits >= 0; --digits)
        if (formatInto(buffer, "%.*e", digits, value)) return buffer;
    return buffer;  // "%.0e" always fits: at most "-1e+308" plus one exponent digit
}

std::string pointLabelText(const Point3d& point, float weight) {
    return "(" + formatLabelNumber(point.x, 2) + "," + formatLabelNumber(point.z, 2) + "," +
           formatLabelNumber(weight, 1) + ")";
}

WindowPoint labelRasterPosition(const Point3d& point) {
    WindowPoint position = windowPosition(point);
    if (position.x + 0.2 > 1.0) position.x = 0.8;
    if (point.z + 0.02 > 1.0) position.y = 0.98;
    return position;
}
