// The engine's answers as data: every file of casos/ holds statements with
// the rows or the failure Jet gives for them. One case reads
//
//     consulta            (or "consulta TEM": the kind of each column)
//     SELECT UCASE('a') FROM tEmpresa
//     ----
//     A
//
// and ends at a blank line. Rows are written as jetsql writes its CSV (text
// with a comma or a quote between double quotes, empty text as "") except
// Null, written NULL so that a row of one Null is not a blank line. Kinds:
// T text, E whole number, R double, M currency, F date, B yes/no, ? any;
// Null fits every kind. A failure reads
//
//     error
//     SELECT 'abc' + 1 FROM tEmpresa
//     ----
//     ETiposNoCoinciden   (or "Kind - message", as jetsql prints it)
//
// "base NAME" switches the file the next cases run on: "datos" (the small
// file of DatosConformidad.h, the default), "nombres" (names in Jet's order,
// DatosNombres there) or a file of tests/fixtures/mdb, its password after its
// name when it has one. "opciones sin PASO..."
// switches those optional passes of the engine off for the next cases (see
// sql::Pasos()); "opciones" alone switches them all on again. "error
// evidencia" expects the failure of the statement's evidence instead of the
// statement's own. Every case runs twice: with the derived tables several
// statements share kept, and with every statement computing everything.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "DatosConformidad.h"
#include "platform/jet/Comillas.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/MotorJet.h"
#include "platform/jet/TArchivoAccess.h"
#include "platform/jet/TextoValor.h"

namespace {

struct CasoArchivo {
    std::string sArchivo;  // path, for the failure's location
    int nLinea = 0;        // line of "consulta" or "error"
    std::string sBase = "datos";
    std::set<std::string> apagados;  // optional passes switched off
    bool bError = false;
    bool bEvidencia = false;  // the failure is the evidence's
    std::string sTipos;
    std::string sSql;
    std::vector<std::string> esperado;
};

void PrintTo(const CasoArchivo& c, std::ostream* o) {
    *o << c.sArchivo << ":" << c.nLinea;
}

std::string Recorta(const std::string& s) {
    const auto a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos)
        return "";
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// A malformed file is a failure of the suite, not a case silently skipped.
std::vector<CasoArchivo> LeeArchivo(const std::filesystem::path& ruta) {
    std::ifstream f(ruta);
    if (!f)
        throw std::runtime_error("no se puede leer " + ruta.string());
    std::vector<CasoArchivo> casos;
    std::string sBase = "datos", linea;
    std::set<std::string> apagados;
    int n = 0;
    auto malo = [&](const std::string& s) {
        return std::runtime_error(ruta.string() + ":" + std::to_string(n) + ": " + s);
    };
    while (std::getline(f, linea)) {
        ++n;
        const std::string s = Recorta(linea);
        if (s.empty() || s[0] == '#')
            continue;
        if (s.starts_with("base ")) {
            sBase = Recorta(s.substr(5));
            continue;
        }
        if (s == "opciones" || s.starts_with("opciones ")) {
            std::istringstream palabras(s.substr(8));
            std::string sPalabra;
            apagados.clear();
            if (palabras >> sPalabra && sPalabra != "sin")
                throw malo("se esperaba 'opciones sin PASO...': " + s);
            for (jet::sql::TOpciones prueba; palabras >> sPalabra;) {
                try {
                    prueba.Pon(sPalabra, false);
                } catch (const std::invalid_argument&) {
                    throw malo("no es un paso opcional: " + sPalabra);
                }
                apagados.insert(sPalabra);
            }
            continue;
        }
        CasoArchivo c;
        c.sArchivo = ruta.string();
        c.nLinea = n;
        c.sBase = sBase;
        c.apagados = apagados;
        if (s == "error" || s == "error evidencia") {
            c.bError = true;
            c.bEvidencia = s != "error";
        } else if (s == "consulta" || s.starts_with("consulta ")) {
            c.sTipos = Recorta(s.substr(8));
        } else {
            throw malo("se esperaba 'consulta', 'error' o 'base': " + s);
        }
        bool bSeparador = false;
        while (std::getline(f, linea)) {
            ++n;
            if (!linea.empty() && linea.back() == '\r')
                linea.pop_back();
            if (Recorta(linea) == "----") {
                bSeparador = true;
                break;
            }
            if (Recorta(linea).empty())
                break;
            c.sSql += (c.sSql.empty() ? "" : "\n") + linea;
        }
        if (!bSeparador || c.sSql.empty())
            throw malo("caso sin instrucción o sin '----'");
        while (std::getline(f, linea)) {
            ++n;
            if (!linea.empty() && linea.back() == '\r')
                linea.pop_back();
            if (linea.empty())
                break;
            c.esperado.push_back(linea);
        }
        if (c.bError && c.esperado.size() != 1)
            throw malo("un error espera una sola línea: la clase o 'Clase - mensaje'");
        casos.push_back(std::move(c));
    }
    return casos;
}

std::vector<CasoArchivo> LeeCasos() {
    const std::filesystem::path dir =
        std::filesystem::path(KOVA_SOURCE_DIR) / "tests/platform/jet/casos";
    std::vector<std::filesystem::path> rutas;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().extension() == ".test")
            rutas.push_back(e.path());
    std::sort(rutas.begin(), rutas.end());
    std::vector<CasoArchivo> todos;
    for (const auto& r : rutas)
        for (auto& c : LeeArchivo(r)) todos.push_back(std::move(c));
    return todos;
}

