#include <gtest/gtest.h>

#include <QLabel>
#include <QSettings>
#include <deque>
#include <fstream>

#include "AplicacionQt.h"
#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "app/CarpetaNorvex.h"
#include "app/CompuertaAcceso.h"
#include "app/DatosVentana.h"
#include "app/EtiquetaCarpeta.h"
#include "app/Principal.h"
#include "app/UtileriasCarpeta.h"
#include "report/TablaPEPs.h"

namespace fs = std::filesystem;

namespace {

// Answers the folder dialog from a script (names below the test folder; none
// is a cancel) and notes where each question started.
class TPideGuion : public IPideCarpeta {
public:
    TPideGuion(const fs::path& sBase, std::deque<std::optional<std::string>> respuestas)
        : base_(sBase), respuestas_(std::move(respuestas)) {}
    std::vector<std::string> inicios;

    std::optional<fs::path> PideCarpeta(const fs::path& sInicial) override {
        inicios.push_back(sInicial.empty() ? "" : sInicial.lexically_relative(base_).string());
        if (respuestas_.empty())
            throw std::logic_error("a question nobody expected");
        auto r = respuestas_.front();
        respuestas_.pop_front();
        if (!r)
            return std::nullopt;
        return base_ / *r;
    }

private:
    fs::path base_;
    std::deque<std::optional<std::string>> respuestas_;
};

// Folders below the test folder: "prog" (where the program lives, a Norvex
// folder only when asked), "norvex" and "copia" (Norvex folders, the second
// spelled as Windows may leave it), "vacia", and "norvex/DataBase" itself.
struct TCaso {
    const char* sNombre;
    bool bProgEnNorvex;
    std::optional<std::string> sArgumento;
    std::optional<std::string> sUltima;  // in the settings before the start
    std::deque<std::optional<std::string>> respuestas;
    // Expected:
    std::optional<std::string> sCarpeta;  // none: the program ends
    TCarpetaNorvex::TOrigen eOrigen;
    std::vector<std::string> inicios;     // where each dialog started
    std::vector<std::string> rechazadas;  // folders refused with a message
    std::optional<std::string> sUltimaDespues;
    bool bExplica = false;  // the first question is explained beforehand
};

// clang-format off
const TCaso kCasos[] = {
    {"DentroDeLaCarpetaNorvexComoSiempre", true, {}, "norvex", {},
     "prog", TCarpetaNorvex::orPrograma, {}, {}, "norvex"},
    {"ElArgumentoGanaALaCarpetaDelPrograma", true, "copia", {}, {},
     "copia", TCarpetaNorvex::orArgumento, {}, {}, {}},
    {"ArgumentoConBarraFinalYPuntos", false, "vacia/../norvex/", {}, {},
     "norvex", TCarpetaNorvex::orArgumento, {}, {}, {}},
    {"ArgumentoSinBDAvisaYPreguntaDesdeAhi", false, "vacia", "copia", {"norvex"},
     "norvex", TCarpetaNorvex::orElegida, {"vacia"}, {"vacia"}, "norvex"},
    {"ArgumentoInexistentePreguntaDesdeLaUltima", false, "no-existe", "copia", {"copia"},
     "copia", TCarpetaNorvex::orElegida, {"copia"}, {"no-existe"}, "copia"},
    {"SinArgumentoPreguntaDesdeLaUltima", false, {}, "copia", {"norvex"},
     "norvex", TCarpetaNorvex::orElegida, {"copia"}, {}, "norvex"},
    {"UnaUltimaQueYaNoExisteNoEsInicio", false, {}, "borrada", {"norvex"},
     "norvex", TCarpetaNorvex::orElegida, {""}, {}, "norvex", true},
    {"CarpetasMalasAvisanYVuelvenAPreguntar", false, {}, {}, {"vacia", "prog", "copia"},
     "copia", TCarpetaNorvex::orElegida, {"", "vacia", "prog"}, {"vacia", "prog"}, "copia", true},
    {"LaCarpetaDataBaseValePorLaDelNorvex", false, {}, {}, {"norvex/DataBase"},
     "norvex", TCarpetaNorvex::orElegida, {""}, {}, "norvex", true},
    {"ArgumentoDataBaseEnOtraLetra", false, "copia/DATABASE/", {}, {},
     "copia", TCarpetaNorvex::orArgumento, {}, {}, {}},
    {"UnaDataBaseFueraDelNorvexNoVale", false, {}, "copia", {"vacia/DataBase", std::nullopt},
     {}, TCarpetaNorvex::orElegida, {"copia", "vacia/DataBase"}, {"vacia/DataBase"}, "copia"},
    {"CancelarTerminaSinGuardar", false, {}, "copia", {std::nullopt},
     {}, TCarpetaNorvex::orElegida, {"copia"}, {}, "copia"},
    {"CancelarTrasUnaMalaTerminaSinGuardar", false, {}, {}, {"vacia", std::nullopt},
     {}, TCarpetaNorvex::orElegida, {"", "vacia"}, {"vacia"}, {}, true},
};
// clang-format on

class CarpetaNorvexTest : public ::testing::TestWithParam<TCaso> {
protected:
    void SetUp() override {
        AplicacionQt();
        for (const char* s : {"prog", "vacia/DataBase"}) fs::create_directories(dir / s);
        fs::create_directories(dir / "norvex/DataBase");
        std::ofstream(dir / "norvex/DataBase/Norvex.mdb") << "mdb";
        fs::create_directories(dir / "copia/DATABASE");
        std::ofstream(dir / "copia/DATABASE/NORVEX.MDB") << "mdb";
    }

