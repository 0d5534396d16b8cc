#include "errors/ErroresBD.h"

void TErroresBD::CargaErrores() { AgregaError("BD-101", "Llame a Soporte Técnico.", "", true); }
