// Revolva's page: what the controls text would give the program, for the page to show. Revolva
// itself reads the file in silence; the page tells how many of the 29 numbers a text holds
// and where reading stops, by the program's own reading.
#include <algorithm>
#include <locale>
#include <sstream>
#include <string>

#include <emscripten.h>

#include "controls_file.h"

namespace {

constexpr int controlsCount = 29;

// The arrays as they are, so that a trial reading leaves the lighting alone.
struct ControlsCopy {
    float values[controlsCount];
};

float* const controlsArrays[] = {materialAmbient,   materialDiffuse, materialSpecular,
                                 materialShininess, lightPosition,   lightAmbient,
                                 lightDiffuse,      lightSpecular};
const int controlsArraySizes[] = {4, 4, 4, 1, 4, 4, 4, 4};

ControlsCopy copyControls() {
    ControlsCopy copy{};
    float* to = copy.values;
    for (int a = 0; a < 8; ++a) to = std::copy_n(controlsArrays[a], controlsArraySizes[a], to);
    return copy;
}

void restoreControls(const ControlsCopy& copy) {
    const float* from = copy.values;
    for (int a = 0; a < 8; ++a) {
        std::copy_n(from, controlsArraySizes[a], controlsArrays[a]);
        from += controlsArraySizes[a];
    }
}

// The offset where the number after the first `count` ones begins (its leading whitespace
// skipped), or the text's length when the input ends there.
long stopOffset(const std::string& text, int count) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    float value = 0.0f;
    for (int k = 0; k < count; ++k) in >> value;
    in >> std::ws;
    if (in.eof()) return static_cast<long>(text.size());
    return static_cast<long>(in.tellg());
}

}  // namespace

extern "C" {

// How many numbers the program reads from `text` (0 to 29), and in `*stoppedAt` the offset of
// the first character it could not read as the next number (the text's length when the text
// ended first). The program's lighting does not change.
EMSCRIPTEN_KEEPALIVE int webControlsNumbersRead(const char* text, long* stoppedAt) {
    const ControlsCopy kept = copyControls();
    std::istringstream in{std::string(text)};
    const int count = readControls(in);
    restoreControls(kept);
    *stoppedAt = count < controlsCount ? stopOffset(text, count) : -1;
    return count;
}

}  // extern "C"
