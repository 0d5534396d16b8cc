#pragma once

#include "app/IIDatosVentana.h"

// The window's data side in the program: the registry "ColectorGlobal" and
// the job's question-set object.
class TDatosVentana : public IDatosVentana {
public:
    bool ConectaBDPrinc(const std::string& sRutaBD) override;
    std::shared_ptr<IVerificaNorvex> CreaCuestionario(int nNumEmp, double dTCambio) override;
};
