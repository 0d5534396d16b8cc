#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <vector>

#include "AplicacionQt.h"
#include "app/Mensajero.h"
#include "app/Utilerias.h"
#include "platform/ui/ColorExito.h"

namespace {

QColor ColorDe(const QLabel& etiqueta) {
    return etiqueta.palette().color(QPalette::WindowText);
}

// Utilities whose pauses take no time: each pause records its length and the
// colour the watched caption has while the pause lasts.
class TUtileriasInstantaneas : public TUtilerias {
public:
    std::vector<uint32_t> pausas;
    std::vector<QColor> colores;
    QLabel* vigilada = nullptr;

    void HazPausa(uint32_t nSegs) override {
        pausas.push_back(nSegs);
        if (vigilada)
            colores.push_back(ColorDe(*vigilada));
        QCoreApplication::processEvents();
    }
};

class MensajeroTest : public ::testing::Test {
protected:
    void SetUp() override {
        AplicacionQt();
        ventana.resize(300, 100);
        estado = new QLabel("Mensajes", &ventana);
        leyenda = new QLabel("Tipo de Cambio*", &ventana);
        campo = new QLineEdit(&ventana);
        otro = new QLineEdit(&ventana);
        ventana.show();
        ventana.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
        utilerias = std::make_shared<TUtileriasInstantaneas>();
        mensajero = std::make_shared<TMensajero>(utilerias);
    }

