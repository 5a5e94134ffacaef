// Curve files, read and written through number_text: locale-free, and the shortest decimal form
// that reads back as the same double.
#include "curve_file.h"

#include <cmath>
#include <vector>

#include "number_text.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The blank-separated words of one line, up to a "#".
std::vector<std::string_view> wordsOf(std::string_view line) {
    line = line.substr(0, line.find('#'));
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && isBlank(line[at])) ++at;
        const std::size_t start = at;
        while (at < line.size() && !isBlank(line[at])) ++at;
        if (at > start) words.push_back(line.substr(start, at - start));
    }
    return words;
}

// A word that is a whole number and nothing else; false with the reason otherwise.
bool readNumber(std::string_view word, double& value, std::string& reason) {
    const NumberRead read = readDecimal(word, value);
    if (read == NumberRead::outOfRange) {
        reason = "'" + std::string(word) + "' is beyond the range of numbers";
        return false;
    }
    if (read != NumberRead::read) {
        reason = "'" + std::string(word) + "' is not a number";
        return false;
    }
    if (!std::isfinite(value)) {
        reason = "'" + std::string(word) + "' is not a finite number";
        return false;
    }
    return true;
}

// One control point line; false with the reason when it is not one.
bool readPointLine(const std::vector<std::string_view>& words, Point3d& point, double& weight,
                   std::string& reason) {
    if (words.size() != 3) {
        reason = "expected three numbers, x z weight, found " + std::to_string(words.size());
        return false;
    }
    double values[3];
    for (int k = 0; k < 3; ++k) {
        if (!readNumber(words[static_cast<std::size_t>(k)], values[k], reason)) return false;
    }
    if (values[0] < 0.0) {
        reason = "x is negative (" + std::string(words[0]) + "); the axis is x = 0";
        return false;
    }
    point = {values[0], 0.0, values[1]};
    weight = values[2];
    return true;
}

}  // namespace

bool readCurveText(std::string_view text, GeneratrixCurve& curve, CurveFileError& error) {
    GeneratrixCurve read;
    int lineNumber = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        ++lineNumber;
        const std::vector<std::string_view> words = wordsOf(text.substr(at, end - at));
        at = end + 1;
        if (words.empty()) continue;
        Point3d point;
        double weight = 0.0;
        std::string reason;
        if (!readPointLine(words, point, weight, reason)) {
            error = {lineNumber, reason};
            return false;
        }
        read.appendPoint(point, weight);
    }
    curve = std::move(read);
    return true;
}

std::string describeCurveError(const CurveFileError& error) {
    return "line " + std::to_string(error.line) + ": " + error.message;
}

std::string curveText(const GeneratrixCurve& curve) {
    std::string text = "# Revolva curve: one control point per line, x z weight\n";
    for (std::size_t i = 0; i < curve.pointCount(); ++i) {
        appendShortest(text, curve.controlPoints[i].x);
        text += ' ';
        appendShortest(text, curve.controlPoints[i].z);
        text += ' ';
        appendShortest(text, curve.weights[i]);
        text += '\n';
    }
    return text;
}
