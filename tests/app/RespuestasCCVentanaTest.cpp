#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <functional>

#include "TDirTemporal.h"
#include "app/FormaRespuestasCC.h"
#include "app/RespuestasCCVentana.h"
#include "platform/report/TVistaPrevia.h"
#include "platform/ui/ColorExito.h"
#include "questionnaire/AlmacenRespuestasCC.h"
#include "questionnaire/IIRepCuestionarioKOVA.h"
#include "questionnaire/PreguntasCC.h"
#include "questionnaire/ValidaRespuestaCC.h"
#include "report/DataModule.h"
#include "report/EspacioRespuestas.h"
#include "tests/platform/report/AppPrueba.h"

namespace {

// The form with the user's answers to its questions given in advance.
class TFormaPrueba : public TFormaRespuestasCC {
public:
    using TFormaRespuestasCC::TFormaRespuestasCC;
    TDecision decision = dcCancelar;
    int nPreguntas = 0;
    QStringList avisos, confirmaciones, informes;
    bool bConfirma = false;

protected:
    TDecision PreguntaAlCerrar() override {
        ++nPreguntas;
        return decision;
    }
    void Avisa(const QString& s) override { avisos << s; }
    bool Confirma(const QString& s) override {
        confirmaciones << s;
        return bConfirma;
    }
    void Informa(const QString& s) override { informes << s; }
};

// Runs f on the modal window that opens next, once it is up.
void AlAbrirse(std::function<void(QWidget*)> f) {
    QTimer::singleShot(0, [f] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_NE(w, nullptr);
        f(w);
    });
}

QString BajoLaPregunta(const rpt::TReporte& r, int n) {
    const QString sTexto = r.DameTextoPagina(n <= 6 ? 1 : n <= 16 ? 2 : 21);
    const QString sInicio = QString::number(n) + u' ';
    const QStringList lineas = sTexto.split(u'\n');
    for (qsizetype i = 0; i + 1 < lineas.size(); ++i)
        if (lineas[i].startsWith(sInicio))
            return lineas[i + 1];
    return {};
}

}  // namespace

TEST(FormaRespuestasCC, CadaCampoMuestraSuRevisionYSoloGuardaRespuestasValidas) {
    AseguraApp();
    std::vector<TRespuestasCC> guardadas;
    TFormaPrueba forma(TRespuestasCC(), [&](const TRespuestasCC& r, QString&) {
        guardadas.push_back(r);
        return true;
    });
    EXPECT_FALSE(forma.HayCambios());
    forma.PonTexto(1, "1,500,000");
    forma.PonTexto(12, "31/02/2010");
    forma.PonTexto(5, "SI");
    EXPECT_EQ(forma.DameAviso(1), "");
    EXPECT_TRUE(forma.DameAviso(12).contains(u"no existe")) << forma.DameAviso(12).toStdString();
    EXPECT_TRUE(forma.HayCambios());

    EXPECT_FALSE(forma.Guarda());  // a field is wrong: nothing is kept
    EXPECT_TRUE(guardadas.empty());
    ASSERT_EQ(forma.avisos.size(), 1);
    EXPECT_TRUE(forma.avisos[0].contains(u"Pregunta 12"));

    forma.PonTexto(12, "15/3/2010");
    EXPECT_EQ(forma.DameAviso(12), "");
    ASSERT_TRUE(forma.Guarda());
    ASSERT_EQ(guardadas.size(), 1u);
    EXPECT_EQ(guardadas[0].DameTodas(),
              (std::map<int, QString>{{1, "1500000"}, {5, "SI"}, {12, "15/03/2010"}}));
    EXPECT_EQ(forma.DameTexto(12), "15/03/2010");  // shown as kept
    EXPECT_FALSE(forma.HayCambios());
}

