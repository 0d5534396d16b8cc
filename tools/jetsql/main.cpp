// jetsql: looks into an Access file the way the program does.
#include <iostream>

#include "tools/jetsql/Jetsql.h"

int main(int argc, char** argv) {
    std::string sError;
    const auto opciones = LeeOpcionesJetsql({argv + 1, argv + argc}, sError);
    if (!opciones) {
        std::cerr << sError << '\n';
        if (sError != sUsoJetsql)
            std::cerr << sUsoJetsql << '\n';
        return 2;
    }
    return EjecutaJetsql(*opciones, std::cout, std::cerr);
}
