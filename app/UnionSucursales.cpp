#include "app/UnionSucursales.h"

#include <QStringDecoder>
#include <algorithm>

#include "app/ArchivosNorvex.h"
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
std::filesystem::path SinSeparador(const std::filesystem::path& c) {
    return c.has_filename() ? c : c.parent_path();
}

// Norvex is a Windows program: its settings file may be in the Windows code
// page rather than UTF-8 ("SUCURSAL PEÑÓN" with one byte per letter).
std::string ComoUtf8(const std::string& sBytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString s = utf8(QByteArrayView(sBytes));
    return (utf8.hasError() ? QString::fromLatin1(sBytes) : s).simplified().toStdString();
}

}  // namespace

std::string TUnionSucursales::NombreSucursal(const std::filesystem::path& sCarpeta) {
    const std::filesystem::path sDir = SinSeparador(sCarpeta);
    if (const auto sIni = archivos_norvex::BuscaSinCaso(sDir, "Norvex.INI")) {
        if (const auto sNombre = archivos_norvex::LeeCadenaIni(*sIni, "Control", "Sucursal")) {
            const std::string s = ComoUtf8(*sNombre);
            if (!s.empty())
                return s;
        }
    }
    return sDir.filename().string();
}

std::vector<std::string> TUnionSucursales::NombresSucursales(
    const std::vector<std::filesystem::path>& carpetas) {
    std::vector<std::string> nombres;
    for (const auto& c : carpetas) nombres.push_back(NombreSucursal(c));
    std::vector<std::string> unicos = nombres;
    for (size_t i = 0; i < nombres.size(); ++i)
        if (std::count(nombres.begin(), nombres.end(), nombres[i]) > 1)
            unicos[i] += " (" + SinSeparador(carpetas[i]).string() + ")";
    return unicos;
}

std::string TUnionSucursales::LineaTitulo(const std::vector<std::filesystem::path>& carpetas) {
    if (carpetas.size() < 2)
        return "";
    std::string s = "\r\nSucursales consolidadas: ";
    const auto nombres = NombresSucursales(carpetas);
    for (size_t i = 0; i < nombres.size(); ++i) s += (i ? "; " : "") + nombres[i];
    return s;
}

std::string TUnionSucursales::SucursalesDe(const TUnionNorvex& Union,
                                           const std::vector<std::filesystem::path>& carpetas,
                                           const std::string& sClaveCliente) {
    return SucursalesDe(Union, NombresSucursales(carpetas), sClaveCliente);
}

std::string TUnionSucursales::SucursalesDe(const TUnionNorvex& Union,
                                           const std::vector<std::string>& nombres,
                                           const std::string& sClaveCliente) {
    std::string s;
    for (size_t n : Union.DameSucursalesConAlertas(sClaveCliente))
        if (n < nombres.size())
            s += (s.empty() ? "" : "; ") + nombres[n];
    return s;
}
