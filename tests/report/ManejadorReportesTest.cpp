#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>
#include <memory>

#include "platform/report/TVistaPrevia.h"
#include "report/DataModule.h"
#include "report/ManejadorReportes.h"
#include "tests/platform/report/AppPrueba.h"

namespace {

class Manejador : public ::testing::Test {
protected:
    void SetUp() override { AseguraApp(); }
    QStringList Nombres() const {
        QStringList s;
        for (const auto& e : dm.repGeneral.Variables().DameEntradas()) s << e.sNombre;
        return s;
    }
    std::optional<QString> Guardado(const char* sVariable) const {
        auto v = dm.repGeneral.Variables().DameValor(sVariable);
        return v ? *v : std::nullopt;
    }
    TdmMain dm;
    std::shared_ptr<IManejadorReportes> m =
        std::make_shared<TManejadorReportes>(dm.repGeneral, "Encuesta ANDU 2018");
};

// Closes the preview as soon as it is up, noting what it looked like.
struct TCierraVista {
    int nVeces = 0;
    bool bMaximizada = true, bModal = true;
    QString sTitulo;
    void Programa() {
        QTimer::singleShot(0, [this] {
            auto* vista = qobject_cast<rpt::TVistaPrevia*>(QApplication::activeModalWidget());
            if (!vista)
                return;
            ++nVeces;
            bMaximizada = bMaximizada && vista->isMaximized();
            bModal = bModal && vista->isModal();
            sTitulo = vista->windowTitle();
            vista->reject();
        });
    }
};

}  // namespace

TEST_F(Manejador, ElDatoSeGuardaComoTextoLiteral) {
    struct Caso {
        std::string sDato;
        QString sGuardado;
    } casos[] = {
        {"", "''"},
        {"Respuesta: 25", "'Respuesta: 25'"},
        {"CAMBIOS O'BRIEN", "'CAMBIOS O'BRIEN'"},  // never doubled or escaped
        {"a\nb", "'a\nb'"},
        {"a\rb", "'a\rb'"},
        {"a\n\rb", "'a\n\rb'"},
        {"a\r\nb", "a\r\nb"},  // only CR LF leaves it unquoted
        {"Ñandú \"x\"", "'Ñandú \"x\"'"},
    };
    for (const auto& c : casos) {
        m->AgregaDatoReporte("Cuestionario", "preg_1", c.sDato);
        EXPECT_EQ(Guardado("preg_1"), c.sGuardado) << c.sDato;
        dm.repGeneral.Prepara();
        QString sMostrado = QString::fromStdString(c.sDato);
        sMostrado.replace("\r\n", "\n").replace('\r', '\n');  // plain text of line breaks
        EXPECT_TRUE(dm.repGeneral.DameTextoPagina(1).contains(
            "\n1  ¿Cuál es el capital social del Centro Cambiario a la fecha? (en pesos, sin "
            "centavos)\n" +
            sMostrado + "\n"))
            << c.sDato;
    }
}

TEST_F(Manejador, MayusculasDistintasReemplazanLaVariableDeclarada) {
    const QStringList antes = Nombres();
    m->AgregaDatoReporte("CUESTIONARIO", "PREG_1", "uno");
    m->AgregaDatoReporte("cuestionario", "nombrecc", "Centro");
    EXPECT_EQ(Nombres(), antes);
    EXPECT_EQ(Guardado("preg_1"), "'uno'");
    dm.repGeneral.Prepara();
    EXPECT_TRUE(dm.repGeneral.DameTextoPagina(21).startsWith(
        "CUESTIONARIO DE OPERATIVIDAD CENTROS CAMBIARIOS 2018\nCentro\n"));
}

TEST_F(Manejador, CategoriaDesconocidaSeIgnoraYVariableNuevaVaAlFinal) {
    const QStringList antes = Nombres();
    m->AgregaDatoReporte("Otra", "preg_1", "x");
    m->AgregaDatoReporte("Otra", "preg_999", "x");
    EXPECT_EQ(Nombres(), antes);
    EXPECT_FALSE(Guardado("preg_1").has_value());  // still the template's NULL

    m->AgregaDatoReporte("Cuestionario", "preg_999", "nuevo");
    EXPECT_EQ(Nombres(), antes + QStringList{"preg_999"});
    EXPECT_EQ(antes.size(), 1 + 328);  // with "Sucursales", the title page's branches
}

TEST_F(Manejador, MostrarPreparaDeNuevoCadaVez) {
    TCierraVista cierra;
    m->AgregaDatoReporte("Cuestionario", "NombreCC", "Primero");
    cierra.Programa();
    m->MuestraReporte();
    EXPECT_TRUE(dm.repGeneral.DameTextoPagina(5).contains("\nPrimero\n"));

    m->AgregaDatoReporte("Cuestionario", "NombreCC", "Segundo");
    cierra.Programa();
    m->MuestraReporte();
    EXPECT_EQ(cierra.nVeces, 2);
    EXPECT_TRUE(cierra.bModal);
    EXPECT_TRUE(cierra.bMaximizada);
    EXPECT_TRUE(cierra.sTitulo.contains("Encuesta ANDU 2018"));
    EXPECT_EQ(dm.repGeneral.DameNombreDocumento(), "Encuesta ANDU 2018");
    EXPECT_EQ(dm.repGeneral.DameNumPaginas(), 22);
    EXPECT_TRUE(dm.repGeneral.DameTextoPagina(5).contains("\nSegundo\n"));
    EXPECT_FALSE(dm.repGeneral.DameTextoPagina(5).contains("Primero"));
}
