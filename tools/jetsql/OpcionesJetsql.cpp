#include "tools/jetsql/OpcionesJetsql.h"

#include <algorithm>
#include <iterator>
#include <sstream>

#include "platform/jet/sql/Compilador.h"

namespace {

using TOp = TOpcionesJetsql;

std::string Accion(TOp& o, TOp::TAccion eAccion) {
    if (o.eAccion != TOp::taNinguna && o.eAccion != eAccion)
        return "Solo se puede pedir una cosa a la vez.";
    o.eAccion = eAccion;
    return "";
}

std::string Modo(TOp& o, const std::vector<std::string>& v) {
    const std::string& s = v[0];
    static const char* modos[] = {"csv", "tabla", "json", "lineas"};
    if (std::find(std::begin(modos), std::end(modos), s) == std::end(modos))
        return "Modo de salida desconocido: " + s + " (csv, tabla, json o lineas).";
    o.sModo = s;
    return "";
}

std::string PasoFuera(TOp& o, const std::vector<std::string>& v) {
    const jet::sql::TPaso* p = jet::sql::BuscaPaso(v[0]);
    if (!p || !p->bOpcional) {
        std::string sOpcionales;
        for (const auto& paso : jet::sql::Pasos())
            if (paso.bOpcional)
                sOpcionales += (sOpcionales.empty() ? "" : ", ") + std::string(paso.sNombre);
        return "No hay un paso opcional llamado '" + v[0] + "' (son: " + sOpcionales + ").";
    }
    o.pasosFuera.push_back(v[0]);
    return "";
}

// Options with a value take it from the next argument. A new option is one
// row here; the help text comes from the same row.
const std::vector<TOpcionJetsql> opciones = {
    {{"--password"},
     "CONTRASEÑA",
     "contraseña de la base de datos",
     [](TOp& o, const std::vector<std::string>& v) {
         o.sContrasena = v[0];
         return std::string();
     }},
    {{"--tables"},
     "",
     "lista las tablas con su número de filas",
     [](TOp& o, const std::vector<std::string>&) { return Accion(o, TOp::taTablas); }},
    {{"-f", "--guion"},
     "GUION",
     "ejecuta las instrucciones del archivo GUION",
     [](TOp& o, const std::vector<std::string>& v) {
         o.sGuion = v[0];
         return Accion(o, TOp::taGuion);
     }},
    {{"--continuar"},
     "",
     "sigue tras una instrucción que falla (y sale con 1 al final)",
     [](TOp& o, const std::vector<std::string>&) {
         o.bContinuar = true;
         return std::string();
     }},
    {{"--modo"},
     "MODO",
     "salida csv, tabla, json o lineas (tabla en un terminal, csv si no)",
     Modo},
    {{"--exportar-sqlite"},
     "SALIDA.db",
     "copia todas las tablas a una base SQLite nueva",
     [](TOp& o, const std::vector<std::string>& v) {
         o.sDestino = v[0];
         return Accion(o, TOp::taExportaSqlite);
     }},
    {{"--exportar-csv"},
     "CARPETA",
     "escribe un CSV por tabla en una carpeta nueva",
     [](TOp& o, const std::vector<std::string>& v) {
         o.sDestino = v[0];
         return Accion(o, TOp::taExportaCsv);
     }},
    {{"--sobrescribir"},
     "",
     "deja reemplazar una salida de exportación que ya existe",
     [](TOp& o, const std::vector<std::string>&) {
         o.bSobrescribir = true;
         return std::string();
     }},
    {{"--omitir-ilegibles"},
     "",
     "exporta sin las columnas de tipos que no se leen, avisando de cada una",
     [](TOp& o, const std::vector<std::string>&) {
         o.bOmitirIlegibles = true;
         return std::string();
     }},
    {{"--adjuntos"},
     "TABLA COLUMNA CARPETA",
     "escribe los archivos adjuntos de una columna en CARPETA/FILA/NOMBRE",
     [](TOp& o, const std::vector<std::string>& v) {
         o.sTabla = v[0];
         o.sColumna = v[1];
         o.sCarpeta = v[2];
         return Accion(o, TOp::taAdjuntos);
     }},
    {{"--sin-paso"},
     "PASO",
     "deja fuera un paso opcional del motor, para diagnosticar (orden, distintas, logicas, "
     "uniones, top, guarda, mitades)",
     PasoFuera},
    {{"--traduce"},
     "",
     "escribe el SQL de SQLite en que se convierte la instrucción, en vez de sus filas",
     [](TOp& o, const std::vector<std::string>&) {
         o.bTraduce = true;
         return std::string();
     }},
    {{"--depurar"},
     "",
     "muestra en la salida de errores los avisos internos de libmdb al leer el archivo",
     [](TOp& o, const std::vector<std::string>&) {
         o.bDepurar = true;
         return std::string();
     }},
    {{"--ayuda", "--help", "-h"},
     "",
     "muestra esta ayuda",
     [](TOp& o, const std::vector<std::string>&) {
         o.eAccion = TOp::taAyuda;
         return std::string();
     }},
    {{"--version"},
     "",
     "muestra la versión",
     [](TOp& o, const std::vector<std::string>&) {
         o.eAccion = TOp::taVersion;
         return std::string();
     }},
};

// Characters on screen: the help's columns line up with "Ñ" in a name.
size_t Ancho(const std::string& s) {
    return std::count_if(s.begin(), s.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xc0) != 0x80; });
}

