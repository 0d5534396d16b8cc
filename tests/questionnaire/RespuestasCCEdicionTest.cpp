// The centre's answers of an edition: its questions and choices, kept apart
// from another edition's, the default edition's where they always were.
#include <gtest/gtest.h>

#include <QFile>
#include <fstream>

#include "TDirTemporal.h"
#include "questionnaire/AlmacenRespuestasCC.h"
#include "questionnaire/CatalogoEdiciones.h"
#include "questionnaire/PreguntasCC.h"

namespace {

std::shared_ptr<const TPreguntasCC> Preguntas2019() {
    const TLecturaEdicion l = LeeEdicion(CarpetaEdicionesPrograma() / "prueba-2019");
    EXPECT_TRUE(l.edicion);
    return PreguntasCCDe(*l.edicion);
}

}  // namespace

TEST(RespuestasCCEdicion, CadaEdicionConSusPreguntasYSuArchivo) {
    TDirTemporal dir;
    const QString sCarpeta = QString::fromStdString(dir.ruta().string());
    const QString sEmpresa = QStringLiteral("CAMBIOS DEL NORTE SA DE CV");
    TAlmacenRespuestasCC almacen2018(sCarpeta), almacen2019(sCarpeta, Preguntas2019());

    // Nothing saved yet: no answers, but to the edition's questions.
    QString sError;
    auto r = almacen2019.Lee(1, sEmpresa, sError);
    ASSERT_TRUE(r) << sError.toStdString();
    EXPECT_EQ(r->DamePreguntas()->sClave, "prueba-2019");
    // The 2019 choices (question 13 of 2018 was free text); the numbers are
    // the edition's.
    EXPECT_EQ(r->Asigna(9, QStringLiteral("alto")), "");
    EXPECT_EQ(r->Asigna(13, QStringLiteral("Nómina")), "");
    EXPECT_EQ(r->Dame(13), "NOMINA");
    EXPECT_NE(r->Asigna(13, QStringLiteral("AHORRO")), "");
    EXPECT_EQ(r->Asigna(14, QStringLiteral("SI")).toStdString(),
              "La pregunta 14 se responde con la base de datos del Norvex, no a mano.");
    EXPECT_EQ(r->Asigna(77, QStringLiteral("SI")).toStdString(),
              "No existe la pregunta 77: el cuestionario va de la 1 a la 76.");
    ASSERT_TRUE(almacen2019.Guarda(1, sEmpresa, *r, sError)) << sError.toStdString();
    EXPECT_TRUE(almacen2019.DameRuta(1, sEmpresa).startsWith(sCarpeta + "/prueba-2019/"));
    EXPECT_EQ(almacen2018.DameRuta(1, sEmpresa).section(u'/', 0, -2), sCarpeta);

    // The other edition's store does not see them, nor may it keep them.
    auto r2018 = almacen2018.Lee(1, sEmpresa, sError);
    ASSERT_TRUE(r2018);
    EXPECT_TRUE(r2018->Vacia());
    EXPECT_FALSE(almacen2018.Guarda(1, sEmpresa, *r, sError));
    EXPECT_TRUE(sError.contains("de otra edición")) << sError.toStdString();
    EXPECT_EQ(almacen2019.Lee(1, sEmpresa, sError)->Dame(9), "ALTO");

    // A file put where another edition's belongs is refused, not mixed in.
    QFile::copy(almacen2019.DameRuta(1, sEmpresa), almacen2018.DameRuta(1, sEmpresa));
    EXPECT_FALSE(almacen2018.Lee(1, sEmpresa, sError));
    EXPECT_TRUE(sError.contains("es de otra edición (prueba-2019)")) << sError.toStdString();
}

// A file written before editions were data names none: it is the default
// edition's, as it always was.
TEST(RespuestasCCEdicion, UnArchivoSinEdicionEsDeLaPredeterminada) {
    TDirTemporal dir;
    TAlmacenRespuestasCC almacen(QString::fromStdString(dir.ruta().string()));
    const QString sEmpresa = QStringLiteral("CAMBIOS DEL NORTE SA DE CV");
    std::ofstream(almacen.DameRuta(1, sEmpresa).toStdString(), std::ios::binary)
        << R"({"formato": "respuestas-cc", "version": 1,
               "empresa": {"numero": 1, "nombre": "CAMBIOS DEL NORTE SA DE CV"},
               "respuestas": {"13": "BAJO"}})";
    QString sError;
    const auto r = almacen.Lee(1, sEmpresa, sError);
    ASSERT_TRUE(r) << sError.toStdString();
    EXPECT_EQ(r->Dame(13), "BAJO");  // free text in 2018
}
