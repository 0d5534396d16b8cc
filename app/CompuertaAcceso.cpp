#include "app/CompuertaAcceso.h"

#include "app/ArchivosNorvex.h"
#include "data/IIColectorConxs.h"
#include "platform/ado/TADOConnection.h"

namespace fs = std::filesystem;

namespace {
const char* const kBDPrincipal = "BDPrincipal";
}

TCompuertaAcceso::TCompuertaAcceso(fs::path sDirProg, IColectorConxs& Colector,
                                   std::shared_ptr<IAvisosCompuerta> Avisos)
    : F_sDirProg(std::move(sDirProg)), F_Colector(Colector), F_Avisos(std::move(Avisos)) {}

std::optional<fs::path> TCompuertaAcceso::DameRutaBD(const fs::path& sDir) {
    auto sRuta = archivos_norvex::BuscaSinCaso(sDir, "DataBase/Norvex.mdb");
    std::error_code ec;
    if (!sRuta || !fs::is_regular_file(*sRuta, ec))
        return std::nullopt;
    return sRuta;
}

bool TCompuertaAcceso::DameEmpresaActiva(const fs::path& sDir, int& nNumEmp) {
    const auto sRuta = archivos_norvex::BuscaSinCaso(sDir, "Norvex.INI");
    std::error_code ec;
    if (!sRuta || !fs::is_regular_file(*sRuta, ec))
        return false;
    nNumEmp = archivos_norvex::LeeEnteroIni(*sRuta, "Control", "EmpresaActiva");
    return nNumEmp > 0;
}

bool TCompuertaAcceso::ConectaBDPrinc(const fs::path& sRutaBD, ado::TADOConnection*& Conector) {
    F_Avisos->MuestraEstado(sTxConectando);
    // Registered once; a later run finds "BDPrincipal" and reuses it. A failed
    // open has already been shown by the connector.
    F_Colector.CreaBDPrinc(sRutaBD.string(), "", false);
    if (!F_Colector.Conecta(kBDPrincipal))
        return false;
    if (!F_Colector.DameAccessConex(kBDPrincipal, Conector) || !Conector)
        return false;
    return Conector->Connected();
}

TCompuertaAcceso::TCierre TCompuertaAcceso::Pasa(const std::string& sUsuario,
                                                 const std::string& sPassw, double dTCambio,
                                                 const TCreaCuestionario& CreaCuestionario,
                                                 TPuerta& Puerta) {
    const auto sRutaBD = DameRutaBD(F_sDirProg);
    if (!sRutaBD) {
        F_Avisos->MuestraCaja(sTxSinBD);
        return ciSinBD;
    }
    if (!ConectaBDPrinc(*sRutaBD, Puerta.Conector))
        return ciSinConexion;
    Puerta.dTCambio = dTCambio;
    if (!DameEmpresaActiva(F_sDirProg, Puerta.nNumEmp)) {
        F_Avisos->MuestraCaja(sTxSinEmpresa);
        return ciSinEmpresa;
    }
    Puerta.Cuestionario = CreaCuestionario(Puerta.Conector, Puerta.nNumEmp, Puerta.dTCambio);
    if (!Puerta.Cuestionario)
        return ciSinCuestionario;
    if (Puerta.Cuestionario->UsuariosConectados()) {
        F_Avisos->MuestraCaja(sTxUsuarioConectado);
        return ciUsuarioConectado;
    }
    // The typed values go as they are: not trimmed, already upper case.
    if (!Puerta.Cuestionario->ValidaAcceso(sUsuario, sPassw, true)) {
        F_Avisos->CredencialesRechazadas(sTxCredencialesCaja, sTxCredencialesEstado);
        return ciCredenciales;
    }
    return ciAbierta;
}
