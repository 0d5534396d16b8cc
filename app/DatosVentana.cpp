#include "app/DatosVentana.h"

#include <stdexcept>

#include "data/ColectorConxs.h"
#include "platform/ado/TADOConnection.h"
#include "platform/jet/Latido.h"
#include "platform/jet/MotorJet.h"
#include "questionnaire/RepCuestANDU2017.h"

namespace {
const char* const kBDPrincipal = "BDPrincipal";
}

TDatosVentana::TDatosVentana(TCreaManejadorReportes elReporte,
                             std::shared_ptr<IColectorConxs> Colector)
    : F_elReporte(std::move(elReporte)), F_Colector(std::move(Colector)) {}

IColectorConxs& TDatosVentana::Colector() {
    IColectorConxs* colector = F_Colector ? F_Colector.get() : ColectorGlobal.get();
    if (!colector)
        throw std::logic_error("No hay registro de conexiones.");
    return *colector;
}

bool TDatosVentana::ConectaBDPrinc(const std::string& sRutaBD) {
    // Registered once; later runs find "BDPrincipal" and reuse it.
    Colector().CreaBDPrinc(sRutaBD, "", false);
    if (!Colector().Conecta(kBDPrincipal))
        return false;
    ado::TADOConnection* Conector = nullptr;
    if (!Colector().DameAccessConex(kBDPrincipal, Conector) || !Conector)
        return false;
    F_Conector = Conector;
    if (!F_Conector->Connected())
        return false;
    // Without one of its own it leaves the engine's as the connection's
    // maker set it.
    if (F_Latido)
        F_Conector->Motor().PonLatido(F_Latido);
    return true;
}

std::shared_ptr<IRepCuestionarioKOVA> TDatosVentana::CreaCuestionario(
    int nNumEmp, double dTCambio, std::shared_ptr<IMensajero> Mensajero) {
    if (!F_Conector)
        return nullptr;
    F_nNumEmp = nNumEmp;
    return std::make_shared<TRepCuestANDU2017>(F_Conector, F_elReporte, std::move(Mensajero),
                                               dTCambio, nNumEmp, F_Edicion);
}
