#include "app/UnionSucursales.h"

#include "app/DatosVentana.h"
#include "data/ColectorConxs.h"
#include "data/UnionNorvex.h"
#include "platform/ado/TADOConnection.h"

TCompuertaAcceso::TCierre TUnionSucursales::Une(ado::TADOConnection& Matriz,
                                                const TPeticion& Peticion,
                                                std::shared_ptr<IMensajero> Mensajero,
                                                std::shared_ptr<IAvisosCompuerta> Avisos,
                                                std::filesystem::path& sRechazada,
                                                std::shared_ptr<TUnionNorvex>& Union) {
    Union.reset();
    if (Peticion.sucursales.empty()) {
        Matriz.UneArchivos({}, nullptr);
        return TCompuertaAcceso::ciAbierta;
    }
    std::vector<std::pair<std::string, std::string>> otros;
    std::vector<int64_t> empresas{Peticion.nNumEmp};
    for (const auto& sCarpeta : Peticion.sucursales) {
        // Only the gate's checks: the question set is never run.
        auto Datos = std::make_shared<TDatosVentana>(
            [](const std::string&) -> std::shared_ptr<IManejadorReportes> { return nullptr; },
            std::make_shared<TColectorConxs>());
        TCompuertaAcceso Compuerta(sCarpeta, Datos, Avisos);
        TCompuertaAcceso::TPuerta Puerta;
        const auto eCierre = Compuerta.Pasa(Peticion.sUsuario, Peticion.sPassw, Peticion.dTCambio,
                                            Mensajero, Puerta);
        if (eCierre != TCompuertaAcceso::ciAbierta) {
            sRechazada = sCarpeta;
            return eCierre;
        }
        otros.emplace_back(Datos->DameConexion()->RutaArchivo(),
                           Datos->DameConexion()->ContrasenaArchivo());
        empresas.push_back(Puerta.nNumEmp);
    }
    Union = std::make_shared<TUnionNorvex>(empresas);
    Matriz.UneArchivos(otros, Union);
    return TCompuertaAcceso::ciAbierta;
}

namespace {

// The program's folder comes with a closing separator; the name reads without it.
std::string NombreCarpeta(const std::filesystem::path& c) {
    return (c.has_filename() ? c : c.parent_path()).string();
}

}  // namespace

std::string TUnionSucursales::LineaTitulo(const std::vector<std::filesystem::path>& carpetas) {
    if (carpetas.size() < 2)
        return "";
    std::string s = "\r\nSucursales consolidadas: ";
    for (size_t i = 0; i < carpetas.size(); ++i) s += (i ? "; " : "") + NombreCarpeta(carpetas[i]);
    return s;
}

std::string TUnionSucursales::SucursalesDe(const TUnionNorvex& Union,
                                           const std::vector<std::filesystem::path>& carpetas,
                                           const std::string& sClaveCliente) {
    std::string s;
    for (size_t n : Union.DameSucursalesConAlertas(sClaveCliente))
        if (n < carpetas.size())
            s += (s.empty() ? "" : "; ") + NombreCarpeta(carpetas[n]);
    return s;
}
