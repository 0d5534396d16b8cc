// mdbgen DESCRIPCION.json SALIDA.mdb: writes an Access 2000 database from its JSON
// description. Exit 0 on success, 1 when the description cannot be read or
// the file cannot be written, 2 when the description is malformed (nothing
// is written then).
#include <fstream>
#include <iostream>

#include "tools/mdbgen/DescripcionJson.h"
#include "tools/mdbgen/EErrorMdb.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "uso: mdbgen DESCRIPCION.json SALIDA.mdb\n";
        return 1;
    }
    std::ifstream entrada(argv[1]);
    if (!entrada) {
        std::cerr << "mdbgen: no se pudo leer " << argv[1] << "\n";
        return 1;
    }
    try {
        mdb::TDescripcionJson::Escribe(entrada, argv[2]);
    } catch (const mdb::EErrorArchivoMdb& e) {
        std::cerr << "mdbgen: " << e.what() << "\n";
        return 1;
    } catch (const mdb::EErrorMdb& e) {
        std::cerr << "mdbgen: " << e.what() << "\n";
        return 2;
    }
    return 0;
}