// Closing with changes asks; cancelling keeps the form open, discarding
// closes without saving, saving closes only when the save worked.
TEST(FormaRespuestasCC, CerrarConCambiosPregunta) {
    AseguraApp();
    struct Caso {
        TFormaRespuestasCC::TDecision decision;
        bool bGuardaBien;
        bool bCerrada;
        int nGuardados;
    };
    using F = TFormaPrueba;
    const Caso casos[] = {{F::dcCancelar, true, false, 0},
                          {F::dcDescartar, true, true, 0},
                          {F::dcGuardar, true, true, 1},
                          {F::dcGuardar, false, false, 1}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(static_cast<int>(c.decision));
        int nGuardados = 0;
        TFormaPrueba forma(TRespuestasCC(), [&](const TRespuestasCC&, QString& sError) {
            ++nGuardados;
            sError = "disco lleno";
            return c.bGuardaBien;
        });
        forma.decision = c.decision;
        forma.show();
        forma.PonTexto(8, "12");
        forma.reject();
        EXPECT_EQ(forma.nPreguntas, 1);
        EXPECT_EQ(forma.isVisible(), !c.bCerrada);
        EXPECT_EQ(nGuardados, c.nGuardados);
    }
    // without changes it closes at once
    TFormaPrueba forma(TRespuestasCC(), [](const TRespuestasCC&, QString&) { return true; });
    forma.show();
    forma.reject();
    EXPECT_EQ(forma.nPreguntas, 0);
    EXPECT_FALSE(forma.isVisible());
}

