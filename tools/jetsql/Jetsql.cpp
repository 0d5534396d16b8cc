#include "tools/jetsql/Jetsql.h"

#include <filesystem>
#include <optional>
#include <sstream>

#include "platform/ado/TADOConnection.h"
#include "platform/archivos/LeeArchivo.h"
#include "platform/jet/AvisosLibmdb.h"
#include "platform/jet/ErroresJet.h"
#include "platform/jet/MotorJet.h"
#include "tools/jetsql/AdjuntosJetsql.h"
#include "tools/jetsql/ConsolaJetsql.h"
#include "tools/jetsql/ExportaCsv.h"
#include "tools/jetsql/ExportaSqlite.h"
#include "tools/jetsql/FormatoResultado.h"
#include "tools/jetsql/SesionJetsql.h"

namespace {

// The file is opened through the connection object with the string the
// Access connector would give it, so the tool sees what the program sees.
void Abre(ado::TADOConnection& conexion, const TOpcionesJetsql& opciones) {
    conexion.SetConnectionString(std::string("Provider=") + ado::sProveedorJet +
                                 ";Data Source=" + opciones.sArchivo +
                                 ";Persist Security Info=True;Mode=Share Deny None" +
                                 ";Jet OLEDB:Database Password=" + opciones.sContrasena);
    conexion.SetLoginPrompt(false);
    conexion.SetConnected(true);
}

void ListaTablas(jet::TArchivoAccess& archivo, std::ostream& salida) {
    for (const auto& sNombre : archivo.DameNombresTablas())
        salida << sNombre << '\t' << archivo.BuscaTabla(sNombre)->nFilas << '\n';
}

std::string LeeTodo(std::istream& entrada) {
    std::ostringstream s;
    s << entrada.rdbuf();
    return s.str();
}

// Access itself never makes a file over 2 GB.
constexpr std::size_t kMaxBytesAccess = std::size_t{2} * 1024 * 1024 * 1024;

// The database and the script named on the command line, checked before
// anything is opened: each a regular file of a sane size (a folder, a device
// or a FIFO is refused at once, never read without end nor waited on). A
// name that does not exist goes on to the reader that says so in its words.
bool RevisaEntradas(const TOpcionesJetsql& opciones, std::optional<std::string>& sGuion,
                    std::ostream& errores) {
    std::string sError;
    std::error_code ec;
    if (!opciones.sArchivo.empty() && std::filesystem::exists(opciones.sArchivo, ec) &&
        !archivos::EsArchivoRegular(opciones.sArchivo, kMaxBytesAccess, sError)) {
        errores << sError << '\n';
        return false;
    }
    if (!opciones.sGuion.empty() && std::filesystem::exists(opciones.sGuion, ec)) {
        sGuion = archivos::LeeArchivoRegular(opciones.sGuion, archivos::kMaxBytesGuion, sError);
        if (!sGuion) {
            errores << sError << '\n';
            return false;
        }
    }
    return true;
}

int EjecutaGuion(TSesionJetsql& sesion, jet::TMotorJet& motor, const TOpcionesJetsql& opciones,
                 const std::optional<std::string>& sGuion, const TEntornoJetsql& entorno) {
    std::string sTexto;
    if (!opciones.sGuion.empty()) {
        if (!sGuion)
            throw jet::ErrorJet(jet::TErrorJet::GuionIlegible, {opciones.sGuion});
        sTexto = *sGuion;
    } else if (entorno.bEntradaTerminal) {
        // Results may go to a file while the prompt stays on the terminal.
        // The heartbeat only carries the console's Ctrl-C to the engine.
        auto latido = std::make_shared<jet::TLatido>(nullptr);
        motor.PonLatido(latido);
        return EjecutaConsola(sesion, *latido, stdin, entorno.bSalidaTerminal ? stdout : stderr,
                              stderr, entorno.sHistorial);
    } else if (entorno.entrada) {
        sTexto = LeeTodo(*entorno.entrada);
    }
    return sesion.EjecutaGuion(sTexto, opciones.bContinuar) ? 0 : 1;
}

}  // namespace

int EjecutaJetsql(const TOpcionesJetsql& opciones, std::ostream& salida, std::ostream& errores,
                  const TEntornoJetsql& entorno) {
    if (opciones.eAccion == TOpcionesJetsql::taAyuda) {
        salida << DameAyudaJetsql();
        return 0;
    }
    if (opciones.eAccion == TOpcionesJetsql::taVersion) {
        salida << DameVersionJetsql() << '\n';
        return 0;
    }
    std::optional<std::string> sGuion;
    if (!RevisaEntradas(opciones, sGuion, errores))
        return 2;
    jet::MuestraAvisosLibmdb(opciones.bDepurar);
    try {
        ado::TADOConnection conexion;
        Abre(conexion, opciones);
        const TModoSalida eModo = !opciones.sModo.empty()   ? *LeeModoSalida(opciones.sModo)
                                  : entorno.bSalidaTerminal ? TModoSalida::msTabla
                                                            : TModoSalida::msCsv;
        for (const std::string& sPaso : opciones.pasosFuera) conexion.Motor().PonPaso(sPaso, false);
        TSesionJetsql sesion(conexion.Archivo(), conexion.Motor(), salida, errores, eModo);
        switch (opciones.eAccion) {
            case TOpcionesJetsql::taTablas:
                ListaTablas(conexion.Archivo(), salida);
                return 0;
            case TOpcionesJetsql::taConsulta:
                if (opciones.bTraduce) {
                    salida << conexion.Motor().Traduce(opciones.sConsulta) << '\n';
                    return 0;
                }
                return sesion.EjecutaInstruccion(opciones.sConsulta) ? 0 : 1;
            case TOpcionesJetsql::taGuion:
                return EjecutaGuion(sesion, conexion.Motor(), opciones, sGuion, entorno);
            case TOpcionesJetsql::taExportaSqlite:
                ExportaSqlite(conexion.Archivo(), opciones.sDestino, opciones.bSobrescribir,
                              errores, opciones.bOmitirIlegibles);
                return 0;
            case TOpcionesJetsql::taExportaCsv:
                ExportaCsv(conexion.Archivo(), opciones.sDestino, opciones.bSobrescribir, errores,
                           opciones.bOmitirIlegibles);
                return 0;
            case TOpcionesJetsql::taAdjuntos:
                EscribeAdjuntos(conexion, opciones.sTabla, opciones.sColumna, opciones.sCarpeta,
                                salida);
                return 0;
            default:
                return 0;
        }
    } catch (...) {
        // A lack of memory (a result too big for the machine) is said as one.
        const jet::EErrorJet e = jet::ErrorDeFallo(std::current_exception());
        errores << e.Clase() << " - " << e.Mensaje() << '\n';
        const bool bExporta = opciones.eAccion == TOpcionesJetsql::taExportaSqlite ||
                              opciones.eAccion == TOpcionesJetsql::taExportaCsv;
        if (bExporta && e.Clase() == "ETipoNoSoportado")
            errores << "Nada se exportó; --omitir-ilegibles exporta las demás columnas.\n";
        return 1;
    }
}
