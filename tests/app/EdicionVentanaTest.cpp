// The window's edition without a display: what a change of edition makes
// follow it, that a change that cannot be made changes nothing, and what the
// choice offers.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPlainTextEdit>

#include "app/DatosVentana.h"
#include "app/EdicionVentana.h"
#include "questionnaire/AlmacenRespuestasCC.h"
#include "questionnaire/CatalogoEdiciones.h"
#include "report/DataModule.h"

namespace {

std::shared_ptr<const TEdicion> Prueba2019() {
    const TLecturaEdicion l = LeeEdicion(CarpetaEdicionesPrograma() / "prueba-2019");
    EXPECT_TRUE(l.edicion);
    return l.edicion;
}

TDatosVentana Datos() {
    return TDatosVentana([](const std::string&) { return nullptr; });
}

}  // namespace

TEST(EdicionVentana, ElReporteLasPreguntasYLasRespuestasDelCentroSiguenALaEdicion) {
    TdmMain dm;
    TDatosVentana datos = Datos();
    const auto estado = CreaEdicionVentana();
    EXPECT_EQ(estado->edicion->sClave, "2018");
    ASSERT_TRUE(dm.repGeneral.Prepara());
    EXPECT_EQ(dm.repGeneral.DameNumPaginas(), 22);

    CambiaEdicion(*estado, Prueba2019(), dm, datos);
    EXPECT_EQ(estado->edicion->sClave, "prueba-2019");
    EXPECT_EQ(datos.DameEdicion()->sClave, "prueba-2019");
    EXPECT_EQ(estado->almacen->DamePreguntas()->sClave, "prueba-2019");
    EXPECT_EQ(estado->almacen->DamePreguntas()->preguntas.size(), 14u);
    EXPECT_EQ(dm.PDFExport().sArchivoPropuesto, "CuestionarioKOVA-prueba-2019");
    EXPECT_EQ(dm.PDFExport().sTitulo, "Cuestionario KOVA de prueba 2019");
    ASSERT_TRUE(dm.repGeneral.Prepara());
    EXPECT_EQ(dm.repGeneral.DameNumPaginas(), 10);
}

TEST(EdicionVentana, UnCambioQueNoSePuedeHacerNoCambiaNada) {
    TdmMain dm;
    TDatosVentana datos = Datos();
    const auto estado = CreaEdicionVentana();
    auto rota = std::make_shared<TEdicion>(*Prueba2019());
    rota->sPlantilla = "{";  // a template the report engine refuses
    EXPECT_THROW(CambiaEdicion(*estado, rota, dm, datos), std::runtime_error);
    EXPECT_EQ(estado->edicion->sClave, "2018");
    EXPECT_EQ(estado->almacen->DamePreguntas()->sClave, "2018");
    EXPECT_FALSE(datos.DameEdicion());  // still the default
    ASSERT_TRUE(dm.repGeneral.Prepara());
    EXPECT_EQ(dm.repGeneral.DameNumPaginas(), 22);
}

// Only editions that can be used are offered, the one in use first chosen;
// the others are shown with their problems.
TEST(EdicionVentana, LaEleccionOfreceSoloLasQueSePuedenUsar) {
    std::vector<TEdicionHallada> halladas;
    halladas.push_back({"/a/2018", {EdicionPredeterminada(), {}}});
    halladas.push_back({"/b/rota", {nullptr, {{"/b/rota/edicion.toml", 3, "falta «nombre»."}}}});
    halladas.push_back({"/a/prueba-2019", {Prueba2019(), {}}});
    TDialogoEdicion dialogo(halladas, "prueba-2019");
    auto* lista = dialogo.findChild<QListWidget*>("lsEdiciones");
    ASSERT_TRUE(lista);
    ASSERT_EQ(lista->count(), 2);
    EXPECT_EQ(lista->currentRow(), 1);
    EXPECT_EQ(lista->item(1)->text().toStdString(),
              "Encuesta de prueba 2019 — operaciones del 01/01/2018 al 31/12/2018");
    EXPECT_EQ(lista->item(1)->toolTip(), "/a/prueba-2019");
    auto* rotas = dialogo.findChild<QPlainTextEdit*>("txEdicionesRotas");
    ASSERT_TRUE(rotas);
    EXPECT_EQ(rotas->toPlainText(), "/b/rota\n  /b/rota/edicion.toml:3: falta «nombre».");

    EXPECT_FALSE(dialogo.Elegida());  // not accepted
    lista->setCurrentRow(0);
    dialogo.accept();
    ASSERT_TRUE(dialogo.Elegida());
    EXPECT_EQ(dialogo.Elegida()->sClave, "2018");
}
