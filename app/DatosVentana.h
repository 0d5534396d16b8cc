#pragma once

#include <memory>

#include "app/IIDatosVentana.h"
#include "questionnaire/Edicion.h"
#include "questionnaire/RepCuestionarioKOVA.h"

class IColectorConxs;
namespace ado {
class TADOConnection;
}
namespace jet {
class TLatido;
}

// A job's data side in the program: the connection registry (the program's
// "ColectorGlobal" unless another is given) and the job's question-set
// object, of the edition in use (the default one unless another is set), on
// the connection it hands out. The batch program derives its own question set
// from it.
class TDatosVentana : public IDatosVentana {
public:
    // elReporte builds the report handler the question set fills.
    explicit TDatosVentana(TCreaManejadorReportes elReporte,
                           std::shared_ptr<IColectorConxs> Colector = nullptr);

    bool ConectaBDPrinc(const std::string& sRutaBD) override;
    std::shared_ptr<IRepCuestionarioKOVA> CreaCuestionario(
        int nNumEmp, double dTCambio, std::shared_ptr<IMensajero> Mensajero) override;

    // The company number of the question set created last (0 before the
    // first); set before the set builds its report handler, which may read it.
    int DameNumEmpresa() const { return F_nNumEmp; }
    // The connection handed out last; null before the first.
    ado::TADOConnection* DameConexion() const { return F_Conector; }
    // What the engine of every connection handed out calls while it works
    // (the window keeps itself painted with it); none: the engine keeps its own.
    void PonLatido(std::shared_ptr<jet::TLatido> latido) { F_Latido = std::move(latido); }
    // The edition of the question sets created from now on; none, the
    // default edition.
    void PonEdicion(std::shared_ptr<const TEdicion> edicion) { F_Edicion = std::move(edicion); }
    const std::shared_ptr<const TEdicion>& DameEdicion() const { return F_Edicion; }

protected:
    const TCreaManejadorReportes& ElReporte() const { return F_elReporte; }
    // The connection handed out last; null before the first.
    ado::TADOConnection* Conector() const { return F_Conector; }

private:
    IColectorConxs& Colector();

    TCreaManejadorReportes F_elReporte;
    std::shared_ptr<IColectorConxs> F_Colector;
    ado::TADOConnection* F_Conector = nullptr;  // owned by the registry
    int F_nNumEmp = 0;
    std::shared_ptr<jet::TLatido> F_Latido;
    std::shared_ptr<const TEdicion> F_Edicion;
};
