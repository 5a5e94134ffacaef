// Lighting and material controls file.
#include "controls_file.h"

#include <fstream>
#include <locale>

float lightPosition[4] = {0.0f, 0.0f, 0.0f, 0.0f};
float lightAmbient[4] = {0.0f, 0.0f, 0.0f, 0.0f};
float lightDiffuse[4] = {0.0f, 0.0f, 0.0f, 0.0f};
float lightSpecular[4] = {0.0f, 0.0f, 0.0f, 0.0f};
float materialAmbient[4] = {0.0f, 0.0f, 0.0f, 0.0f};
float materialDiffuse[4] = {0.0f, 0.0f, 0.0f, 0.0f};
float materialSpecular[4] = {0.0f, 0.0f, 0.0f, 0.0f};
float materialShininess[1] = {0.0f};

namespace {

struct ControlsField {
    float* values;
    int count;
};

// The arrays in the order their numbers appear in the file.
const ControlsField controlsFileOrder[] = {
    {materialAmbient, 4}, {materialDiffuse, 4}, {materialSpecular, 4}, {materialShininess, 1},
    {lightPosition, 4},   {lightAmbient, 4},    {lightDiffuse, 4},     {lightSpecular, 4},
};

// A failed extraction stores 0 (or the largest float on overflow) into its target, so each
// number goes through a scratch value and reaches the array only when it was read whole.
bool readOneNumber(std::istream& in, float& element) {
    float value = 0.0f;
    if (!(in >> value)) return false;
    element = value;
    return true;
}

}  // namespace

int readControls(std::istream& in) {
    in.imbue(std::locale::classic());
    int stored = 0;
    for (const ControlsField& field : controlsFileOrder) {
        for (int k = 0; k < field.count; ++k) {
            if (!readOneNumber(in, field.values[k])) return stored;
            ++stored;
        }
    }
    return stored;
}

int loadControlsFrom(const std::string& path) {
    std::ifstream file(path);
    if (!file) return 0;
    return readControls(file);
}

void loadControls() { loadControlsFrom(controlsFileName); }
