#include "data/ConsultasSQL.h"

#include <cxxabi.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <typeinfo>

#include "errors/ErroresBD.h"
#include "platform/jet/EErrorJet.h"

namespace {

// The most derived class names the failure, as the user sees it in the box.
std::string NombreClase(const std::type_info& tipo) {
    int nEstado = 0;
    std::unique_ptr<char, void (*)(void*)> nombre(
        abi::__cxa_demangle(tipo.name(), nullptr, nullptr, &nEstado), std::free);
    return nEstado == 0 && nombre ? nombre.get() : tipo.name();
}

}  // namespace

TConsultasSQL::TConsultasSQL(ado::TADOConnection* Conector)
    : F_Conector(Conector),
      F_qConsultaGen(std::make_unique<ado::TADOQuery>(Conector)),
      F_Errores(TErroresBD::Crea()) {}

TConsultasSQL::~TConsultasSQL() = default;

void TConsultasSQL::MuestraFalla(const std::exception& e) {
    const auto* jet = dynamic_cast<const jet::EErrorJet*>(&e);
    const std::string sClase = jet ? jet->Clase() : NombreClase(typeid(e));
    F_Errores->MuestraError("BD-101", NombreClase(typeid(*this)), sClase + " - " + e.what());
}

bool TConsultasSQL::PideConsulta(const std::string& sConsulta, ado::TADOQuery& qQuery) {
    qQuery.Close();
    qQuery.SQLClear();
    try {
        qQuery.SQLAdd(sConsulta);
        qQuery.Open();
        return true;
    } catch (const std::exception& e) {
        qQuery.Close();
        MuestraFalla(e);
        return false;
    }
}

bool TConsultasSQL::EjecutaConsulta(const std::string& sConsulta, ado::TADOQuery& qQuery) {
    qQuery.Close();
    qQuery.SQLClear();
    try {
        qQuery.SQLAdd(sConsulta);
        qQuery.ExecSQL();
        qQuery.Close();
        return true;
    } catch (const std::exception& e) {
        qQuery.Close();
        MuestraFalla(e);
        return false;
    }
}

void TConsultasSQL::LimpiaTabla(const std::string& sNomTabla, const std::string& sCondicion) {
    std::string sSentencia = "DELETE FROM " + sNomTabla;
    if (!sCondicion.empty())
        sSentencia += " WHERE " + sCondicion;
    EjecutaConsulta(sSentencia, *F_qConsultaGen);
}

void TConsultasSQL::InicializaTabla(const std::string& sNomTabla) {
    EjecutaConsulta("TRUNCATE TABLE " + sNomTabla, *F_qConsultaGen);
}

void TConsultasSQL::RespaldaBD(const std::string& sRutaOrigen, const std::string& sRutaDestino) {
    namespace fs = std::filesystem;
    std::string sDestino = sRutaDestino;
    if (sRutaDestino.find_first_not_of(' ') == std::string::npos) {
        const fs::path origen(sRutaOrigen);
        const std::string sCarpeta = origen.parent_path().string() + "/" + "/Respaldos/";
        std::error_code ec;
        if (!fs::exists(sCarpeta, ec))
            fs::create_directory(sCarpeta, ec);
        const std::time_t ahora = std::time(nullptr);
        std::tm local{};
        localtime_r(&ahora, &local);
        char sSello[32];
        std::strftime(sSello, sizeof sSello, "%Y_%m_%d_%H_%M", &local);
        sDestino = sCarpeta + "RESP_" + sSello + "_" + origen.filename().string();
    }
    std::error_code ec;
    fs::copy_file(sRutaOrigen, sDestino, fs::copy_options::overwrite_existing, ec);
}
