#include "app/CompuertaAcceso.h"

#include "app/ArchivosNorvex.h"

namespace fs = std::filesystem;

TCompuertaAcceso::TCompuertaAcceso(fs::path sDirProg, std::shared_ptr<IDatosVentana> Datos,
                                   std::shared_ptr<IAvisosCompuerta> Avisos)
    : F_sDirProg(std::move(sDirProg)), F_Datos(std::move(Datos)), F_Avisos(std::move(Avisos)) {}

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

std::string TCompuertaAcceso::TxNoEsNorvex(const fs::path& sRutaBD,
                                           const std::vector<std::string>& faltan) {
    std::string sLista;
    for (const std::string& s : faltan) sLista += (sLista.empty() ? "" : ", ") + s;
    return "El archivo " + sRutaBD.string() + " no es una base de datos del Norvex: le falta" +
           (faltan.size() > 1 ? "n" : "") + " la" + (faltan.size() > 1 ? "s tablas " : " tabla ") +
           sLista + ".";
}

std::string TCompuertaAcceso::TxEmpresaInexistente(int nNumEmp) {
    return "La empresa activa de Norvex.INI, la número " + std::to_string(nNumEmp) +
           ", no está en la base de datos del Norvex.";
}

TCompuertaAcceso::TCierre TCompuertaAcceso::Pasa(const std::string& sUsuario,
                                                 const std::string& sPassw, double dTCambio,
                                                 std::shared_ptr<IMensajero> Mensajero,
                                                 TPuerta& Puerta) {
    const auto sRutaBD = DameRutaBD(F_sDirProg);
    if (!sRutaBD) {
        F_Avisos->MuestraSinBD(sTxSinBD);
        return ciSinBD;
    }
    F_Avisos->MuestraEstado(sTxConectando);
    // A failed open has already been shown by the connector.
    if (!F_Datos->ConectaBDPrinc(sRutaBD->string()))
        return ciSinConexion;
    Puerta.dTCambio = dTCambio;
    if (!DameEmpresaActiva(F_sDirProg, Puerta.nNumEmp)) {
        F_Avisos->MuestraCaja(sTxSinEmpresa);
        return ciSinEmpresa;
    }
    Puerta.Cuestionario =
        F_Datos->CreaCuestionario(Puerta.nNumEmp, Puerta.dTCambio, std::move(Mensajero));
    if (!Puerta.Cuestionario)
        return ciSinCuestionario;
    // Any other Access file would fail the next question for the wrong reason
    // (a missing table of connected users reads as someone connected).
    if (const auto faltan = Puerta.Cuestionario->TablasFaltantes(); !faltan.empty()) {
        F_Avisos->MuestraCaja(TxNoEsNorvex(*sRutaBD, faltan));
        return ciNoEsNorvex;
    }
    if (!Puerta.Cuestionario->EmpresaRegistrada(Puerta.nNumEmp)) {
        F_Avisos->MuestraCaja(TxEmpresaInexistente(Puerta.nNumEmp));
        return ciEmpresaInexistente;
    }
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