    TDirTemporal dir;
};

TEST_P(CarpetaNorvexTest, Elige) {
    const TCaso& caso = GetParam();
    if (caso.bProgEnNorvex) {
        fs::create_directories(dir / "prog/DataBase");
        std::ofstream(dir / "prog/DataBase/Norvex.mdb") << "mdb";
    }
    QSettings ajustes(QString::fromStdString((dir / "ajustes.ini").string()), QSettings::IniFormat);
    if (caso.sUltima)
        ajustes.setValue(TCarpetaNorvex::sClaveUltima,
                         QString::fromStdString((dir / *caso.sUltima).string()));
    auto pide = std::make_shared<TPideGuion>(dir.ruta(), caso.respuestas);
    TGrabaCajas cajas;

    std::optional<fs::path> sArgumento;
    if (caso.sArgumento)
        sArgumento = dir / *caso.sArgumento;
    const auto eleccion = TCarpetaNorvex(pide, ajustes).Elige(dir / "prog", sArgumento);

    ASSERT_EQ(eleccion.has_value(), caso.sCarpeta.has_value());
    if (eleccion) {
        EXPECT_EQ(eleccion->sCarpeta.string(), (dir / *caso.sCarpeta).string());
        EXPECT_EQ(eleccion->eOrigen, caso.eOrigen);
    }
    EXPECT_EQ(pide->inicios, caso.inicios);
    std::vector<std::string> esperados;
    if (caso.bExplica)
        esperados.push_back(TCarpetaNorvex::TextoPrimeraVez());
    for (const std::string& s : caso.rechazadas)
        esperados.push_back(TCarpetaNorvex::TextoNoEsNorvex(dir / s));
    EXPECT_EQ(cajas.textos(), esperados);
    const QString sUltima = ajustes.value(TCarpetaNorvex::sClaveUltima).toString();
    EXPECT_EQ(sUltima.toStdString(),
              caso.sUltimaDespues ? (dir / *caso.sUltimaDespues).string() : "");
}

INSTANTIATE_TEST_SUITE_P(Casos, CarpetaNorvexTest, ::testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.sNombre); });

TEST(CarpetaNorvex, ElMensajeNombraLaCarpetaYLoQueLeFalta) {
    const std::string sTexto = TCarpetaNorvex::TextoNoEsNorvex("/srv/Norvex Software");
    EXPECT_NE(sTexto.find("\"/srv/Norvex Software\""), std::string::npos);
    EXPECT_NE(sTexto.find("DataBase/Norvex.mdb"), std::string::npos);
}

// A window opened on a chosen folder: its jobs look for the database there
// and the folder shows on a line of its own, clear of every other control, so
// the steps keep their places and their tab order.
TEST(CarpetaNorvex, LaVentanaTrabajaEnLaCarpetaElegidaYLaMuestra) {
    AplicacionQt();
    TDirTemporal dir;
    const fs::path sCarpeta =
        dir / "Una carpeta con un nombre muy largo/que no cabe entera/en la línea de la ventana";
    fs::create_directories(sCarpeta / "DataBase");
    std::ofstream(sCarpeta / "DataBase/Norvex.mdb") << "mdb";

    auto utilerias = std::make_shared<TUtileriasCarpeta>(sCarpeta);
    EXPECT_EQ(TCompuertaAcceso::DameRutaBD(utilerias->DameDirProg()).value_or("").string(),
              (sCarpeta / "DataBase/Norvex.mdb").string());
    EXPECT_EQ(utilerias->DameDirProg().back(), '/');

    TTablaPEPs vtPEPs;
    TfrmPrincipal ventana(std::make_shared<TDatosVentana>(nullptr), vtPEPs, utilerias);
    QList<QWidget*> antes;
    for (QWidget* w : ventana.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isHidden())
            antes.push_back(w);
    auto* etiqueta = new TEtiquetaCarpeta(sCarpeta, &ventana);

    EXPECT_EQ(etiqueta->toolTip().toStdString(), sCarpeta.string());
    EXPECT_TRUE(etiqueta->text().startsWith(TEtiquetaCarpeta::sPrefijo));
    EXPECT_LE(etiqueta->fontMetrics().horizontalAdvance(etiqueta->text()), etiqueta->width());
    EXPECT_TRUE(etiqueta->text().endsWith("ventana")) << "the end of the path stays readable";
    EXPECT_TRUE(ventana.rect().contains(etiqueta->geometry()));
    for (QWidget* w : antes)
        EXPECT_FALSE(w->geometry().intersects(etiqueta->geometry()))
            << w->objectName().toStdString();
    EXPECT_EQ(etiqueta->focusPolicy(), Qt::NoFocus);
}

}  // namespace
