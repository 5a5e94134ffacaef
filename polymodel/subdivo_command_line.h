// Subdivo's command line: at most one argument, the OBJ model to show, with its notices on
// standard output.
#pragma once

// The model loaded when no argument is given, from the working directory.
constexpr const char* defaultModelPath = "poly.obj";

// Given the arguments GLUT has left (argv[0] the program), prints the notice of the case and
// returns the model path to load; null after "Erro: Muitos argumentos" for two or more.
const char* modelPathFromArguments(int argc, char** argv);
