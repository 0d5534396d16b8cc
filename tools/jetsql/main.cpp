// jetsql: looks into an Access file the way the program does.
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "tools/jetsql/Jetsql.h"

int main(int argc, char** argv) {
    std::string sError;
    const auto opciones = LeeOpcionesJetsql({argv + 1, argv + argc}, sError);
    if (!opciones) {
        std::cerr << sError << '\n';
        if (sError != sUsoJetsql)
            std::cerr << sUsoJetsql << '\n';
        std::cerr << "jetsql --ayuda muestra todas las opciones.\n";
        return 2;
    }
    TEntornoJetsql entorno;
    entorno.entrada = &std::cin;
    entorno.bEntradaTerminal = isatty(STDIN_FILENO);
    entorno.bSalidaTerminal = isatty(STDOUT_FILENO);
    if (const char* sCasa = std::getenv("HOME"); sCasa && *sCasa)
        entorno.sHistorial = std::string(sCasa) + "/.jetsql_historial";
    return EjecutaJetsql(*opciones, std::cout, std::cerr, entorno);
}
