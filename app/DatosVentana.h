#pragma once

#include <memory>

#include "app/IIDatosVentana.h"

class IColectorConxs;
namespace ado {
class TADOConnection;
}

// The window's data side in the program: the connection registry (the
// program's "ColectorGlobal" unless another is given) and the job's
// question-set object on the connection it hands out.
class TDatosVentana : public IDatosVentana {
public:
    explicit TDatosVentana(std::shared_ptr<IColectorConxs> Colector = nullptr);

    bool ConectaBDPrinc(const std::string& sRutaBD) override;
    std::shared_ptr<IVerificaNorvex> CreaCuestionario(int nNumEmp, double dTCambio) override;

private:
    IColectorConxs& Colector();

    std::shared_ptr<IColectorConxs> F_Colector;
    ado::TADOConnection* F_Conector = nullptr;  // owned by the registry
};