    QWidget ventana;
    QLabel* estado = nullptr;
    QLabel* leyenda = nullptr;
    QLineEdit* campo = nullptr;
    QLineEdit* otro = nullptr;
    std::shared_ptr<TUtileriasInstantaneas> utilerias;
    std::shared_ptr<TMensajero> mensajero;
};

TEST_F(MensajeroTest, EnlazarEtiquetaLaVaciaYLaPintaDelColorElegido) {
    estado->hide();
    mensajero->SettxLabel(estado);
    EXPECT_EQ(estado->text(), "");
    EXPECT_TRUE(estado->isVisible());
    EXPECT_EQ(ColorDe(*estado), QColor(0xFF, 0, 0));

    mensajero->SetbDefColorAlerta(false);
    EXPECT_EQ(ColorDe(*estado), QColor(0x80, 0x80, 0x80));
    mensajero->SettxLabel(estado);
    EXPECT_EQ(ColorDe(*estado), QColor(0x80, 0x80, 0x80));
    EXPECT_FALSE(mensajero->GetbDefColorAlerta());
}

// News of something done shows in the success colour; whatever comes next
// is in the line's own colour again.
TEST_F(MensajeroTest, UnExitoNoSaleEnRojo) {
    mensajero->SettxLabel(estado);
    mensajero->MsjExito("El reporte se generó correctamente.", false);
    EXPECT_EQ(estado->text(), "El reporte se generó correctamente.");
    EXPECT_EQ(ColorDe(*estado), ui::ColorExito());
    mensajero->MsjEnTx("Conectando con la BD...");
    EXPECT_EQ(ColorDe(*estado), QColor(0xFF, 0, 0));
    mensajero->MsjExito("La detección de PEPs ha finalizado.", true);
    EXPECT_EQ(ColorDe(*estado), ui::ColorExito());
    ASSERT_TRUE(QTest::qWaitFor([&] { return estado->text().isEmpty(); }, 4000))
        << "a passing success clears itself as any passing text";
}

TEST_F(MensajeroTest, SinEtiquetaNoEscribeNadaPeroPausa) {
    mensajero->MsjEnTx("A");
    mensajero->MsjTxEspera("B", true);
    EXPECT_EQ(estado->text(), "Mensajes");
    EXPECT_EQ(utilerias->pausas, (std::vector<uint32_t>{1000}));
}

TEST_F(MensajeroTest, MsjTxEsperaPausaCortaOLarga) {
    mensajero->SettxLabel(estado);
    mensajero->MsjTxEspera("Conectando con la BD...", false);
    EXPECT_EQ(estado->text(), "Conectando con la BD...");
    mensajero->MsjTxEspera("Otro", true);
    EXPECT_EQ(utilerias->pausas, (std::vector<uint32_t>{400, 1000}));
}

TEST_F(MensajeroTest, ElSegundoTextoTemporalSeBorraALosTresSegundosDelPrimero) {
    mensajero->SettxLabel(estado);
    QElapsedTimer reloj;
    reloj.start();
    mensajero->MsjTxTemp("A");
    QTest::qWait(2000);
    mensajero->MsjTxTemp("B");
    const qint64 nEscritoB = reloj.elapsed();
    QTest::qWait(400);
    EXPECT_EQ(estado->text(), "B");
    ASSERT_TRUE(QTest::qWaitFor([&] { return estado->text().isEmpty(); }, 3000));
    // Cleared by the first text's timer, not three seconds after "B".
    EXPECT_LT(reloj.elapsed() - nEscritoB, 2000);
    EXPECT_GE(reloj.elapsed(), 2900);
}

TEST_F(MensajeroTest, ElDestelloAlternaSuColorYRojoYTerminaEnElSuyo) {
    const QColor teal(0x00, 0x80, 0x80), rojo(0xFF, 0x00, 0x00);
    QPalette paleta = leyenda->palette();
    paleta.setColor(QPalette::WindowText, teal);
    leyenda->setPalette(paleta);
    utilerias->vigilada = leyenda;

    mensajero->CampoObligatorio(leyenda, campo);
    EXPECT_TRUE(campo->hasFocus());
    EXPECT_TRUE(utilerias->colores.empty()) << "the flash waits for its timer";
    ASSERT_TRUE(QTest::qWaitFor([&] { return utilerias->colores.size() == 9; }, 2000));
    const std::vector<QColor> esperados{teal, rojo, teal, rojo, teal, rojo, teal, rojo, teal};
    EXPECT_EQ(utilerias->colores, esperados);
    EXPECT_EQ(utilerias->pausas, std::vector<uint32_t>(9, 300));
    EXPECT_EQ(ColorDe(*leyenda), teal);
}

TEST_F(MensajeroTest, CampoDeshabilitadoNoTomaElFocoPeroLaLeyendaDestella) {
    otro->setFocus();
    campo->setEnabled(false);
    utilerias->vigilada = leyenda;
    mensajero->CampoObligatorio(leyenda, campo);
    EXPECT_TRUE(otro->hasFocus());
    ASSERT_TRUE(QTest::qWaitFor([&] { return utilerias->colores.size() == 9; }, 2000));
    EXPECT_EQ(utilerias->colores[1], QColor(0xFF, 0, 0));
}

TEST_F(MensajeroTest, UnDestelloDentroDeOtroDejaCadaLeyendaConSuColor) {
    // A second flash starts during a pause of the first (pauses process
    // events); each caption must end in its own colour.
    const QColor teal(0x00, 0x80, 0x80), marron(0x80, 0x00, 0x00);
    auto* segunda = new QLabel("Password", &ventana);
    for (auto [etiqueta, color] : {std::pair{leyenda, teal}, std::pair{segunda, marron}}) {
        QPalette paleta = etiqueta->palette();
        paleta.setColor(QPalette::WindowText, color);
        etiqueta->setPalette(paleta);
    }
    struct TAnidadas : TUtilerias {
        std::function<void()> alSegundaPausa;
        int nPausas = 0;
        void HazPausa(uint32_t) override {
            if (++nPausas == 2) {
                alSegundaPausa();
                QTest::qWait(200);  // long enough for the second flash to run inside
            }
            QCoreApplication::processEvents();
        }
    };
    auto anidadas = std::make_shared<TAnidadas>();
    auto mensajero2 = std::make_shared<TMensajero>(anidadas);
    anidadas->alSegundaPausa = [&] { mensajero2->CampoObligatorio(segunda, nullptr); };
    mensajero2->CampoObligatorio(leyenda, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return anidadas->nPausas >= 18; }, 3000));
    EXPECT_EQ(ColorDe(*leyenda), teal);
    EXPECT_EQ(ColorDe(*segunda), marron);
}

}  // namespace
