#pragma once

#include <memory>

#include "app/IIDatosVentana.h"
#include "questionnaire/RepCuestionarioKOVA.h"

class IColectorConxs;
namespace ado {
class TADOConnection;
}

// The window's data side in the program: the connection registry (the
// program's "ColectorGlobal" unless another is given) and the job's
// question-set object, the 2018 edition, on the connection it hands out.
class TDatosVentana : public IDatosVentana {
public:
    // elReporte builds the report handler the question set fills.
    explicit TDatosVentana(TCreaManejadorReportes elReporte,
                           std::shared_ptr<IColectorConxs> Colector = nullptr);

    bool ConectaBDPrinc(const std::string& sRutaBD) override;
    std::shared_ptr<IRepCuestionarioKOVA> CreaCuestionario(
        int nNumEmp, double dTCambio, std::shared_ptr<IMensajero> Mensajero) override;

private:
    IColectorConxs& Colector();

    TCreaManejadorReportes F_elReporte;
    std::shared_ptr<IColectorConxs> F_Colector;
    ado::TADOConnection* F_Conector = nullptr;  // owned by the registry
};
