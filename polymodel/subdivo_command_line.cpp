// Subdivo's command line and its Portuguese notices.
#include "subdivo_command_line.h"

#include <cstdio>

const char* modelPathFromArguments(int argc, char** argv) {
    if (argc <= 1) {
        std::printf("Formato: Subdivo.exe <Modelo.obj>\n");
        std::printf("Faltando <Modelo.obj>: Carregando modelo padrao poly.obj...\n");
        return defaultModelPath;
    }
    if (argc == 2) {
        std::printf("Modelo: %s\n", argv[1]);
        return argv[1];
    }
    std::printf("Erro: Muitos argumentos\n");
    return nullptr;
}
