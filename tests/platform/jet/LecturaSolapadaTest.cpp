// Rows decoded on a second thread reach the caller whole, in order, and a
// failure on either side stops both and comes out on the calling thread.
#include "platform/jet/LecturaSolapada.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "tests/platform/jet/ArchivoFalso.h"

namespace {

using jet::TTipoColumna;

std::shared_ptr<TArchivoFalso> ArchivoDe(int nFilas) {
    auto a = std::make_shared<TArchivoFalso>();
    std::vector<TArchivoFalso::Fila> filas;
    for (int i = 0; i < nFilas; ++i)
        filas.push_back({int64_t{i}, std::string(static_cast<size_t>(i % 40), 'x')});
    a->Tabla("t", {{"N", TTipoColumna::tcEnteroLargo, 4}, {"S", TTipoColumna::tcTexto, 50}}, filas);
    return a;
}

// Empty, one row, a batch exactly, one past it, many batches and a part.
TEST(LecturaSolapada, EveryRowArrivesOnceInOrder) {
    for (int nFilas : {0, 1, 512, 513, 5000}) {
        auto a = ArchivoDe(nFilas);
        const auto hilo = std::this_thread::get_id();
        std::vector<TArchivoFalso::Fila> vistas;
        bool bOtroHilo = false;
        jet::TLecturaSolapada::LeeFilas(*a, "t", [&](const std::vector<jet::TValor>& f) {
            bOtroHilo |= std::this_thread::get_id() != hilo;
            vistas.push_back(f);
        });
        std::vector<TArchivoFalso::Fila> esperadas;
        a->LeeFilas("t", [&](const std::vector<jet::TValor>& f) { esperadas.push_back(f); });
        EXPECT_EQ(vistas, esperadas) << nFilas;
        EXPECT_FALSE(bOtroHilo) << nFilas;
    }
}

TEST(LecturaSolapada, AReaderFailureComesOutAsItWas) {
    auto a = ArchivoDe(10);
    *a->bFallaLectura = true;
    try {
        jet::TLecturaSolapada::LeeFilas(*a, "t", [](const std::vector<jet::TValor>&) {});
        FAIL() << "no failure";
    } catch (const jet::EErrorJet& e) {
        EXPECT_NE(std::string(e.what()).find("página dañada"), std::string::npos) << e.what();
    }
}

// The caller fails while the reader is far ahead (its batches pile up): the
// reader stops, nothing hangs, and the caller's failure is the one reported.
TEST(LecturaSolapada, ACallerFailureStopsTheReader) {
    auto a = ArchivoDe(20000);
    int nVistas = 0;
    EXPECT_THROW(jet::TLecturaSolapada::LeeFilas(*a, "t",
                                                 [&](const std::vector<jet::TValor>&) {
                                                     if (++nVistas == 3)
                                                         throw std::runtime_error("disco lleno");
                                                 }),
                 std::runtime_error);
    EXPECT_EQ(nVistas, 3);
}

}  // namespace