const TOpcionJetsql* Busca(const std::string& sArg) {
    for (const auto& op : opciones)
        if (std::find(op.nombres.begin(), op.nombres.end(), sArg) != op.nombres.end())
            return &op;
    return nullptr;
}

}  // namespace

const std::vector<TOpcionJetsql>& DameOpcionesJetsql() {
    return opciones;
}

std::string DameVersionJetsql() {
    return std::string("jetsql ") + KOVA_VERSION;
}

std::string DameAyudaJetsql() {
    std::ostringstream s;
    s << sUsoJetsql << "\n\n"
      << "Consulta un archivo de Access (.mdb, .accdb) sin modificarlo nunca. Con una\n"
      << "instrucción la ejecuta y escribe sus filas; sin ella lee instrucciones separadas\n"
      << "por ';' de la entrada estándar (o de -f GUION), o abre una consola si la entrada\n"
      << "es un terminal (.ayuda muestra sus órdenes).\n\nOpciones:\n";
    std::vector<std::string> izquierdas;
    size_t nAncho = 0;
    for (const auto& op : opciones) {
        std::string sIzq;
        for (const auto& sNombre : op.nombres) sIzq += (sIzq.empty() ? "" : ", ") + sNombre;
        if (!op.sValor.empty())
            sIzq += " " + op.sValor;
        izquierdas.push_back(sIzq);
        nAncho = std::max(nAncho, Ancho(sIzq));
    }
    for (size_t i = 0; i < opciones.size(); ++i)
        s << "  " << izquierdas[i] << std::string(nAncho - Ancho(izquierdas[i]) + 2, ' ')
          << opciones[i].sAyuda << '\n';
    s << "\nSale con 0 si todo fue bien, 1 si falló el archivo o una instrucción, 2 si la\n"
      << "línea de órdenes no tiene sentido.\n";
    return s.str();
}

std::optional<TOpcionesJetsql> LeeOpcionesJetsql(const std::vector<std::string>& args,
                                                 std::string& sError) {
    TOpcionesJetsql o;
    bool bHayArchivo = false;
    bool bHayConsulta = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& sArg = args[i];
        if (const TOpcionJetsql* op = Busca(sArg)) {
            // One value per word of the row's value names.
            std::istringstream nombres(op->sValor);
            const std::vector<std::string> esperados{std::istream_iterator<std::string>(nombres),
                                                     {}};
            if (args.size() - i - 1 < esperados.size()) {
                sError = sArg == "--password" ? "Falta la contraseña después de --password."
                                              : "Falta " + op->sValor + " después de " + sArg + ".";
                return std::nullopt;
            }
            const std::vector<std::string> valores(args.begin() + i + 1,
                                                   args.begin() + i + 1 + esperados.size());
            i += esperados.size();
            sError = op->aplica(o, valores);
            if (!sError.empty())
                return std::nullopt;
        } else if (sArg.size() > 1 && sArg[0] == '-') {
            sError = "Opción desconocida: " + sArg;
            return std::nullopt;
        } else if (bHayArchivo && !bHayConsulta) {
            o.sConsulta = sArg;
            bHayConsulta = true;
        } else if (bHayArchivo) {
            sError = "Sobra el argumento: " + sArg;
            return std::nullopt;
        } else {
            o.sArchivo = sArg;
            bHayArchivo = true;
        }
    }
    // Help and version need no file and win over everything else.
    if (o.eAccion == TOp::taAyuda || o.eAccion == TOp::taVersion)
        return o;
    if (bHayConsulta && o.eAccion != TOp::taNinguna) {
        sError = "Sobra el argumento: " + o.sConsulta;
        return std::nullopt;
    }
    if (bHayConsulta)
        o.eAccion = TOp::taConsulta;
    if (!bHayArchivo) {
        sError = sUsoJetsql;
        return std::nullopt;
    }
    if (o.bSobrescribir && o.eAccion != TOp::taExportaSqlite && o.eAccion != TOp::taExportaCsv) {
        sError = "--sobrescribir solo tiene sentido con --exportar-sqlite o --exportar-csv.";
        return std::nullopt;
    }
    if (o.bOmitirIlegibles && o.eAccion != TOp::taExportaSqlite && o.eAccion != TOp::taExportaCsv) {
        sError = "--omitir-ilegibles solo tiene sentido con --exportar-sqlite o --exportar-csv.";
        return std::nullopt;
    }
    if (o.eAccion == TOp::taNinguna)
        o.eAccion = TOp::taGuion;
    return o;
}
