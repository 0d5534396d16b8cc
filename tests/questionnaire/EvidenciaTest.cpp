// The evidence behind every computed answer, checked against the answer
// itself: from the rows alone, each answer is worked out again the way its
// calculation says, over every question and several databases.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <sstream>

#include "BDNorvexPrueba.h"
#include "CuestPrueba.h"
#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/FormatoNumero.h"
#include "platform/jet/TextoValor.h"
#include "questionnaire/EvidenciaPregunta.h"
#include "tools/norvexgen/GeneradorNorvex.h"

namespace {

int Indice(const jet::TResultado& r, const std::string& sColumna) {
    for (std::size_t i = 0; i < r.columnas.size(); ++i)
        if (r.columnas[i] == sColumna)
            return static_cast<int>(i);
    return -1;
}

double Numero(const jet::TValor& v) {
    if (const auto* d = std::get_if<double>(&v))
        return *d;
    if (const auto* n = std::get_if<int64_t>(&v))
        return static_cast<double>(*n);
    if (const auto* m = std::get_if<jet::TMoneda>(&v))
        return static_cast<double>(m->nDiezMilesimos) / 10000.0;
    ADD_FAILURE() << "no es un número: " << jet::TextoValor(v);
    return 0;
}

// Jet's Round: to the nearest whole number, halves to the even one.
double RedondeoJet(double d) {
    return std::nearbyint(d);  // the default rounding mode is to nearest even
}

std::string Mayusculas(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// "NAME (** Total Ops.:  12 **) " into its name and count.
bool PartePrimero(const std::string& s, std::string& sNombre, long& nCuenta) {
    const std::string sMarca = " (** Total Ops.: ";
    const auto p = s.rfind(sMarca);
    if (p == std::string::npos)
        return false;
    sNombre = s.substr(0, p);
    nCuenta = std::stol(s.substr(p + sMarca.size()));
    return true;
}

// Checks the answer against what its evidence gives.
void Comprueba(const TEvidenciaPregunta& e, const std::string& sRespuesta) {
    SCOPED_TRACE("pregunta " + std::to_string(e.nPregunta) + ", " + NombreCalculo(e.nCalculo) +
                 ", respuesta " + sRespuesta);
    ASSERT_EQ(sRespuesta.rfind("Respuesta: ", 0), 0u);
    const std::string sValor = sRespuesta.substr(std::string("Respuesta: ").size());
    const auto& filas = e.filas.filas;
    // Something to find each row by in Norvex.
    EXPECT_TRUE(Indice(e.filas, "Folio") >= 0 || Indice(e.filas, "ClaveCliente") >= 0);
    if (e.nCalculo == crExiste || e.nCalculo == crConteo) {
        EXPECT_TRUE(e.sColumna.empty());
        EXPECT_EQ(sValor, e.nCalculo == crConteo ? std::to_string(filas.size())
                                                 : std::string(filas.empty() ? "NO" : "SI"));
        return;
    }
    const int nCol = Indice(e.filas, e.sColumna);
    ASSERT_GE(nCol, 0) << "sin la columna " << e.sColumna;
    if (e.nCalculo == crSuma || e.nCalculo == crPromedio) {
        double dSuma = 0;
        for (const auto& f : filas)
            if (!jet::EsNulo(f[nCol]))
                dSuma += Numero(f[nCol]);
        if (e.nCalculo == crPromedio && !filas.empty())
            dSuma /= static_cast<double>(filas.size());
        EXPECT_EQ(sValor, jet::TextoNumero(RedondeoJet(dSuma) + 0.0));
        return;
    }
    std::map<std::string, long> cuentas;
    long nMayor = 0;
    for (const auto& f : filas)
        if (!jet::EsNulo(f[nCol]))
            nMayor = std::max(nMayor, ++cuentas[Mayusculas(jet::TextoValor(f[nCol]))]);
    if (cuentas.empty()) {
        EXPECT_EQ(sValor, "NINGUNO");
        return;
    }
    std::string sNombre;
    long nCuenta = 0;
    ASSERT_TRUE(PartePrimero(sValor, sNombre, nCuenta));
    EXPECT_EQ(nCuenta, nMayor);
    EXPECT_EQ(cuentas[Mayusculas(sNombre)], nMayor) << sNombre;
}

class EvidenciaTest : public ::testing::Test {
protected:
    // Runs the questionnaire over the file (every other PEP candidate
    // ticked, so the PEP questions count someone) and checks the evidence of
    // every computed question against its answer. Returns the number of
    // evidence rows seen.
    std::size_t CompruebaTodas(const std::filesystem::path& sArchivo) {
        ado::TADOConnection conexion;
        conexion.SetConnectionString(CadenaNorvex(sArchivo.string()));
        conexion.SetConnected(true);
        TGrabaCajas cajas;
        TTablaPEPs peps;
        {
            TCuestPrueba deteccion(18.91, 1, &conexion);
            EXPECT_TRUE(deteccion.DetectaPEPs(peps));
        }
        for (std::size_t i = 0; i < peps.Cuenta(); i += 2) peps.MarcaPEP(i, true);
        TCuestPrueba q(18.91, 1, &conexion);
        EXPECT_TRUE(q.GeneraReporte(peps));
        EXPECT_TRUE(cajas.textos().empty());
        int nCalculadas = 0;
        std::size_t nFilas = 0;
        for (int n = 1; n <= 195; ++n) {
            const auto nCalculo = q.DameCalculo(n);
            const std::string sRespuesta =
                q.reportes->variables.at("Cuestionario.preg_" + std::to_string(n));
            if (!nCalculo) {
                EXPECT_EQ(sRespuesta, sMano) << n;
                continue;
            }
            ++nCalculadas;
            const TEvidenciaPregunta e =
                DameEvidencia(conexion.Motor(), n, *nCalculo, q.Consulta(n));
            Comprueba(e, sRespuesta);
            nFilas += e.filas.filas.size();
        }
        EXPECT_EQ(nCalculadas, 160);
        return nFilas;
    }

    TDirTemporal dir_;
};

TEST_F(EvidenciaTest, EveryAnswerRecomputesFromItsRows) {
    // Nothing to show: NO, 0 and NINGUNO come from empty evidence.
    TBDNorvex vacia;
    vacia.clientes.push_back({"A1", std::string("ANA"), std::string("PEREZ"), std::monostate{}});
    vacia.Escribe((dir_ / "Vacia.mdb").string());
    EXPECT_EQ(CompruebaTodas(dir_ / "Vacia.mdb"), 0u);

    // The demo folder and a database of another seed.
    norvex::TGeneradorNorvex::Genera(dir_ / "demo", {});
    EXPECT_GT(CompruebaTodas(dir_ / "demo/DataBase/Norvex.mdb"), 0u);
    norvex::TGeneradorNorvex::Genera(dir_ / "otra", {.nLineas = 3000, .nSemilla = 7});
    EXPECT_GT(CompruebaTodas(dir_ / "otra/DataBase/Norvex.mdb"), 0u);
}

// A table entry that disagrees with its statement is refused rather than
// shown as evidence of something else; so is a statement with no aggregate.
TEST_F(EvidenciaTest, RefusesACalculationItsStatementDoesNotMake) {
    norvex::TGeneradorNorvex::Genera(dir_.ruta(), {.nLineas = 300});
    ado::TADOConnection conexion;
    conexion.SetConnectionString(CadenaNorvex((dir_ / "DataBase/Norvex.mdb").string()));
    conexion.SetConnected(true);
    TTablaPEPs peps;
    TCuestPrueba q(18.91, 1, &conexion);
    q.AdjuntaPEPs(peps);
    struct TCaso {
        int nPregunta;
        TCalculoRespuesta nCalculo;
    };
    for (const TCaso& c : {TCaso{52, crConteo}, TCaso{61, crSuma}, TCaso{44, crMasFrecuente},
                           TCaso{2, crSuma}, TCaso{33, crPromedio}}) {
        SCOPED_TRACE(c.nPregunta);
        EXPECT_THROW(
            DameEvidencia(conexion.Motor(), c.nPregunta, c.nCalculo, q.Consulta(c.nPregunta)),
            jet::EErrorJet);
    }
    EXPECT_THROW(DameEvidencia(conexion.Motor(), 1, crConteo, "SELECT Folio FROM tMovtos"),
                 jet::EErrorJet);
}

// The CSV keeps every digit a sum needs and tells null from empty text.
TEST(EvidenciaCsvTest, WritesExactNumbersAndQuotesWhatNeedsIt) {
    jet::TResultado r;
    r.columnas = {"Folio", "Cliente", "Cantidad", "Fecha"};
    r.filas.push_back(
        {int64_t{7}, std::string("PEREZ, ANA \"LA\""), 0.1 + 0.2, jet::TFecha{42736.5}});
    r.filas.push_back({int64_t{8}, std::string(), 1234567.125, std::monostate{}});
    std::ostringstream s;
    EscribeCsvEvidencia(r, s);
    EXPECT_EQ(s.str(),
              "Folio,Cliente,Cantidad,Fecha\r\n"
              "7,\"PEREZ, ANA \"\"LA\"\"\",0.30000000000000004,2017-01-01 12:00:00\r\n"
              "8,\"\",1234567.125,\r\n");
}

}  // namespace
