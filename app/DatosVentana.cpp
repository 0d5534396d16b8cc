#include "app/DatosVentana.h"

#include <stdexcept>

#include "data/ColectorConxs.h"
#include "platform/ado/TADOConnection.h"

namespace {
const char* const kBDPrincipal = "BDPrincipal";
}

TDatosVentana::TDatosVentana(std::shared_ptr<IColectorConxs> Colector)
    : F_Colector(std::move(Colector)) {}

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
    return F_Conector->Connected();
}

// The question set is not in the program yet: the gate closes here, after the
// connection, without a question-set object.
std::shared_ptr<IVerificaNorvex> TDatosVentana::CreaCuestionario(int, double) {
    return nullptr;
}
