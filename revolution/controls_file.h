// The light and material of the surface window, read from the plain text file
// "controles.txt": 29 whitespace-separated numbers, material first, then the light.
#pragma once

#include <istream>
#include <string>

// The values handed to OpenGL on every surface frame; all zero until a file is read.
extern float lightPosition[4];
extern float lightAmbient[4];
extern float lightDiffuse[4];
extern float lightSpecular[4];
extern float materialAmbient[4];
extern float materialDiffuse[4];
extern float materialSpecular[4];
extern float materialShininess[1];

// The name the controls file is opened by, relative to the working directory.
constexpr const char* controlsFileName = "controles.txt";

// Reads up to 29 numbers from `in` (classic locale) into the arrays, in file order. Reading
// stops at the first token that is not a number or at the end of the input; the element it
// was meant for and every later one keep their values. Returns how many values were stored.
int readControls(std::istream& in);
// Opens `path` and reads it as readControls does; a file that cannot be opened changes nothing.
int loadControlsFrom(const std::string& path);
// Reads "controles.txt" from the working directory, silently keeping old values on failure.
void loadControls();
