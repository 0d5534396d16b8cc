// A union of files copied into the snapshot: when one file changes on disk,
// only its rows are read again, and the answers are those of a union opened
// anew over the files as they are now.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <functional>
#include <thread>

#include "ArchivoFalso.h"
#include "platform/jet/ArchivoUnion.h"
#include "platform/jet/Instantanea.h"
#include "platform/jet/Latido.h"

using jet::TTipoColumna;

namespace {

// Three files read as one; the "disk" holds each file's current version.
class InstantaneaUnion : public ::testing::Test {
protected:
    static constexpr size_t kPartes = 3;

    InstantaneaUnion() {
        for (size_t n = 0; n < kPartes; ++n) enDisco_.push_back(Parte(n, 1, 1000));
    }

    // Version nVersion of file n: nFilas rows in t and in u, told apart by
    // file and version; bOtraColumna gives t one more column.
    static std::shared_ptr<TArchivoFalso> Parte(size_t n, int nVersion, int nFilas,
                                                bool bOtraColumna = false) {
        auto a = std::make_shared<TArchivoFalso>();
        a->ruta_ = "parte" + std::to_string(n) + ".mdb";
        a->firma_ = {100, nVersion};
        std::vector<TArchivoFalso::Fila> t, u;
        for (int i = 0; i < nFilas; ++i) {
            // Not in ascending order, so that a full scan shows the order rows were stored in.
            const int64_t k =
                static_cast<int64_t>(n) * 100000 + nVersion * 10000 + (i * 7) % nFilas;
            TArchivoFalso::Fila f(bOtraColumna ? 3 : 2);
            f[0] = k;
            f[1] = std::string(i % 3 ? "x" : "y") + std::to_string(nVersion);
            if (bOtraColumna)
                f[2] = int64_t{i};
            t.push_back(std::move(f));
            u.push_back({k});
        }
        std::vector<jet::TColumna> columnas{{"N", TTipoColumna::tcEnteroLargo, 4},
                                            {"S", TTipoColumna::tcTexto, 20}};
        if (bOtraColumna)
            columnas.push_back({"X", TTipoColumna::tcEnteroLargo, 4});
        a->Tabla("t", columnas, t);
        // A column of the file may take SQLite's name for the rowid.
        a->Tabla("u", {{"Rowid", TTipoColumna::tcEnteroLargo, 4}}, u);
        return a;
    }

    jet::TArchivoUnion::TFirmaEnDisco FirmaParte() {
        return [this](const std::string& sRuta) {
            for (const auto& a : enDisco_)
                if (a->ruta_ == sRuta)
                    return a->firma_;
            return jet::TFirmaArchivo{};
        };
    }
    std::unique_ptr<jet::TArchivoAccess> AbreParte(size_t n) {
        return std::make_unique<TArchivoFalso>(*enDisco_.at(n));
    }
    std::unique_ptr<jet::TArchivoAccess> AbreUnion() {
        std::vector<std::unique_ptr<jet::TArchivoAccess>> partes;
        for (size_t n = 0; n < kPartes; ++n) partes.push_back(AbreParte(n));
        return std::make_unique<jet::TArchivoUnion>(
            std::move(partes), nullptr, [this](size_t n) { return AbreParte(n); }, FirmaParte());
    }
    jet::TInstantanea::TAbreArchivo Abre() {
        return [this] { return AbreUnion(); };
    }
    jet::TInstantanea::TFirmaEnDisco FirmaEnDisco() {
        return [this](const std::string& s) {
            return jet::TArchivoUnion::FirmaEnDiscoPorPartes(s, FirmaParte());
        };
    }
    std::unique_ptr<jet::TMotorJet> Motor() {
        return std::make_unique<jet::TMotorJet>(Abre(), FirmaEnDisco());
    }

