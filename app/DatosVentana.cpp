#include "app/DatosVentana.h"

// The registry and the question set are not in the program yet: the gate
// closes here, after its file check, without touching any database.
bool TDatosVentana::ConectaBDPrinc(const std::string&) {
    return false;
}

std::shared_ptr<IVerificaNorvex> TDatosVentana::CreaCuestionario(int, double) {
    return nullptr;
}
