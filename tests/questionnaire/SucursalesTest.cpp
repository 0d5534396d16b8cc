// A centre with branches answers over the union of the branches' databases:
// the same statements, run once, over rows merged by the catalogue rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>

#include "BDNorvexPrueba.h"
#include "CuestPrueba.h"
#include "ReglasContadas.h"
#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "data/UnionNorvex.h"
#include "platform/ado/TADOQuery.h"
#include "platform/jet/Latido.h"
#include "platform/jet/MotorJet.h"
#include "platform/jet/TextoValor.h"
#include "tools/norvexgen/GeneradorNorvex.h"

namespace {

namespace fs = std::filesystem;
using TRespuestas = std::map<std::string, std::string>;

std::string Bytes(const fs::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

fs::path Mdb(const fs::path& dir) {
    return dir / "DataBase/Norvex.mdb";
}

// The head office's connection, with the other files joined when there are.
struct TCentro {
    ado::TADOConnection conexion;
    // reglas: Norvex's rules over empresas when none.
    TCentro(const std::vector<fs::path>& archivos, std::vector<int64_t> empresas, bool bUne = true,
            std::shared_ptr<jet::IReglasUnion> reglas = nullptr) {
        conexion.SetConnectionString(CadenaNorvex(archivos.front().string()));
        conexion.SetConnected(true);
        if (!bUne)
            return;
        std::vector<std::pair<std::string, std::string>> otros;
        for (size_t i = 1; i < archivos.size(); ++i) otros.emplace_back(archivos[i], "quilon");
        conexion.UneArchivos(otros,
                             reglas ? reglas : std::make_shared<TUnionNorvex>(std::move(empresas)));
    }
    // Rows of a statement, each as "a|b|c".
    std::vector<std::string> Filas(const std::string& sSql) {
        std::vector<std::string> filas;
        for (const auto& f : conexion.Motor().Ejecuta(sSql).filas) {
            std::string s;
            for (size_t i = 0; i < f.size(); ++i) s += (i ? "|" : "") + jet::TextoValor(f[i]);
            filas.push_back(s);
        }
        return filas;
    }
};

// Every answer of a whole run and the PEP candidates, as the report gets them.
struct TCorrida {
    TRespuestas respuestas;
    std::vector<std::string> peps;
};

TCorrida Corre(TCentro& centro) {
    TGrabaCajas cajas;
    TCuestPrueba q(18.91, 1, &centro.conexion);
    TTablaPEPs peps;
    EXPECT_TRUE(q.DetectaPEPs(peps));
    TCorrida c;
    for (const TFilaPEP& f : peps.Filas()) c.peps.push_back(f.sClaveCliente + " " + f.sNombre);
    for (std::size_t i = 0; i < peps.Cuenta(); ++i) peps.MarcaPEP(i, true);
    EXPECT_TRUE(q.GeneraReporte(peps));
    EXPECT_TRUE(cajas.textos().empty());
    c.respuestas = q.reportes->variables;
    EXPECT_EQ(c.respuestas.size(), 196u);  // the 195 answers and the centre's name
    return c;
}

void EsperaIguales(const TCorrida& a, const TCorrida& b) {
    EXPECT_EQ(a.peps, b.peps);
    for (const auto& [sVar, s] : a.respuestas) EXPECT_EQ(b.respuestas.at(sVar), s) << sVar;
}

// The operations are where a union goes wrong: large enough that every
// question has rows, small enough to run three times.
constexpr norvex::TOpcionesNorvex kCentro{.nLineas = 3000, .nSemilla = 11};

TEST(Sucursales, UnaSolaSucursalRespondeComoLaCarpetaSola) {
    TDirTemporal dir;
    norvex::TGeneradorNorvex::Genera(dir.ruta(), kCentro);
    TCentro sola({Mdb(dir.ruta())}, {1}, false);
    TCentro unida({Mdb(dir.ruta())}, {1});
    EsperaIguales(Corre(sola), Corre(unida));
}

TEST(Sucursales, UnCentroRepartidoRespondeComoSinRepartir) {
    TDirTemporal dir;
    norvex::TGeneradorNorvex::Genera(dir / "entero", kCentro);
    TCentro entero({Mdb(dir / "entero")}, {1}, false);
    const TCorrida esperada = Corre(entero);
    for (int64_t n : {2, 3}) {
        SCOPED_TRACE(n);
        auto op = kCentro;
        op.nSucursales = n;
        const fs::path raiz = dir / ("en" + std::to_string(n));
        norvex::TGeneradorNorvex::Genera(raiz, op);
        std::vector<fs::path> archivos;
        std::map<fs::path, std::string> antes;
        for (int64_t i = 1; i <= n; ++i) {
            archivos.push_back(Mdb(norvex::TGeneradorNorvex::CarpetaSucursal(raiz, i)));
            antes[archivos.back()] = Bytes(archivos.back());
        }
        {
            TCentro centro(archivos, std::vector<int64_t>(size_t(n), 1));
            // Each branch holds only a share; the union holds every line of
            // the active company once (a branch's other company stays out).
            const std::string sLineas = "SELECT COUNT(*) FROM tMovtos WHERE NumEmp = 1";
            EXPECT_EQ(centro.Filas(sLineas), entero.Filas(sLineas));
            EsperaIguales(esperada, Corre(centro));
        }
        for (const auto& [ruta, sBytes] : antes) EXPECT_TRUE(Bytes(ruta) == sBytes) << ruta;
    }
}

// Two small branches written for the merge rules: the head office (company
// 1) and a branch whose active company is 2.
class UnionTest : public ::testing::Test {
protected:
    UnionTest() {
        matriz_.clientes = {
            {"C1", std::string("JUAN"), std::string("PEREZ"), std::monostate{}, false, false, 2},
            {"C2", std::string("ANA"), std::string("RUIZ"), std::string("DIAZ"), false, false, 3},
        };
        matriz_.ops = {{"C", 1, Fecha(2017, 3, 1), 1, 18, 100, "C1"},
                       {"C", 2, Fecha(2017, 3, 2), 1, 18, 100, "C2"}};
        sucursal_.clientes = {
            // Same person, typed with blanks and other letter case.
            {"C1", std::string(" juan "), std::string("Perez"), std::string(""), false, false, 2,
             2},
            // Same key, another person.
            {"C2", std::string("LUIS"), std::string("RUIZ"), std::string("DIAZ"), false, false, 3,
             2},
            // Only here.
            {"C3", std::string("EVA"), std::string("SOTO"), std::monostate{}, false, false, 2, 2},
            // Another company of the branch: stays out.
            {"C4", std::string("OTRO"), std::string("CLIENTE"), std::monostate{}, false, false, 2,
             1},
        };
        // The branch calls sector 3 something else, and currency 2 too.
        sucursal_.sectores[2][1] = std::string("Hoteles");
        sucursal_.sectores[2][2] = std::string("8810001");
        sucursal_.divisas[1][1] = std::string("GBP");
        sucursal_.divisas[1][2] = std::string("Libra esterlina");
        sucursal_.ops = {{"V", 1, Fecha(2017, 4, 1), 1, 18, 50, "C1", 2},
                         {"V", 2, Fecha(2017, 4, 2), 2, 24, 50, "C2", 2},
                         {"V", 3, Fecha(2017, 4, 3), 1, 18, 50, "C3", 2},
                         {"V", 4, Fecha(2017, 4, 4), 1, 18, 50, "C4", 1},
                         {"V", 5, Fecha(2017, 4, 5), 1, 18, 50, "C9", 2}};
        sucursal_.alertas = {{"I", Fecha(2017, 5, 1), "POSIBLE PEP", 2, "C2"},
                             {"I", Fecha(2017, 5, 1), "POSIBLE PEP", 1, "C1"}};
        matriz_.Escribe((dir_ / "a.mdb").string());
        sucursal_.Escribe((dir_ / "b.mdb").string());
    }

    TCentro Centro() { return TCentro({dir_ / "a.mdb", dir_ / "b.mdb"}, {1, 2}); }
    // A file written anew in another's place, as a copy put there would be.
    void Reescribe(const TBDNorvex& bd, const std::string& sNombre) {
        bd.Escribe((dir_ / "nuevo.mdb").string());
        fs::rename(dir_ / "nuevo.mdb", dir_ / sNombre);
    }

    TDirTemporal dir_;
    TBDNorvex matriz_, sucursal_;
};

TEST_F(UnionTest, MismaClaveYNombreEsUnClienteYOtroNombreSonDos) {
    TCentro centro = Centro();
    EXPECT_EQ(
        centro.Filas("SELECT ClaveCliente, Nombre, ClaveSector, NumEmp FROM tCliente "
                     "ORDER BY ClaveCliente"),
        (std::vector<std::string>{"C1|JUAN|2|1", "C2|ANA|3|1", "C2/2|LUIS|7|1", "C3|EVA|2|1"}));
    // Each branch's operations follow its own client, currency and company,
    // with the branch's number ahead of their folio; the other company's and
    // the lost client's stay as they should.
    EXPECT_EQ(centro.Filas("SELECT Folio, ClaveCliente, NumeroDivisa, NumEmp FROM tMovtos "
                           "WHERE Tipo = 'V' ORDER BY Folio"),
              (std::vector<std::string>{"20000000001|C1|1|1", "20000000002|C2/2|6|1",
                                        "20000000003|C3|1|1", "20000000005|C9|1|1"}));
    EXPECT_EQ(centro.Filas("SELECT COUNT(*) FROM (SELECT DISTINCT ClaveCliente FROM tMovtos)"),
              (std::vector<std::string>{"5"}));
}

TEST_F(UnionTest, OtraDescripcionEsOtraFilaConSusPropiosDatos) {
    TCentro centro = Centro();
    EXPECT_EQ(centro.Filas("SELECT ClaveSector, Sector, ClaveActividad FROM tSector "
                           "WHERE ClaveSector IN (3, 7) ORDER BY ClaveSector"),
              (std::vector<std::string>{"3|Centro cambiario|9503005", "7|Hoteles|8810001"}));
    EXPECT_EQ(centro.Filas("SELECT NumeroDivisa, Simbolo FROM tDivisas WHERE NumeroDivisa IN "
                           "(2, 6) ORDER BY NumeroDivisa"),
              (std::vector<std::string>{"2|EUR", "6|GBP"}));
    EXPECT_EQ(centro.Filas("SELECT COUNT(*) FROM tSector"), (std::vector<std::string>{"7"}));
    // The alert of the branch's other company stays out; its own is about
    // its own client.
    EXPECT_EQ(centro.Filas("SELECT ClaveCliente, NumEmp FROM tRelevan"),
              (std::vector<std::string>{"C2/2|1"}));
    // The head office's company alone heads the report.
    EXPECT_EQ(centro.Filas("SELECT COUNT(*) FROM tEmpresa"), (std::vector<std::string>{"1"}));
}

// The window asks which branches list a client while the engine reads the
// alerts on its reading thread (its heartbeat runs meanwhile): it reads what
// the rules learnt so far, never a half-written list (ThreadSanitizer runs
// this, scripts/tsan.sh).
TEST_F(UnionTest, LasAlertasSeLeenMientrasSeCopian) {
    // Alerts about many clients: the rules learn new ones batch after batch.
    for (int i = 0; i < 20000; ++i)
        sucursal_.alertas.push_back(
            {"I", Fecha(2017, 5, 2), "POSIBLE PEP", 2, "K" + std::to_string(i)});
    Reescribe(sucursal_, "b.mdb");
    auto reglas = std::make_shared<TUnionNorvex>(std::vector<int64_t>{1, 2});
    TCentro centro({dir_ / "a.mdb", dir_ / "b.mdb"}, {1, 2}, true, reglas);
    int nVistas = 0;
    centro.conexion.Motor().PonLatido(std::make_shared<jet::TLatido>(
        [&] { nVistas += static_cast<int>(reglas->DameSucursalesConAlertas("C2/2").size()); },
        std::chrono::milliseconds(0)));
    EXPECT_EQ(centro.Filas("SELECT COUNT(*) FROM tRelevan"), (std::vector<std::string>{"20001"}));
    EXPECT_EQ(reglas->DameSucursalesConAlertas("C2/2"), (std::set<size_t>{1}));
    EXPECT_EQ(reglas->DameSucursalesConAlertas("K19999"), (std::set<size_t>{1}));
    EXPECT_GT(nVistas, 0);
}

// When one file changes, the centre reads again its rows and those of the
// branches whose rows the change maps to other keys; its answers are those
// of the centre opened anew.
TEST_F(UnionTest, UnArchivoQueCambiaReleeLoQueSuCambioToca) {
    const std::vector<std::string> consultas = {
        "SELECT ClaveCliente, Nombre, ClaveSector FROM tCliente",
        "SELECT Folio, ClaveCliente, NumeroDivisa, Cantidad FROM tMovtos",
        "SELECT m.Folio, c.Nombre FROM tMovtos AS m INNER JOIN tCliente AS c "
        "ON m.ClaveCliente = c.ClaveCliente ORDER BY m.Folio",
        "SELECT ClaveCliente, NumEmp FROM tRelevan",
        "SELECT NumeroDivisa, Simbolo FROM tDivisas",
    };
    auto responde = [&](TCentro& centro) {
        std::vector<std::string> r;
        for (const auto& s : consultas)
            for (const auto& f : centro.Filas(s)) r.push_back(s + ": " + f);
        return r;
    };
    const TBDNorvex matriz = matriz_, sucursal = sucursal_;
    const struct {
        const char* sCaso;
        std::function<void(TBDNorvex& matriz, TBDNorvex& sucursal)> cambia;
        bool bMatriz;               // the head office's file changes (else the branch's)
        std::set<size_t> releidas;  // the files whose rows are read again
        // The files as they were first (none: the fixture's).
        std::function<void(TBDNorvex& matriz, TBDNorvex& sucursal)> antes = nullptr;
    } casos[] = {
        {"an operation of the branch",
         [](TBDNorvex&, TBDNorvex& s) { s.ops[0].dCantidad = 75; },
         false,
         {1}},
        {"an operation of the head office",
         [](TBDNorvex& m, TBDNorvex&) {
             m.ops.push_back({"C", 3, 42800, 1, 18, 9, "C1"});
         },
         true,
         {0}},
        // The branch's C2 is now the head office's C2: no longer C2/2.
        {"the head office's client is the branch's",
         [](TBDNorvex& m, TBDNorvex&) { m.clientes[1].vNombre = std::string("LUIS"); },
         true,
         {0, 1}},
        // The branch's C3 is now another client than the head office's C3.
        {"the head office takes the branch's key",
         [](TBDNorvex& m, TBDNorvex&) {
             m.clientes.push_back(
                 {"C3", std::string("PEDRO"), std::string("SOTO"), std::monostate{}});
         },
         true,
         {0, 1}},
        // C9, which the branch uses without a catalogue row, is now taken.
        {"the head office takes a key the branch only uses",
         [](TBDNorvex& m, TBDNorvex&) {
             m.clientes.push_back(
                 {"C9", std::string("PEDRO"), std::string("SOTO"), std::monostate{}});
         },
         true,
         {0, 1}},
        // The branch's currency 2 is now the head office's: no longer 6.
        {"the head office's currency is the branch's",
         [](TBDNorvex& m, TBDNorvex&) {
             m.divisas[1][1] = std::string("GBP");
             m.divisas[1][2] = std::string("Libra esterlina");
         },
         true,
         {0, 1}},
        // The head office has C9 from the start: the branch's C9 got a key
        // of its own as its operations were read, in the order they were
        // read, and a key given so is given again from the start.
        {"any file once a key was renamed as rows were read",
         [](TBDNorvex&, TBDNorvex& s) { s.ops[0].dCantidad = 75; },
         false,
         {0, 1},
         [](TBDNorvex& m, TBDNorvex&) {
             m.clientes.push_back(
                 {"C9", std::string("PEDRO"), std::string("SOTO"), std::monostate{}});
         }},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.sCaso);
        matriz_ = matriz;
        sucursal_ = sucursal;
        if (c.antes)
            c.antes(matriz_, sucursal_);
        Reescribe(matriz_, "a.mdb");
        Reescribe(sucursal_, "b.mdb");
        auto reglas = std::make_shared<TReglasContadas>(std::vector<int64_t>{1, 2});
        TCentro centro({dir_ / "a.mdb", dir_ / "b.mdb"}, {1, 2}, true, reglas);
        const auto antes = responde(centro);
        c.cambia(matriz_, sucursal_);
        Reescribe(c.bMatriz ? matriz_ : sucursal_, c.bMatriz ? "a.mdb" : "b.mdb");
        std::fill(reglas->filas.begin(), reglas->filas.end(), 0);
        const auto despues = responde(centro);
        EXPECT_NE(despues, antes);
        for (size_t n : {0, 1}) EXPECT_EQ(reglas->filas[n] > 0, c.releidas.count(n) > 0) << n;
        TCentro nuevo = Centro();
        EXPECT_EQ(despues, responde(nuevo));
    }
}

// Branches type keys in either letter case, and Jet finds a key in any: a
// key one branch writes "ab1" and another "AB1" is one client when the name
// is the same, and two that no join confuses when it is not.
TEST(UnionClaves, LaClaveSeComparaComoJetSinDistinguirMayusculas) {
    TDirTemporal dir;
    TBDNorvex matriz, sucursal;
    matriz.clientes = {
        {"AB1", std::string("JUAN"), std::string("PEREZ"), std::monostate{}},
        {"xy7", std::string("ANA"), std::string("RUIZ"), std::monostate{}},
        // Already the key a renamed "xy7" of branch 2 would get.
        {"XY7/2", std::string("PEDRO"), std::string("SOTO"), std::monostate{}},
    };
    matriz.ops = {{"C", 1, Fecha(2017, 3, 1), 1, 18, 100, "AB1"},
                  {"C", 2, Fecha(2017, 3, 2), 1, 18, 100, "xy7"},
                  {"C", 3, Fecha(2017, 3, 3), 1, 18, 100, "XY7/2"}};
    sucursal.clientes = {
        {"ab1", std::string("Juan"), std::string("PEREZ"), std::monostate{}},
        {"XY7", std::string("LUIS"), std::string("RUIZ"), std::monostate{}},
    };
    // Operations name their client in yet another case, as Jet lets them.
    sucursal.ops = {{"V", 1, Fecha(2017, 4, 1), 1, 18, 50, "Ab1"},
                    {"V", 2, Fecha(2017, 4, 2), 1, 18, 50, "xY7"}};
    matriz.Escribe((dir / "a.mdb").string());
    sucursal.Escribe((dir / "b.mdb").string());
    TCentro centro({dir / "a.mdb", dir / "b.mdb"}, {1, 1});

    EXPECT_EQ(centro.Filas("SELECT ClaveCliente, Nombre FROM tCliente ORDER BY Nombre"),
              (std::vector<std::string>{"xy7|ANA", "AB1|JUAN", "XY7/2'|LUIS", "XY7/2|PEDRO"}));
    // The statements join with Jet's comparison: every operation finds its
    // own client and no other.
    EXPECT_EQ(centro.Filas("SELECT m.Tipo, c.Nombre FROM tMovtos AS m INNER JOIN tCliente AS c "
                           "ON m.ClaveCliente = c.ClaveCliente ORDER BY m.Fecha"),
              (std::vector<std::string>{"C|JUAN", "C|ANA", "C|PEDRO", "V|JUAN", "V|LUIS"}));
}

// A key of its own given to a branch's client is not one that a later
// branch's catalogue has, in any letter case: each keeps its own client.
TEST(UnionClaves, LaClaveNuevaNoEsLaDeOtraSucursal) {
    TDirTemporal dir;
    TBDNorvex a, b, c;
    a.clientes = {{"K1", std::string("JUAN"), std::string("PEREZ"), std::monostate{}}};
    b.clientes = {{"k1", std::string("LUIS"), std::string("RUIZ"), std::monostate{}}};
    c.clientes = {{"K1/2", std::string("EVA"), std::string("SOTO"), std::monostate{}}};
    b.ops = {{"V", 1, Fecha(2017, 4, 1), 1, 18, 50, "k1"}};
    c.ops = {{"V", 1, Fecha(2017, 4, 2), 1, 18, 50, "K1/2"}};
    a.Escribe((dir / "a.mdb").string());
    b.Escribe((dir / "b.mdb").string());
    c.Escribe((dir / "c.mdb").string());
    TCentro centro({dir / "a.mdb", dir / "b.mdb", dir / "c.mdb"}, {1, 1, 1});
    EXPECT_EQ(centro.Filas("SELECT ClaveCliente, Nombre FROM tCliente ORDER BY Nombre"),
              (std::vector<std::string>{"K1/2|EVA", "K1|JUAN", "k1/2'|LUIS"}));
    EXPECT_EQ(centro.Filas("SELECT c.Nombre FROM tMovtos AS m INNER JOIN tCliente AS c "
                           "ON m.ClaveCliente = c.ClaveCliente ORDER BY m.Fecha"),
              (std::vector<std::string>{"LUIS", "EVA"}));
}

// A key of its own fits in the 20 characters a client's key has, so the PEP
// list keeps it whole: a full-width key is cut to make room for its branch.
TEST(UnionClaves, LaClaveNuevaCabeEnLaDeNorvex) {
    TDirTemporal dir;
    TBDNorvex a, b;
    const std::string sLarga = "ABCDEFGHIJKLMNOPQRSÑ";  // 20 characters, 21 bytes
    a.clientes = {
        {sLarga, std::string("JUAN"), std::string("PEREZ"), std::monostate{}},
        {"ABCDEFGHIJKLMNOPQR/2", std::string("EVA"), std::string("SOTO"), std::monostate{}}};
    b.clientes = {{sLarga, std::string("LUIS"), std::string("RUIZ"), std::monostate{}}};
    b.ops = {{"V", 1, Fecha(2017, 4, 1), 1, 18, 50, sLarga}};
    a.Escribe((dir / "a.mdb").string());
    b.Escribe((dir / "b.mdb").string());
    TCentro centro({dir / "a.mdb", dir / "b.mdb"}, {1, 1});
    EXPECT_EQ(centro.Filas("SELECT ClaveCliente, Nombre FROM tCliente ORDER BY Nombre"),
              (std::vector<std::string>{"ABCDEFGHIJKLMNOPQR/2|EVA", sLarga + "|JUAN",
                                        "ABCDEFGHIJKLMNOPQ/2'|LUIS"}));
    EXPECT_EQ(centro.Filas("SELECT c.Nombre FROM tMovtos AS m INNER JOIN tCliente AS c "
                           "ON m.ClaveCliente = c.ClaveCliente"),
              (std::vector<std::string>{"LUIS"}));
}

// Two branches that each made one operation with the same folio, date,
// currency, quote and client made two operations: the centre answers as one
// database holding both under folios of their own.
TEST(UnionFolios, OperacionesIgualesDeDosSucursalesSonDos) {
    TDirTemporal dir;
    const TBDNorvex::TCliente cliente{"C1", std::string("JUAN"), std::string("PEREZ"),
                                      std::monostate{}};
    TBDNorvex matriz, sucursal, junta;
    matriz.clientes = sucursal.clientes = junta.clientes = {cliente};
    const TBDNorvex::TOp op{"C", 7, Fecha(2017, 3, 1), 1, 18, 100, "C1"};
    matriz.ops = {op};
    // The branch keeps its line in the other table: the statements read both.
    sucursal.ops = {op};
    sucursal.ops[0].bEnProces = true;
    junta.ops = {op, op};
    junta.ops[1].nFolio = 8;
    matriz.Escribe((dir / "a.mdb").string());
    sucursal.Escribe((dir / "b.mdb").string());
    junta.Escribe((dir / "c.mdb").string());
    TCentro centro({dir / "a.mdb", dir / "b.mdb"}, {1, 1});
    TCentro una({dir / "c.mdb"}, {1}, false);

    TCuestPrueba q;
    const std::string sOperaciones =
        "SELECT COUNT(*), SUM(AuxCant) FROM (" + q.DameConsOperaciones(false) + ")";
    EXPECT_EQ(centro.Filas(sOperaciones), (std::vector<std::string>{"2|200"}));
    EXPECT_EQ(centro.Filas("SELECT Folio FROM tProces"), (std::vector<std::string>{"20000000007"}));
    EsperaIguales(Corre(una), Corre(centro));
}

}  // namespace
