#include "tools/jetsql/OpcionesJetsql.h"

std::optional<TOpcionesJetsql> LeeOpcionesJetsql(const std::vector<std::string>& args,
                                                 std::string& sError) {
    TOpcionesJetsql opciones;
    bool bHayArchivo = false;
    bool bHayConsulta = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& sArg = args[i];
        if (sArg == "--password") {
            if (i + 1 == args.size()) {
                sError = "Falta la contraseña después de --password.";
                return std::nullopt;
            }
            opciones.sContrasena = args[++i];
        } else if (sArg == "--tables") {
            opciones.eAccion = TOpcionesJetsql::taTablas;
        } else if (sArg == "--adjuntos") {
            if (args.size() - i < 4) {
                sError = "Faltan la tabla, la columna y la carpeta después de --adjuntos.";
                return std::nullopt;
            }
            opciones.eAccion = TOpcionesJetsql::taAdjuntos;
            opciones.sTabla = args[++i];
            opciones.sColumna = args[++i];
            opciones.sCarpeta = args[++i];
        } else if (sArg.size() > 2 && sArg.compare(0, 2, "--") == 0) {
            sError = "Opción desconocida: " + sArg;
            return std::nullopt;
        } else if (bHayArchivo && !bHayConsulta) {
            opciones.sConsulta = sArg;
            bHayConsulta = true;
        } else if (bHayArchivo) {
            sError = "Sobra el argumento: " + sArg;
            return std::nullopt;
        } else {
            opciones.sArchivo = sArg;
            bHayArchivo = true;
        }
    }
    if (bHayConsulta && opciones.eAccion != TOpcionesJetsql::taNinguna) {
        sError = "Sobra el argumento: " + opciones.sConsulta;
        return std::nullopt;
    }
    if (bHayConsulta)
        opciones.eAccion = TOpcionesJetsql::taConsulta;
    if (!bHayArchivo || opciones.eAccion == TOpcionesJetsql::taNinguna) {
        sError = sUsoJetsql;
        return std::nullopt;
    }
    return opciones;
}
