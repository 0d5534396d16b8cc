#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>
#include <stdexcept>
#include <vector>

#include "AplicacionQt.h"
#include "app/Utilerias.h"

namespace {

// A tick counter that moves a fixed step at every reading.
struct TRelojFalso {
    uint32_t nActual;
    uint32_t nPaso;
    int nLecturas = 0;
    uint32_t operator()() {
        ++nLecturas;
        const uint32_t n = nActual;
        nActual += nPaso;
        return n;
    }
};

class UtileriasTest : public ::testing::Test {
protected:
    void SetUp() override { AplicacionQt(); }
};

TEST_F(UtileriasTest, HazPausaMideConRestaSinSignoTambienAlDarLaVuelta) {
    struct TCaso {
        uint32_t nInicio, nPaso, nSegs, nAvanceEsperado;
    };
    const TCaso casos[] = {
        {1000, 10, 400, 400},  // exact multiple: stops at the first reading that reaches it
        {1000, 30, 400, 420},  // never shorter than asked
        {0xFFFFFF00u, 50, 1000, 1000},    // the counter wraps to zero in the middle
        {0xFFFFFFF0u, 0x20, 0x40, 0x40},  // wraps at the first step
    };
    for (const TCaso& c : casos) {
        TRelojFalso reloj{c.nInicio, c.nPaso};
        TUtilerias utilerias([&] { return reloj(); });
        utilerias.HazPausa(c.nSegs);
        // The last reading is the one that ended the pause.
        const uint32_t nAvance = (reloj.nActual - c.nPaso) - c.nInicio;
        EXPECT_EQ(nAvance, c.nAvanceEsperado) << "inicio " << c.nInicio;
    }
}

TEST_F(UtileriasTest, HazPausaCeroProcesaLosEventosPendientesUnaVez) {
    TRelojFalso reloj{5, 0};
    TUtilerias utilerias([&] { return reloj(); });
    bool bAtendido = false;
    QTimer::singleShot(0, [&] { bAtendido = true; });
    utilerias.HazPausa(0);
    EXPECT_TRUE(bAtendido);
    EXPECT_EQ(reloj.nLecturas, 2);
}

TEST_F(UtileriasTest, HazPausaAtiendeTemporizadoresMientrasEspera) {
    TUtilerias utilerias;
    int nDisparos = 0;
    QTimer cronometro;
    cronometro.setInterval(20);
    QObject::connect(&cronometro, &QTimer::timeout, [&] { ++nDisparos; });
    cronometro.start();
    utilerias.HazPausa(150);
    EXPECT_GE(nDisparos, 3);
}

TEST_F(UtileriasTest, UbicacionDelPrograma) {
    TUtilerias utilerias({}, "/opt/Norvex Software/CuestionarioKOVA");
    EXPECT_EQ(utilerias.DameRutaCompProg(), "/opt/Norvex Software/CuestionarioKOVA");
    EXPECT_EQ(utilerias.DameDirProg(), "/opt/Norvex Software/");
    EXPECT_EQ(utilerias.DameNomExeProg(), "CuestionarioKOVA");

    TUtilerias real;
    EXPECT_EQ(real.DameNomExeProg(), "app_tests");
    EXPECT_EQ(real.DameDirProg().back(), '/');
}

TEST_F(UtileriasTest, StringToPAnsiCharDaWindows1252OFalla) {
    TUtilerias utilerias;
    EXPECT_EQ(utilerias.StringToPAnsiChar(""), "");
    EXPECT_EQ(utilerias.StringToPAnsiChar("Año €5 ¡Sí!"),
              "A\xF1o \x80"
              "5 \xA1S\xED!");
    for (const std::string sMalo : {"Ω",
                                    "a\xFF"
                                    "b",
                                    "\xE4\xB8\xAD"}) {
        try {
            utilerias.StringToPAnsiChar(sMalo);
            ADD_FAILURE() << "sin error para " << sMalo;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Falló la conversión String a PAnsiChar");
        }
    }
}

TEST_F(UtileriasTest, ProcesayEsperaRestauraCursorYBotonTambienConError) {
    TUtilerias utilerias;
    QPushButton boton;
    bool bDeshabilitado = false, bEspera = false;
    auto trabajo = [&] {
        bDeshabilitado = !boton.isEnabled();
        bEspera = QApplication::overrideCursor() &&
                  QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        throw std::runtime_error("falla");
    };
    EXPECT_THROW(utilerias.ProcesayEspera(trabajo, &boton), std::runtime_error);
    EXPECT_TRUE(bDeshabilitado);
    EXPECT_TRUE(bEspera);
    EXPECT_TRUE(boton.isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    EXPECT_THROW(utilerias.ProcesayEspera(trabajo), std::runtime_error);
    EXPECT_TRUE(bEspera);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(UtileriasTest, MuestraFormLlamaPrimeraYTerceraOperacion) {
    struct TVentana : IMjVentana {
        std::vector<int> llamadas;
        void Operacion1() override { llamadas.push_back(1); }
        void Operacion2() override { llamadas.push_back(2); }
        void Operacion3() override { llamadas.push_back(3); }
        void Operacion4() override { llamadas.push_back(4); }
    };
    auto ventana = std::make_shared<TVentana>();
    TUtilerias().MuestraForm(ventana);
    EXPECT_EQ(ventana->llamadas, (std::vector<int>{1, 3}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
