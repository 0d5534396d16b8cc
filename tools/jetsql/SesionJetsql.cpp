#include "tools/jetsql/SesionJetsql.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

#include "platform/archivos/LeeArchivo.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/ErroresJet.h"
#include "tools/jetsql/DivisorGuion.h"
#include "tools/jetsql/EsquemaJetsql.h"

namespace {

// A dot command's words: blanks separate them; "..." or '...' keep blanks
// inside one (a file name with spaces).
std::vector<std::string> Palabras(const std::string& sLinea) {
    std::vector<std::string> palabras;
    size_t i = 0;
    while (i < sLinea.size()) {
        if (std::isspace(static_cast<unsigned char>(sLinea[i]))) {
            ++i;
            continue;
        }
        std::string s;
        if (sLinea[i] == '"' || sLinea[i] == '\'') {
            const char cComilla = sLinea[i++];
            while (i < sLinea.size() && sLinea[i] != cComilla) s += sLinea[i++];
            ++i;
        } else {
            while (i < sLinea.size() && !std::isspace(static_cast<unsigned char>(sLinea[i])))
                s += sLinea[i++];
        }
        palabras.push_back(s);
    }
    return palabras;
}

}  // namespace

TSesionJetsql::TSesionJetsql(jet::TArchivoAccess& archivo, jet::TMotorJet& motor,
                             std::ostream& salida, std::ostream& errores, TModoSalida eModo)
    : archivo_(archivo), motor_(motor), salida_(salida), errores_(errores), eModo_(eModo) {}

const std::vector<TSesionJetsql::TOrdenPunto>& TSesionJetsql::Ordenes() {
    static const std::vector<TOrdenPunto> ordenes = {
        {{".tables", ".tablas"}, "", "las tablas con su número de filas", &TSesionJetsql::Tablas},
        {{".schema", ".esquema"},
         "[TABLA]",
         "las columnas con su tipo de Access, tamaño y si admiten nulos",
         &TSesionJetsql::Esquema},
        {{".modo"},
         "csv|tabla|json|lineas",
         "la forma de escribir los resultados",
         &TSesionJetsql::PonModo},
        {{".encabezados"},
         "on|off",
         "escribir o no los nombres de columna",
         &TSesionJetsql::Encabezados},
        {{".salida"},
         "[ARCHIVO]",
         "escribe los resultados en ARCHIVO (sin él, en pantalla)",
         &TSesionJetsql::Salida},
        {{".leer"}, "GUION", "ejecuta las instrucciones del archivo GUION", &TSesionJetsql::Leer},
        {{".ayuda", ".help"}, "", "muestra esta ayuda", &TSesionJetsql::Ayuda},
        {{".salir", ".quit", ".exit"}, "", "termina", &TSesionJetsql::Salir},
    };
    return ordenes;
}

bool TSesionJetsql::Falla(const jet::EErrorJet& e) {
    errores_ << e.Clase() << " - " << e.Mensaje() << '\n';
    return false;
}

void TSesionJetsql::Escribe(const jet::TResultado& resultado) {
    EscribeResultado(resultado, eModo_, bEncabezados_, Out());
    Out().flush();
}

bool TSesionJetsql::EjecutaGuion(const std::string& sTexto, bool bContinuar,
                                 const std::string& sOrigen) {
    bContinuar_ = bContinuar;
    // Editors on Windows start UTF-8 files with a byte order mark, which the
    // tokenizer would take for part of the first word.
    const std::string sBom = "\xEF\xBB\xBF";
    TDivisorGuion divisor(sTexto.compare(0, sBom.size(), sBom) == 0 ? sTexto.substr(sBom.size())
                                                                    : sTexto);
    bool bBien = true;
    int nInstruccion = 0;
    while (!bTerminada_) {
        const auto pieza = divisor.Siguiente();
        if (!pieza)
            break;
        ++nInstruccion;
        const bool bPieza = pieza->eTipo == TDivisorGuion::TPieza::tpPunto
                                ? EjecutaPunto(pieza->sTexto)
                                : EjecutaInstruccion(pieza->sTexto);
        if (bPieza)
            continue;
        bBien = false;
        errores_ << "  en la instrucción " << nInstruccion << ", línea " << pieza->nLinea
                 << (sOrigen.empty() ? "" : " de " + sOrigen) << '\n';
        if (!bContinuar)
            break;
    }
    return bBien;
}

bool TSesionJetsql::EjecutaInstruccion(const std::string& sSql) {
    try {
        Escribe(motor_.Ejecuta(sSql));
        return true;
    } catch (...) {
        // One statement short of memory fails alone; the next may run.
        return Falla(jet::ErrorDeFallo(std::current_exception()));
    }
}

bool TSesionJetsql::EjecutaPunto(const std::string& sLinea) {
    const auto palabras = Palabras(sLinea);
    if (palabras.empty())
        return true;
    for (const auto& orden : Ordenes())
        if (std::find(orden.nombres.begin(), orden.nombres.end(), palabras[0]) !=
            orden.nombres.end()) {
            try {
                return (this->*orden.ejecuta)({palabras.begin() + 1, palabras.end()});
            } catch (const jet::EErrorJet& e) {
                return Falla(e);
            }
        }
    return Falla(jet::ErrorJet(jet::TErrorJet::OrdenDesconocida, {palabras[0]}));
}