TEST(FormaRespuestasCC, ExportarEImportar) {
    AseguraApp();
    TDirTemporal dir;
    const QString sCsv = QString::fromStdString((dir / "cc.csv").string());
    TFormaPrueba origen(TRespuestasCC(), [](const TRespuestasCC&, QString&) { return true; });
    origen.PonTexto(7, "JALISCO\nSONORA");
    origen.PonTexto(21, "CHEQUES");
    ASSERT_TRUE(origen.Exporta(sCsv));

    EXPECT_EQ(origen.informes, QStringList{"Se exportaron 2 respuestas a " + sCsv + "."});

    TRespuestasCC previas;
    previas.Asigna(1, "5");
    TFormaPrueba destino(previas, [](const TRespuestasCC&, QString&) { return true; });
    ASSERT_TRUE(destino.Importa(sCsv));
    EXPECT_EQ(destino.DameTexto(7), "JALISCO\nSONORA");
    EXPECT_EQ(destino.DameTexto(21), "CHEQUES");
    EXPECT_EQ(destino.DameTexto(1), "5") << "a question the file does not bring keeps its answer";
    EXPECT_TRUE(destino.HayCambios());
    EXPECT_TRUE(destino.confirmaciones.isEmpty()) << "nothing typed was lost";
    EXPECT_EQ(destino.informes,
              QStringList{"Se importaron 2 respuestas de " + sCsv +
                          "; las demás preguntas conservan su respuesta. Presione «Guardar» "
                          "para conservarlas."});

    // a bad file changes nothing and says which line
    QFile f(sCsv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("pregunta,respuesta\n8,7\n2,X\n");
    f.close();
    EXPECT_FALSE(destino.Importa(sCsv));
    EXPECT_EQ(destino.DameTexto(8), "");
    ASSERT_EQ(destino.avisos.size(), 1);
    EXPECT_TRUE(destino.avisos[0].contains(u"Línea 3")) << destino.avisos[0].toStdString();
}

// An import that would replace answers typed and not saved asks first; No
// leaves the form as it was. Answers saved, answers the file does not bring
// and answers the file brings unchanged are never asked about.
TEST(FormaRespuestasCC, ImportarPreguntaAntesDePerderLoEscrito) {
    AseguraApp();
    TDirTemporal dir;
    const QString sCsv = QString::fromStdString((dir / "cc.csv").string());
    {
        QFile f(sCsv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("pregunta,respuesta\n8,12\n4,JALISCO\n");
    }
    TRespuestasCC guardadas;
    guardadas.Asigna(8, "3");
    struct TCaso {
        int nPregunta;  // typed before importing (0: nothing)
        const char* sTecleado;
        bool bConfirma;
        bool bPregunta;       // the import asks first
        const char* sFinal8;  // what question 8 shows afterwards
    };
    const TCaso casos[] = {
        {0, "", false, false, "12"},    // saved answers are replaced without asking
        {8, "20", false, true, "20"},   // No: the typed answer stays
        {8, "20", true, true, "12"},    // Yes: the file's
        {8, "12", false, false, "12"},  // typed what the file brings
        {6, "4", false, false, "12"},   // typed elsewhere: kept, no question
        {8, "x", false, true, "x"},     // an answer not yet valid is typed work too
    };
    for (const TCaso& c : casos) {
        TFormaPrueba forma(guardadas, [](const TRespuestasCC&, QString&) { return true; });
        forma.bConfirma = c.bConfirma;
        if (c.nPregunta)
            forma.PonTexto(c.nPregunta, c.sTecleado);
        const bool bImportado = forma.Importa(sCsv);
        SCOPED_TRACE(std::to_string(c.nPregunta) + "=" + c.sTecleado);
        EXPECT_EQ(forma.confirmaciones.size(), c.bPregunta ? 1 : 0);
        if (c.bPregunta) {
            EXPECT_EQ(forma.confirmaciones[0],
                      "Las respuestas escritas y sin guardar de la pregunta 8 se reemplazarán con "
                      "las del archivo. ¿Desea importarlo de todos modos?");
        }
        EXPECT_EQ(bImportado, !c.bPregunta || c.bConfirma);
        EXPECT_EQ(forma.DameTexto(8), c.sFinal8);
        EXPECT_EQ(forma.DameTexto(4), bImportado ? "JALISCO" : "");
        if (c.nPregunta == 6) {
            EXPECT_EQ(forma.DameTexto(6), "4");
        }
    }
}

// A save says it saved, in the form itself and not as a warning.
TEST(FormaRespuestasCC, GuardarLoDice) {
    AseguraApp();
    TFormaPrueba forma(TRespuestasCC(), [](const TRespuestasCC&, QString&) { return true; });
    EXPECT_EQ(forma.DameEstado(), "");
    forma.PonTexto(8, "12");
    ASSERT_TRUE(forma.Guarda());
    EXPECT_EQ(forma.DameEstado(), "Se guardaron las respuestas; el reporte ya las muestra.");
    const auto* estado = forma.findChild<QLabel*>("txEstado");
    ASSERT_NE(estado, nullptr);
    EXPECT_EQ(estado->palette().color(QPalette::WindowText), ui::ColorExito());
    EXPECT_TRUE(forma.avisos.isEmpty());
}

// The whole road in the window: the run's placeholders, the preview's
// action, a capital and a date typed and saved: the preview shows them at
// once, they are kept for the company, and the next run finds them.
TEST(RespuestasCCVentana, GuardarDesdeLaVistaPreviaYVolverlasAEncontrar) {
    AseguraApp();
    TDirTemporal dir;
    auto almacen =
        std::make_shared<TAlmacenRespuestasCC>(QString::fromStdString((dir / "datos").string()));
    TdmMain dm;
    auto corre = [&] {
        auto m = CreaManejadorVentana(dm.repGeneral, "Encuesta ANDU 2018", 7, almacen);
        m->AgregaDatoReporte("Cuestionario", "NombreCC", "CAMBIOS DEL NORTE");
        for (int n = 1; n <= 195; ++n)
            m->AgregaDatoReporte("Cuestionario", "preg_" + std::to_string(n),
                                 DamePreguntaCC(n) ? sTxCCResponde : "Respuesta: 1");
        return m;
    };

    QString sAntes, sDespues, sAccion;
    AlAbrirse([&](QWidget* w) {
        auto* vista = qobject_cast<rpt::TVistaPrevia*>(w);
        ASSERT_NE(vista, nullptr);
        sAntes = BajoLaPregunta(dm.repGeneral, 1);
        auto* accion = vista->DameBarra()->findChild<QAction*>(kAccionRespuestasCC);
        ASSERT_NE(accion, nullptr);
        sAccion = accion->text();
        AlAbrirse([&](QWidget* f) {
            auto* forma = qobject_cast<TFormaRespuestasCC*>(f);
            ASSERT_NE(forma, nullptr);
            forma->PonTexto(1, "2500000");
            forma->PonTexto(12, "01/06/2009");
            ASSERT_TRUE(forma->Guarda());
            forma->reject();
        });
        accion->trigger();
        sDespues = BajoLaPregunta(dm.repGeneral, 1) + u'|' + BajoLaPregunta(dm.repGeneral, 12) +
                   u'|' + BajoLaPregunta(dm.repGeneral, 3);
        vista->reject();
    });
    corre()->MuestraReporte();
    EXPECT_EQ(sAccion, "Respuestas del CC");
    EXPECT_EQ(sAntes, sTxCCResponde);
    EXPECT_EQ(sDespues,
              QStringLiteral("Respuesta: 2500000|Respuesta: 01/06/2009|") + sTxCCResponde);
    QString sError;
    const auto guardadas = almacen->Lee(7, "CAMBIOS DEL NORTE", sError);
    ASSERT_TRUE(guardadas) << sError.toStdString();
    EXPECT_EQ(guardadas->Dame(1), "2500000");

    // the next run (same company) prints them from the start
    QString sSegunda;
    AlAbrirse([&](QWidget* w) {
        sSegunda = BajoLaPregunta(dm.repGeneral, 12);
        qobject_cast<QDialog*>(w)->reject();
    });
    corre()->MuestraReporte();
    EXPECT_EQ(sSegunda, "Respuesta: 01/06/2009");
}

namespace {

// The report of a run whose computed answers are seven-digit figures and
// whose centre's answers are texts.
void PreparaConRespuestas(TdmMain& dm, const std::map<int, QString>& cc) {
    auto& v = dm.repGeneral.Variables();
    v.AsignaVariable("Cuestionario", "NombreCC", "CAMBIARIA LOS ÁLAMOS SA DE CV");
    for (int n = 1; n <= 195; ++n) {
        const auto it = cc.find(n);
        const QString s = it != cc.end()      ? QString::fromUtf8(sTxRespuesta) + it->second
                          : DamePreguntaCC(n) ? QString::fromUtf8(sTxCCResponde)
                                              : QStringLiteral("Respuesta: 1234567");
        v.AsignaVariable("Cuestionario", QStringLiteral("preg_%1").arg(n), s);
    }
    ASSERT_TRUE(dm.repGeneral.Prepara());
}

// The longest answer of a fixed kind its check accepts.
QString MasLarga(const TPreguntaCC& p) {
    switch (p.tipo) {
        case trMonto:
            return QString(15, u'9');
        case trConteo:
            return QString(9, u'9');
        case trFecha:
            return QStringLiteral("28/12/2017");
        case trSiNo:
            return QStringLiteral("NO");
        default:
            return *std::max_element(
                p.opciones.begin(), p.opciones.end(),
                [](const QString& a, const QString& b) { return a.size() < b.size(); });
    }
}

double EscalaMinima(const rpt::TReporte& r) {
    double d = 1;
    for (int p = 0; p < r.DameNumPaginas(); ++p) d = std::min(d, r.DameEscalaPagina(p));
    return d;
}

}  // namespace

// Every free-text answer filled to the room the form allows, every other
// answer at its longest: every page keeps a readable size. Answers as long as
// the form took before (1,000 characters each) set pages far smaller.
TEST(EspacioRespuestasCC, CadaPaginaQuedaLegibleConLasRespuestasMasLargas) {
    AseguraApp();
    TdmMain dm;
    PreparaConRespuestas(dm, {});
    const auto espacio = CreaEspacioRespuestasCC(dm.repGeneral, *PreguntasCCPredeterminadas());
    std::map<int, QString> maximas, antes;
    const QStringList palabras = {"EL", "CENTRO",  "CAMBIARIO", "OPERA", "EN",     "GUADALAJARA",
                                  "Y",  "ZAPOPAN", "JALISCO,",  "CON",   "MOTIVO", "DE"};
    for (const TPreguntaCC& p : DamePreguntasCC()) {
        if (p.tipo != trTexto) {
            maximas[p.nNumero] = antes[p.nNumero] = MasLarga(p);
            continue;
        }
        const QString sVariable = QStringLiteral("preg_%1").arg(p.nNumero);
        QString s;
        for (int i = 0;; ++i) {
            const QString sMas =
                (s.isEmpty() ? QString() : s + u' ') + palabras[i % palabras.size()];
            const auto m = espacio->Mide(sVariable, sMas);
            ASSERT_TRUE(m) << p.nNumero;
            if (!m->Cabe())
                break;
            EXPECT_GE(m->nCaracteresLibres, 0);
            s = sMas;
        }
        EXPECT_GE(s.size(), 60) << "pregunta " << p.nNumero << ": room for a line at least";
        maximas[p.nNumero] = s;
        antes[p.nNumero] = QString(kMaxCaracteresRespuestaCC, u'W');
        // The last page has few questions and room to spare; the others not.
        if (p.nNumero < 192) {
            const auto m = espacio->Mide(sVariable, antes[p.nNumero]);
            EXPECT_FALSE(m->Cabe()) << p.nNumero;
            EXPECT_LT(m->nCaracteresLibres, 0);
        }
    }
    PreparaConRespuestas(dm, maximas);
    EXPECT_GE(EscalaMinima(dm.repGeneral), TEspacioRespuestas::kEscalaLegible - 0.005);
    // Every answer is printed, under its question.
    for (const auto& [n, s] : maximas) {
        QString sBajo;
        for (int p = 0; p < dm.repGeneral.DameNumPaginas() && sBajo.isEmpty(); ++p) {
            const QStringList lineas = dm.repGeneral.DameTextoPagina(p).split(u'\n');
            for (qsizetype i = 0; i + 1 < lineas.size(); ++i)
                if (lineas[i].startsWith(QString::number(n) + u' '))
                    sBajo = lineas[i + 1];
        }
        EXPECT_EQ(sBajo.left(40), ("Respuesta: " + s).left(40)) << n;
    }

    PreparaConRespuestas(dm, antes);
    EXPECT_LT(EscalaMinima(dm.repGeneral), 0.7) << "1,000 characters set a page near 7 points";
}

// The form says how much room is left under each free-text field, refuses
// to keep an answer that does not fit, and says by how much.
TEST(EspacioRespuestasCC, LaFormaDiceCuantoQuedaYNoGuardaLoQueNoCabe) {
    AseguraApp();
    TdmMain dm;
    PreparaConRespuestas(dm, {});
    int nGuardados = 0;
    TFormaPrueba forma(TRespuestasCC(), [&](const TRespuestasCC&, QString&) {
        ++nGuardados;
        return true;
    });
    forma.PonEspacio(CreaEspacioRespuestasCC(dm.repGeneral, *PreguntasCCPredeterminadas()));
    const QRegularExpression kQuedan(
        QStringLiteral("^Espacio en el reporte: quedan unos (\\d+) caracteres\\.$"));
    const auto quedan = [&](int n) {
        const auto m = kQuedan.match(forma.DameEspacio(n));
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    const int nVacio = quedan(18);
    EXPECT_GT(nVacio, 60);
    forma.PonTexto(18, "CIERRE DE LA SUCURSAL BANCARIA DE LA ZONA");
    EXPECT_LT(quedan(18), nVacio - 30);
    EXPECT_GT(quedan(18), nVacio - 50);
    EXPECT_EQ(forma.DameAviso(18), "");
    EXPECT_EQ(forma.DameEspacio(8), "") << "a count has no room to show";

    QString sRenglones;
    for (int i = 0; i < 12; ++i) sRenglones += QStringLiteral("RENGLON %1\n").arg(i);
    forma.PonTexto(18, sRenglones + "FIN");
    EXPECT_TRUE(forma.DameAviso(18).contains(u"no cabe en su lugar del reporte"))
        << "line breaks take room as lines do";
    EXPECT_EQ(forma.DameEspacio(18), "");
    EXPECT_FALSE(forma.Guarda());
    EXPECT_EQ(nGuardados, 0);
    ASSERT_EQ(forma.avisos.size(), 1);
    EXPECT_TRUE(forma.avisos[0].contains(u"Pregunta 18")) << forma.avisos[0].toStdString();
}