std::string Campo(const jet::TValor& v) {
    if (jet::EsNulo(v))
        return "NULL";
    const auto* s = std::get_if<std::string>(&v);
    if (!s)
        return jet::TextoValor(v);
    if (s->empty() || *s == "NULL")
        return jet::Entrecomilla(*s, '"');
    if (s->find_first_of(",\"\r\n") == std::string::npos)
        return *s;
    return jet::Entrecomilla(*s, '"');
}

char Tipo(const jet::TValor& v) {
    return std::visit(
        [](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::string>)
                return 'T';
            else if constexpr (std::is_same_v<T, int64_t>)
                return 'E';
            else if constexpr (std::is_same_v<T, double>)
                return 'R';
            else if constexpr (std::is_same_v<T, jet::TMoneda>)
                return 'M';
            else if constexpr (std::is_same_v<T, jet::TFecha>)
                return 'F';
            else if constexpr (std::is_same_v<T, bool>)
                return 'B';
            else
                return '?';
        },
        v);
}

// One engine per file and options, shared by the cases that run on it.
jet::TMotorJet& Motor(const CasoArchivo& c, bool bGuarda) {
    static std::map<std::tuple<std::string, std::set<std::string>, bool>,
                    std::unique_ptr<jet::TMotorJet>>
        motores;
    const std::string& sBase = c.sBase;
    auto& m = motores[{sBase, c.apagados, bGuarda}];
    if (m)
        return *m;
    if (sBase == "datos") {
        m = MotorSobre(Datos());
    } else if (sBase == "nombres") {
        m = MotorSobre(DatosNombres());
    } else {
        const auto nEspacio = sBase.find(' ');
        const std::string sRuta = std::string(KOVA_FIXTURES) + "/mdb/" + sBase.substr(0, nEspacio);
        const std::string sContrasena =
            nEspacio == std::string::npos ? "" : Recorta(sBase.substr(nEspacio));
        m = std::make_unique<jet::TMotorJet>(
            [sRuta, sContrasena] { return jet::TArchivoAccess::Abre(sRuta, sContrasena); },
            [](const std::string& s) { return jet::TArchivoAccess::FirmaEnDisco(s); });
    }
    for (const auto& sPaso : c.apagados) m->PonPaso(sPaso, false);
    m->PonOptimizacion(bGuarda && !c.apagados.contains("guarda"));
    return *m;
}

class Casos : public ::testing::TestWithParam<std::tuple<CasoArchivo, bool>> {};

TEST_P(Casos, GiveJetsAnswer) {
    const auto& [c, bGuarda] = GetParam();
    const std::string sDonde =
        "\n" + c.sSql + "\n" + (bGuarda ? "" : "(derived tables not kept)\n");
    jet::TMotorJet& motor = Motor(c, bGuarda);
    if (c.bError) {
        try {
            if (c.bEvidencia)
                motor.Evidencia(c.sSql, {});
            else
                motor.Ejecuta(c.sSql);
            ADD_FAILURE_AT(c.sArchivo.c_str(), c.nLinea) << "no failure" << sDonde;
        } catch (const jet::EErrorJet& e) {
            const std::string& sEsperado = c.esperado[0];
            const std::string sObtenido = sEsperado.find(" - ") == std::string::npos
                                              ? e.Clase()
                                              : e.Clase() + " - " + e.Mensaje();
            if (sObtenido != sEsperado)
                ADD_FAILURE_AT(c.sArchivo.c_str(), c.nLinea)
                    << "expected: " << sEsperado << "\n  actual: " << sObtenido << sDonde;
        }
        return;
    }
    jet::TResultado r;
    try {
        r = motor.Ejecuta(c.sSql);
    } catch (const jet::EErrorJet& e) {
        ADD_FAILURE_AT(c.sArchivo.c_str(), c.nLinea)
            << e.Clase() << " - " << e.Mensaje() << sDonde << motor.Traduce(c.sSql);
        return;
    }
    std::vector<std::string> filas;
    std::string sTipos;
    for (const auto& fila : r.filas) {
        std::string s;
        for (size_t i = 0; i < fila.size(); ++i) {
            s += (i ? "," : "") + Campo(fila[i]);
            if (i < c.sTipos.size() && c.sTipos[i] != '?' && !jet::EsNulo(fila[i]) &&
                Tipo(fila[i]) != c.sTipos[i])
                ADD_FAILURE_AT(c.sArchivo.c_str(), c.nLinea)
                    << "column " << i + 1 << " is of kind " << Tipo(fila[i]) << ", not "
                    << c.sTipos[i] << sDonde;
        }
        filas.push_back(s);
    }
    if (!c.sTipos.empty() && c.sTipos.size() != r.columnas.size())
        ADD_FAILURE_AT(c.sArchivo.c_str(), c.nLinea)
            << c.sTipos.size() << " kinds for " << r.columnas.size() << " columns" << sDonde;
    if (filas != c.esperado) {
        std::string e, o;
        for (const auto& s : c.esperado) e += "\n    " + s;
        for (const auto& s : filas) o += "\n    " + s;
        ADD_FAILURE_AT(c.sArchivo.c_str(), c.nLinea)
            << "expected:" << e << "\n  actual:" << o << sDonde << motor.Traduce(c.sSql);
    }
}

INSTANTIATE_TEST_SUITE_P(Archivos, Casos,
                         ::testing::Combine(::testing::ValuesIn(LeeCasos()), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<CasoArchivo, bool>>& i) {
                             const CasoArchivo& c = std::get<0>(i.param);
                             const bool bGuarda = std::get<1>(i.param);
                             std::string s = std::filesystem::path(c.sArchivo).stem().string();
                             for (char& ch : s)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return s + "_" + std::to_string(c.nLinea) +
                                    (bGuarda ? "" : "_sin_guarda");
                         });

}  // namespace