bool TSesionJetsql::Tablas(const std::vector<std::string>&) {
    jet::TResultado r{{"Tabla", "Filas"}, {}};
    for (const auto& sNombre : archivo_.DameNombresTablas())
        r.filas.push_back({sNombre, archivo_.BuscaTabla(sNombre)->nFilas});
    Escribe(r);
    return true;
}

bool TSesionJetsql::Esquema(const std::vector<std::string>& args) {
    if (args.size() > 1)
        return Falla(jet::ErrorJet(jet::TErrorJet::UsoOrden, {".schema [TABLA]"}));
    if (args.empty()) {
        Escribe(DameEsquema(archivo_, archivo_.DameNombresTablas(), true));
        return true;
    }
    if (!archivo_.BuscaTabla(args[0]))
        return Falla(jet::ErrorJet(jet::TErrorJet::TablaNoExiste, {args[0]}));
    Escribe(DameEsquema(archivo_, {archivo_.BuscaTabla(args[0])->sNombre}, false));
    return true;
}

bool TSesionJetsql::PonModo(const std::vector<std::string>& args) {
    const auto eModo = args.size() == 1 ? LeeModoSalida(args[0]) : std::nullopt;
    if (!eModo)
        return Falla(jet::ErrorJet(jet::TErrorJet::UsoOrden, {".modo csv|tabla|json|lineas"}));
    eModo_ = *eModo;
    return true;
}

bool TSesionJetsql::Encabezados(const std::vector<std::string>& args) {
    if (args.size() != 1 || (args[0] != "on" && args[0] != "off"))
        return Falla(jet::ErrorJet(jet::TErrorJet::UsoOrden, {".encabezados on|off"}));
    bEncabezados_ = args[0] == "on";
    return true;
}

bool TSesionJetsql::Salida(const std::vector<std::string>& args) {
    if (args.size() > 1)
        return Falla(jet::ErrorJet(jet::TErrorJet::UsoOrden, {".salida [ARCHIVO]"}));
    archivoSalida_.reset();
    if (args.empty())
        return true;
    // Opening it for writing would empty the very file being read.
    std::error_code ec;
    if (std::filesystem::equivalent(args[0], archivo_.Ruta(), ec))
        return Falla(jet::ErrorJet(jet::TErrorJet::SalidaEsElArchivo, {args[0]}));
    auto f = std::make_unique<std::ofstream>(args[0], std::ios::binary | std::ios::trunc);
    if (!*f)
        return Falla(jet::ErrorJet(jet::TErrorJet::SalidaNoEscribible, {args[0]}));
    archivoSalida_ = std::move(f);
    return true;
}

bool TSesionJetsql::Leer(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return Falla(jet::ErrorJet(jet::TErrorJet::UsoOrden, {".leer GUION"}));
    // A script that reads itself would never end.
    if (nProfundidad_ >= 20)
        return Falla(jet::ErrorJet(jet::TErrorJet::LeerAnidados, {args[0]}));
    std::string sError;
    const auto sTexto = archivos::LeeArchivoRegular(args[0], archivos::kMaxBytesGuion, sError);
    if (!sTexto) {
        std::error_code ec;
        if (!sError.empty() && sError.back() == '.')
            sError.pop_back();
        return std::filesystem::exists(args[0], ec)
                   ? Falla(jet::ErrorJet(jet::TErrorJet::EntradaNoComun, {sError}))
                   : Falla(jet::ErrorJet(jet::TErrorJet::GuionIlegible, {args[0]}));
    }
    ++nProfundidad_;
    const bool bBien = EjecutaGuion(*sTexto, bContinuar_, args[0]);
    --nProfundidad_;
    return bBien;
}

bool TSesionJetsql::Ayuda(const std::vector<std::string>&) {
    std::ostringstream s;
    s << "Instrucciones de Access SQL terminadas en ';' (pueden ocupar varias líneas).\n"
      << "Ctrl-C anula la instrucción a medio escribir o detiene la que se ejecuta;\n"
      << "Ctrl-D o .salir terminan.\n";
    std::vector<std::string> izquierdas;
    size_t nAncho = 0;
    for (const auto& orden : Ordenes()) {
        std::string sIzq =
            orden.nombres[0] + (orden.sArgumentos.empty() ? "" : " ") + orden.sArgumentos;
        nAncho = std::max(nAncho, sIzq.size());
        izquierdas.push_back(sIzq);
    }
    for (size_t i = 0; i < izquierdas.size(); ++i)
        s << "  " << izquierdas[i] << std::string(nAncho - izquierdas[i].size() + 2, ' ')
          << Ordenes()[i].sAyuda << '\n';
    Out() << s.str();
    Out().flush();
    return true;
}

bool TSesionJetsql::Salir(const std::vector<std::string>&) {
    bTerminada_ = true;
    return true;
}
