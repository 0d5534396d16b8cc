#include "data/ConsultasSQL.h"

#include <cxxabi.h>

#include <ctime>
#include <filesystem>
#include <new>
#include <typeinfo>

#include "errors/ErroresBD.h"
#include "platform/jet/ErroresJet.h"

namespace {

std::string Desenreda(const char* sNombre) {
    int estado = 0;
    char* p = abi::__cxa_demangle(sNombre, nullptr, nullptr, &estado);
    std::string s = estado == 0 && p ? p : sNombre;
    std::free(p);
    const auto n = s.rfind("::");
    return n == std::string::npos ? s : s.substr(n + 2);
}

}  // namespace

TConsultasSQL::TConsultasSQL(ado::TADOConnection* Conector)
    : TInterfacedPadre(TErroresBD::Crea()),
      F_Conector(Conector),
      F_qConsultaGen(std::make_unique<ado::TADOQuery>()) {
    F_qConsultaGen->SetConnection(F_Conector);
}

TConsultasSQL::~TConsultasSQL() = default;

std::string TConsultasSQL::DameNombreClase() const {
    return Desenreda(typeid(*this).name());
}

void TConsultasSQL::MuestraFalla(const std::string& sClase, const std::string& sMensaje) {
    MuestraError("BD-101", DameNombreClase(), sClase + " - " + sMensaje);
}

bool TConsultasSQL::Corre(const std::string& sConsulta, ado::TADOQuery& qQuery,
                          void (ado::TADOQuery::*Accion)()) {
    qQuery.Close();
    qQuery.SQLClear();
    try {
        qQuery.SQLAdd(sConsulta);
        (qQuery.*Accion)();
        return true;
    } catch (...) {
        // Nothing escapes the data layer; a lack of memory is said as one.
        const jet::EErrorJet e = jet::ErrorDeFallo(std::current_exception());
        MuestraFalla(e.Clase(), e.Mensaje());
    }
    qQuery.Close();
    return false;
}

bool TConsultasSQL::PideConsulta(const std::string& sConsulta, ado::TADOQuery& qQuery) {
    return Corre(sConsulta, qQuery, &ado::TADOQuery::Open);
}

bool TConsultasSQL::EjecutaConsulta(const std::string& sConsulta, ado::TADOQuery& qQuery) {
    if (!Corre(sConsulta, qQuery, &ado::TADOQuery::ExecSQL))
        return false;
    qQuery.Close();
    return true;
}

void TConsultasSQL::LimpiaTabla(const std::string& sNomTabla, const std::string& sCondicion) {
    std::string sConsulta = "DELETE FROM " + sNomTabla;
    if (!sCondicion.empty())
        sConsulta += " WHERE " + sCondicion;
    EjecutaConsulta(sConsulta, *F_qConsultaGen);
}

void TConsultasSQL::InicializaTabla(const std::string& sNomTabla) {
    EjecutaConsulta("TRUNCATE TABLE " + sNomTabla, *F_qConsultaGen);
}

void TConsultasSQL::RespaldaBD(const std::string& sRutaOrigen, const std::string& sRutaDestino) {
    namespace fs = std::filesystem;
    std::string sDestino = sRutaDestino;
    if (sRutaDestino.find_first_not_of(' ') == std::string::npos) {
        const auto nSep = sRutaOrigen.find_last_of("/\\");
        const std::string sDir = nSep == std::string::npos ? "" : sRutaOrigen.substr(0, nSep + 1);
        const std::string sNombre =
            nSep == std::string::npos ? sRutaOrigen : sRutaOrigen.substr(nSep + 1);
        const std::string sCarpeta = sDir + "/Respaldos/";
        std::error_code ec;
        if (!fs::exists(sCarpeta, ec))
            fs::create_directory(sCarpeta, ec);
        const std::time_t ahora = std::time(nullptr);
        std::tm local{};
        localtime_r(&ahora, &local);
        char sSello[32];
        std::strftime(sSello, sizeof sSello, "%Y_%m_%d_%H_%M", &local);
        sDestino = sCarpeta + "RESP_" + sSello + "_" + sNombre;
    }
    // Nothing is reported: a failed backup leaves no trace, by design.
    std::error_code ec;
    fs::copy_file(sRutaOrigen, sDestino, fs::copy_options::overwrite_existing, ec);
}

std::string TConsultasSQL::DameLiteralSQL(const std::string& sTexto) {
    std::string sLiteral;
    for (char c : sTexto) {
        sLiteral += c;
        if (c == '\'')
            sLiteral += '\'';
    }
    return sLiteral;
}