    std::vector<std::shared_ptr<TArchivoFalso>> enDisco_;
};

// The rules adapt one row at a time and are never prepared again while rows
// are read: either is a fault of the program, refused, and the union reads
// on as before.
TEST_F(InstantaneaUnion, ARuleIsNeverPreparedNorAdaptedTwiceDuringARead) {
    const auto u = AbreUnion();
    auto& unidos = dynamic_cast<jet::TArchivoUnion&>(*u);
    enDisco_[1] = Parte(1, 2, 10);
    EXPECT_THROW(
        unidos.LeeFilas("t", [&](const std::vector<jet::TValor>&) { unidos.ReabrePartes({1}); }),
        std::logic_error);
    EXPECT_THROW(unidos.LeeFilas("t",
                                 [&](const std::vector<jet::TValor>&) {
                                     unidos.LeeFilas("u", [](const std::vector<jet::TValor>&) {});
                                 }),
                 std::logic_error);
    int nFilas = 0;
    unidos.LeeFilas("u", [&](const std::vector<jet::TValor>&) { ++nFilas; });
    EXPECT_EQ(nFilas, 3000);
    EXPECT_EQ(unidos.ReabrePartes({1}), (std::set<size_t>{1}));
}

// What a statement's answer shows of the rows: their order too.
const char* const kConsultas[] = {
    "SELECT N, S FROM t",
    "SELECT COUNT(*), SUM(Rowid) FROM u",
    // A derived table the snapshot keeps, read before and after the change.
    "SELECT DISTINCT d.S FROM (SELECT S FROM t) AS d",
    "SELECT TOP 3 d.N FROM (SELECT N FROM t WHERE S LIKE 'y*') AS d",
};

std::vector<std::string> Responde(jet::TMotorJet& motor) {
    std::vector<std::string> r;
    for (const char* s : kConsultas) r.push_back(Texto(motor.Ejecuta(s)));
    return r;
}

TEST_F(InstantaneaUnion, AChangedFileReadsOnlyItsRowsAndAnswersAsAFreshUnion) {
    const struct {
        const char* sCaso;
        size_t nParte;
        bool bOtraColumna;  // the head office's tables change: everything is read again
    } casos[] = {
        {"the first file", 0, false},
        {"a file in the middle", 1, false},
        {"the last file", 2, false},
        {"the first file's tables", 0, true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.sCaso);
        enDisco_.clear();
        for (size_t n = 0; n < kPartes; ++n) enDisco_.push_back(Parte(n, 1, 1000));
        const auto antes = enDisco_;
        auto motor = Motor();
        const auto respuestasAntes = Responde(*motor);
        // Fewer rows than before, other values, another order.
        enDisco_[c.nParte] = Parte(c.nParte, 2, 600, c.bOtraColumna);
        const auto respuestas = Responde(*motor);
        EXPECT_NE(respuestas, respuestasAntes);
        for (size_t n = 0; n < kPartes; ++n) {
            const bool bCambiada = n == c.nParte;
            const int nLecturas = bCambiada || !c.bOtraColumna ? 1 : 2;
            EXPECT_EQ((*enDisco_[n]->lecturas)["t"], nLecturas) << n;
            EXPECT_EQ((*enDisco_[n]->lecturas)["u"], nLecturas) << n;
        }
        EXPECT_EQ((*antes[c.nParte]->lecturas)["t"], 1);
        // Answered again with nothing changed, nothing is read.
        EXPECT_EQ(Responde(*motor), respuestas);
        EXPECT_EQ((*enDisco_[c.nParte]->lecturas)["t"], 1);
        EXPECT_EQ(Responde(*Motor()), respuestas);
    }
}

// The rows of every table as the snapshot holds them, in its order (a digest).
std::string Contenido(jet::TInstantanea& i) {
    std::string s;
    for (const char* sql :
         {"SELECT group_concat(N || S, ',') FROM t", "SELECT group_concat(Rowid, ',') FROM u"}) {
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(i.Db(), sql, -1, &st, nullptr), SQLITE_OK);
        EXPECT_EQ(sqlite3_step(st), SQLITE_ROW);
        const auto* t = sqlite3_column_text(st, 0);
        // Short enough to show when it differs.
        const std::string sFilas = t ? reinterpret_cast<const char*>(t) : "";
        s += std::to_string(std::hash<std::string>{}(sFilas)) + ";";
        sqlite3_finalize(st);
    }
    return s;
}

TEST_F(InstantaneaUnion, AnInterruptedReloadLeavesEveryTableAsItWas) {
    // The reload deletes the changed file's rows of t (the first beats come
    // from SQLite), reads them again (a beat a row), then does the same in u.
    for (int nLatido : {1, 500, 1500}) {
        SCOPED_TRACE(nLatido);
        enDisco_[1] = Parte(1, 1, 1000);
        jet::TInstantanea instantanea(Abre(), FirmaEnDisco(), [] {});
        instantanea.DameTabla("t");
        instantanea.DameTabla("u");
        const std::string sAntes = Contenido(instantanea);
        enDisco_[1] = Parte(1, 2, 1000);
        int nLatidos = 0;
        std::shared_ptr<jet::TLatido> latido;
        latido = std::make_shared<jet::TLatido>(
            [&] {
                if (++nLatidos == nLatido)
                    latido->Interrumpe();
            },
            std::chrono::milliseconds(0));
        instantanea.PonLatido(latido);
        try {
            instantanea.Actualiza();
            ADD_FAILURE() << "not stopped";
        } catch (const jet::EErrorJet& e) {
            EXPECT_EQ(e.Clase(), "EInterrumpida");
        }
        EXPECT_LT(nLatidos, nLatido + 10);
        latido->Reanuda();
        EXPECT_EQ(Contenido(instantanea), sAntes);
        // The next statement sees the files as they are now.
        instantanea.Actualiza();
        instantanea.DameTabla("t");
        instantanea.DameTabla("u");
        jet::TInstantanea nueva(Abre(), FirmaEnDisco(), [] {});
        nueva.DameTabla("t");
        nueva.DameTabla("u");
        EXPECT_EQ(Contenido(instantanea), Contenido(nueva));
        EXPECT_NE(Contenido(instantanea), sAntes);
    }
}

// Statements answered ahead on the engine's second thread come from the
// files as they were: one file changed meanwhile stops the thread before its
// rows are traded, and the rest of the list answers from the files as they
// are now, only that file read again.
TEST_F(InstantaneaUnion, AChangedFileWhileStatementsAreAnsweredAheadIsSeen) {
    // The first statement copies both tables and keeps a derived table.
    std::vector<std::string> lista{
        "SELECT COUNT(*), MIN(u.Rowid) FROM (SELECT DISTINCT S FROM t) AS d, u"};
    for (const char* s : kConsultas) lista.push_back(s);
    auto motor = Motor();
    motor->Anticipa(lista);
    motor->Ejecuta(lista[0]);
    for (int i = 0; i < 20000 && motor->Anticipadas() < lista.size() - 1; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(motor->Anticipadas(), lista.size() - 1);
    enDisco_[1] = Parte(1, 2, 600);
    auto nuevo = Motor();
    for (size_t i = 1; i < lista.size(); ++i)
        EXPECT_EQ(Texto(motor->Ejecuta(lista[i])), Texto(nuevo->Ejecuta(lista[i]))) << lista[i];
    EXPECT_EQ((*enDisco_[0]->lecturas)["t"], 2);  // this engine's first read, and the new one's
    EXPECT_EQ((*enDisco_[1]->lecturas)["t"], 2);  // read again, and by the new one
}

}  // namespace
