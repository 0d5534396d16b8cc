#include "tools/jetsql/Jetsql.h"

#include "platform/ado/TADOConnection.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/MotorJet.h"
#include "tools/jetsql/AdjuntosJetsql.h"
#include "tools/jetsql/CsvJetsql.h"

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

}  // namespace

int EjecutaJetsql(const TOpcionesJetsql& opciones, std::ostream& salida, std::ostream& errores) {
    try {
        ado::TADOConnection conexion;
        Abre(conexion, opciones);
        switch (opciones.eAccion) {
            case TOpcionesJetsql::taTablas:
                ListaTablas(conexion.Archivo(), salida);
                break;
            case TOpcionesJetsql::taConsulta:
                EscribeCsv(conexion.Motor().Ejecuta(opciones.sConsulta), salida);
                break;
            case TOpcionesJetsql::taAdjuntos:
                EscribeAdjuntos(conexion, opciones.sTabla, opciones.sColumna, opciones.sCarpeta,
                                salida);
                break;
            case TOpcionesJetsql::taNinguna:
                break;
        }
        return 0;
    } catch (const jet::EErrorJet& e) {
        errores << e.Clase() << " - " << e.Mensaje() << '\n';
        return 1;
    }
}
