// Statements answered ahead on a second thread (TMotorJet::Anticipa): the
// same answers in the caller's order, failures met at their own statement,
// the file's changes seen, an interruption stopping both threads, and the
// heartbeat only ever on the calling thread.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ArchivoFalso.h"
#include "platform/jet/Latido.h"

using jet::TTipoColumna;

namespace {

std::shared_ptr<TArchivoFalso> Operaciones(int nFilas) {
    auto a = std::make_shared<TArchivoFalso>();
    std::vector<TArchivoFalso::Fila> filas;
    for (int i = 0; i < nFilas; ++i)
        filas.push_back({int64_t{i}, std::string(i % 3 == 0 ? "C" : "V"), int64_t{i % 7}});
    a->Tabla("tOps",
             {{"Folio", TTipoColumna::tcEnteroLargo, 4},
              {"Tipo", TTipoColumna::tcTexto, 1},
              {"Cli", TTipoColumna::tcEnteroLargo, 4}},
             filas);
    return a;
}

// Shaped as the questionnaire's: the first statement keeps a derived table the
// others read, most of them through derived tables of their own, some shared
// among themselves; answers of several rows and of none, and ties a TOP cuts.
const std::string sBase = "(SELECT Tipo, Cli, COUNT(*) AS N FROM tOps GROUP BY Tipo, Cli)";
std::vector<std::string> Lista() {
    return {
        "SELECT COUNT(*) FROM " + sBase + " AS b",
        "SELECT SUM(N) FROM " + sBase + " AS b WHERE Tipo = 'C'",
        "SELECT Tipo, Cli, N FROM " + sBase + " AS b ORDER BY Tipo, Cli",
        "SELECT MAX(N) FROM (SELECT Cli, SUM(N) AS N FROM " + sBase + " AS b GROUP BY Cli) AS c",
        "SELECT TOP 2 Cli FROM (SELECT Cli, SUM(N) AS N FROM " + sBase +
            " AS b GROUP BY Cli) AS c ORDER BY N DESC",
        "SELECT Folio FROM tOps WHERE Folio > 1000000",
        "SELECT FIRST(Folio), LAST(Folio) FROM (SELECT * FROM tOps WHERE Tipo = 'V') AS v",
        "SELECT COUNT(*) FROM (SELECT * FROM tOps WHERE Tipo = 'V') AS v WHERE Cli = 3",
        "SELECT UCASE(Tipo) & '-' & STR(N) FROM " + sBase + " AS b WHERE Cli = 6 ORDER BY Tipo",
    };
}

// Waits (bounded) until the engine's second thread has given n answers.
bool Espera(const jet::TMotorJet& motor, size_t n) {
    for (int i = 0; i < 20000 && motor.Anticipadas() < n; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return motor.Anticipadas() >= n;
}

TEST(Anticipador, SameAnswersInTheCallersOrder) {
    auto a = Operaciones(3000);
    const auto lista = Lista();
    std::vector<std::string> esperadas;
    auto solo = MotorSobre(a);
    for (const auto& s : lista) esperadas.push_back(Texto(solo->Ejecuta(s)));
    // All but the first answered by the thread before they are asked, then
    // again with the two threads racing, then a list dropped half way.
    for (const bool bEspera : {true, false}) {
        auto motor = MotorSobre(a);
        motor->Anticipa(lista);
        for (size_t i = 0; i < lista.size(); ++i) {
            EXPECT_EQ(Texto(motor->Ejecuta(lista[i])), esperadas[i]) << i;
            if (i == 0 && bEspera) {
                ASSERT_TRUE(Espera(*motor, lista.size() - 1));
            }
        }
        if (bEspera) {
            EXPECT_EQ(motor->Anticipadas(), lista.size() - 1);
        }
        motor->Anticipa({});
        // The engine goes on as without a list, with the kept tables intact.
        EXPECT_EQ(Texto(motor->Ejecuta(lista[3])), esperadas[3]);
    }
    auto motor = MotorSobre(a);
    motor->Anticipa(lista);
    EXPECT_EQ(Texto(motor->Ejecuta(lista[0])), esperadas[0]);
    ASSERT_TRUE(Espera(*motor, lista.size() - 1));
    // A statement off the list drops it: the next ones are run as asked.
    EXPECT_EQ(Texto(motor->Ejecuta("SELECT COUNT(*) FROM tOps")), "3000");
    EXPECT_EQ(Texto(motor->Ejecuta(lista[2])), esperadas[2]);
    EXPECT_EQ(Texto(motor->Ejecuta(lista[1])), esperadas[1]);
}

// The thread meets the failure first (it starts from the back of the list);
// the caller still gets every answer before it, then the failure itself, at
// its own statement, as an engine without a list reports it.
TEST(Anticipador, AFailureSurfacesAtItsOwnStatement) {
    auto a = Operaciones(500);
    const char* fallidas[] = {
        "SELECT NoExiste FROM tOps",                         // binding
        "SELECT COUNT(*) FROM (SELECT * FROM tNoHay) AS x",  // a table not in the file
        "SELECT CLng('x' & Tipo) FROM tOps",                 // a Jet function, running
        "SELECT SELECT",                                     // parsing
    };
    for (const char* sFallida : fallidas) {
        auto lista = Lista();
        lista.push_back(sFallida);
        std::string sClase, sMensaje;
        try {
            MotorSobre(a)->Ejecuta(sFallida);
            ADD_FAILURE() << "no failure: " << sFallida;
        } catch (const jet::EErrorJet& e) {
            sClase = e.Clase();
            sMensaje = e.Mensaje();
        }
        auto solo = MotorSobre(a);
        auto motor = MotorSobre(a);
        motor->Anticipa(lista);
        for (size_t i = 0; i + 1 < lista.size(); ++i) {
            EXPECT_EQ(Texto(motor->Ejecuta(lista[i])), Texto(solo->Ejecuta(lista[i])));
            if (i == 0) {
                ASSERT_TRUE(Espera(*motor, lista.size() - 2)) << sFallida;
            }
        }
        try {
            motor->Ejecuta(lista.back());
            ADD_FAILURE() << "no failure: " << sFallida;
        } catch (const jet::EErrorJet& e) {
            EXPECT_EQ(e.Clase(), sClase) << sFallida;
            EXPECT_EQ(e.Mensaje(), sMensaje) << sFallida;
        }
    }
}

// The thread's answers come from the file as it was when they were worked out:
// a file changed on disk is read again and the rest of the list answers
// from the new contents.
TEST(Anticipador, AFileChangedOnDiskIsReadAgain) {
    auto v1 = Operaciones(300);
    v1->firma_ = {100, 1};
    auto v2 = Operaciones(600);
    v2->firma_ = {100, 2};
    auto enDisco = v1;
    jet::TMotorJet motor(
        [&] {
            return std::unique_ptr<jet::TArchivoAccess>(std::make_unique<TArchivoFalso>(*enDisco));
        },
        [&](const std::string&) { return enDisco->firma_; });
    const auto lista = Lista();
    motor.Anticipa(lista);
    motor.Ejecuta(lista[0]);
    ASSERT_TRUE(Espera(motor, lista.size() - 1));
    enDisco = v2;
    auto solo = MotorSobre(v2);
    for (size_t i = 1; i < lista.size(); ++i)
        EXPECT_EQ(Texto(motor.Ejecuta(lista[i])), Texto(solo->Ejecuta(lista[i]))) << i;
}

// Asked to stop while the caller waits for the thread (or runs the statement
// itself), the statement fails with EInterrumpida and both threads are done
// when it returns; let go, the statements answer in full. The heartbeat
// beats on the calling thread only, also while it waits.
TEST(Anticipador, AnInterruptionStopsBothThreadsAndTheHeartbeatStaysOnTheCaller) {
    auto a = Operaciones(2000);
    // Never done in time: the request always comes first.
    const std::string sLarga =
        "SELECT COUNT(*) FROM tOps AS x, tOps AS y, tOps AS z WHERE x.Folio <> y.Folio";
    // The thread starts from the back: the short last statement first, then
    // the long one, which the caller reaches while the thread is on it.
    auto lista = Lista();
    lista.push_back(sLarga);
    lista.push_back("SELECT COUNT(*) FROM tOps");
    const auto llamador = std::this_thread::get_id();
    int nLatidos = 0, nAjenos = 0;
    std::shared_ptr<jet::TLatido> latido;
    latido = std::make_shared<jet::TLatido>(
        [&] {
            if (std::this_thread::get_id() != llamador)
                ++nAjenos;
            if (++nLatidos == 20)
                latido->Interrumpe();
        },
        std::chrono::milliseconds(0));
    auto motor = MotorSobre(a);
    motor->PonLatido(latido);
    motor->Anticipa(lista);
    for (size_t i = 0; i + 2 < lista.size(); ++i) {
        nLatidos = -1000000000;  // no request while these run
        motor->Ejecuta(lista[i]);
        if (i == 0) {
            ASSERT_TRUE(Espera(*motor, 1));
        }
    }
    nLatidos = 0;
    try {
        motor->Ejecuta(sLarga);
        ADD_FAILURE() << "not stopped";
    } catch (const jet::EErrorJet& e) {
        EXPECT_EQ(e.Clase(), "EInterrumpida");
    }
    EXPECT_GE(nLatidos, 20);
    EXPECT_EQ(nAjenos, 0);
    EXPECT_EQ(motor->Anticipadas(), 1u);  // the long one never finished
    latido->Reanuda();
    nLatidos = -1000000000;
    auto solo = MotorSobre(a);
    for (const auto& s : {lista[2], lista[4], lista[7]})
        EXPECT_EQ(Texto(motor->Ejecuta(s)), Texto(solo->Ejecuta(s))) << s;
    EXPECT_EQ(nAjenos, 0);
}

}  // namespace
