#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>

#include "CuestPrueba.h"
#include "TDirTemporal.h"
#include "questionnaire/AlmacenRespuestasCC.h"
#include "questionnaire/PreguntasCC.h"
#include "questionnaire/RespuestasCC.h"
#include "questionnaire/ValidaRespuestaCC.h"

namespace {

QString DeArchivo(const std::filesystem::path& ruta) {
    QFile f(QString::fromStdString(ruta.string()));
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

QByteArray Bytes(const char* s) {
    return QByteArray(s);
}

}  // namespace

// The table and the question set agree: exactly the questions that yield the
// hand-answer text are in the table, and each text is the one the report
// prints under its number.
TEST(PreguntasCC, SonLasQueElCuestionarioDejaAlCentroConElTextoDelReporte) {
    TCuestPrueba cuestionario;
    std::vector<int> aMano;
    for (int n = 1; n <= 195; ++n)
        if (cuestionario.Consulta(n) == sTxCCResponde)
            aMano.push_back(n);
    std::vector<int> enTabla;
    for (const TPreguntaCC& p : DamePreguntasCC()) enTabla.push_back(p.nNumero);
    EXPECT_EQ(enTabla, aMano);
    ASSERT_EQ(enTabla.size(), 35u);

    // The template as the report engine reads it.
    const QByteArray plantilla = QByteArray::fromStdString(cuestionario.DameEdicion().sPlantilla);
    std::map<int, QString> impresas;  // number -> text of its paragraph
    const QJsonArray paginas = QJsonDocument::fromJson(plantilla)["paginas"].toArray();
    for (const QJsonValue pagina : paginas) {
        const QJsonArray objetos = pagina.toObject()["encabezado"].toObject()["objetos"].toArray();
        for (const QJsonValue objeto : objetos) {
            const QJsonArray parrafos = objeto.toObject()["texto"].toObject()["parrafos"].toArray();
            for (const QJsonValue parrafo : parrafos) {
                const QJsonArray trozos = parrafo.toObject()["trozos"].toArray();
                if (trozos.size() < 2)
                    continue;
                bool bNumero = false;
                const int n = trozos[0].toObject()["texto"].toString().trimmed().toInt(&bNumero);
                if (bNumero)
                    impresas[n] = trozos[1].toObject()["texto"].toString().trimmed();
            }
        }
    }
    for (const TPreguntaCC& p : DamePreguntasCC())
        EXPECT_EQ(impresas[p.nNumero], p.sTexto) << "pregunta " << p.nNumero;
}

// Values per kind: good ones give their canonical form, bad ones a message
// that says what to write; the edges are the calendar, grouping, cents and
// line breaks.
TEST(ValidaRespuestaCC, ValoresPorTipo) {
    struct Caso {
        int nPregunta;
        const char* sEntrada;
        bool bValida;
        const char* sEsperado;  // canonical value, or a piece of the message
    } casos[] = {
        // any kind: blank is "no answer"
        {1, "", true, ""},
        {12, "   ", true, ""},
        // amounts in pesos (1 capital, 3 assets)
        {1, "1500000", true, "1500000"},
        {1, " $1,500,000 ", true, "1500000"},
        {3, "0", true, "0"},
        {3, "000250", true, "250"},
        {1, "1500000.50", false, "sin centavos"},
        {1, "1500000.00", false, "sin centavos"},
        {1, "-5", false, "negativa"},
        {1, "1,50", false, "no es una cantidad"},
        {1, "un millón", false, "en pesos"},
        {1, "1234567890123456", false, "demasiado grande"},
        {1, "15\n00", false, "una sola línea"},
        // dates (12 since when, 19/20/29/30 opening and closing)
        {12, "15/03/2010", true, "15/03/2010"},
        {19, "1/2/2017", true, "01/02/2017"},
        {20, "29/02/2016", true, "29/02/2016"},
        {29, "29/02/2017", false, "no existe"},
        {30, "31/04/2017", false, "no existe"},
        {12, "2017-03-15", false, "dd/mm/aaaa"},
        {12, "15/03/17", false, "dd/mm/aaaa"},
        {12, "15/03/0017", false, "fuera de lugar"},
        // yes/no
        {5, "si", true, "SI"},
        {9, "Sí", true, "SI"},
        {192, " no ", true, "NO"},
        {11, "tal vez", false, "SI o NO"},
        {14, "S", false, "SI o NO"},
        // counts
        {6, "3", true, "3"},
        {8, "1,250", true, "1250"},
        {8, "2.5", false, "número entero"},
        {6, "-1", false, "negativo"},
        {8, "10000000000", false, "demasiado grande"},
        // a choice from the list the question names
        {21, "cheques", true, "CHEQUES"},
        {31, "Inversión", true, "INVERSION"},
        {21, "ahorro", false, "CHEQUES, INVERSION, OTRA"},
        // free text, one or several lines
        {4, "  JALISCO ", true, "JALISCO"},
        {7, "JALISCO\r\nSONORA\rNUEVO LEON", true, "JALISCO\nSONORA\nNUEVO LEON"},
        {22, "0123-4567,89 \"A\"", true, "0123-4567,89 \"A\""},
        {18, "CIERRE\x01", false, "caracteres de control"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::to_string(c.nPregunta) + " «" + c.sEntrada + "»");
        const TPreguntaCC* p = DamePreguntaCC(c.nPregunta);
        ASSERT_NE(p, nullptr);
        const TRespuestaValidada r = ValidaRespuestaCC(*p, QString::fromUtf8(c.sEntrada));
        EXPECT_EQ(r.bValida, c.bValida);
        if (c.bValida)
            EXPECT_EQ(r.sValor, QString::fromUtf8(c.sEsperado));
        else
            EXPECT_TRUE(r.sMensaje.contains(QString::fromUtf8(c.sEsperado)))
                << r.sMensaje.toStdString();
    }
}

TEST(ValidaRespuestaCC, ElTextoLibreTieneUnLargoMaximo) {
    const TPreguntaCC& p = *DamePreguntaCC(193);
    EXPECT_TRUE(ValidaRespuestaCC(p, QString(kMaxCaracteresRespuestaCC, u'A')).bValida);
    const auto r = ValidaRespuestaCC(p, QString(kMaxCaracteresRespuestaCC + 1, u'A'));
    EXPECT_FALSE(r.bValida);
    EXPECT_TRUE(r.sMensaje.contains(u"demasiado larga"));
}

TEST(RespuestasCC, SoloSeRespondenLasPreguntasDelCentro) {
    TRespuestasCC r;
    EXPECT_TRUE(r.Asigna(2, "COMERCIO").contains(u"base de datos del Norvex"));
    EXPECT_TRUE(r.Asigna(100, "5").contains(u"base de datos del Norvex"));
    EXPECT_TRUE(r.Asigna(0, "5").contains(u"No existe la pregunta 0"));
    EXPECT_TRUE(r.Asigna(196, "5").contains(u"No existe la pregunta 196"));
    // a refused value leaves the earlier answer; an empty one removes it
    EXPECT_EQ(r.Asigna(12, "15/03/2010"), QString());
    EXPECT_FALSE(r.Asigna(12, "31/02/2010").isEmpty());
    EXPECT_EQ(r.Dame(12), "15/03/2010");
    EXPECT_EQ(r.Asigna(12, ""), QString());
    EXPECT_TRUE(r.Vacia());
}

TEST(RespuestasCC, ExportarEImportarDevuelveLasMismasRespuestas) {
    TRespuestasCC r;
    ASSERT_EQ(r.Asigna(1, "1500000"), QString());
    ASSERT_EQ(r.Asigna(7, "JALISCO\nSONORA"), QString());
    ASSERT_EQ(r.Asigna(22, "CUENTA \"A\", 12"), QString());
    ASSERT_EQ(r.Asigna(195, "TRASLADOS ÑANDÚ SA"), QString());
    const QByteArray csv = r.ExportaCsv();
    EXPECT_EQ(csv, Bytes("pregunta,respuesta\r\n"
                         "1,1500000\r\n"
                         "7,\"JALISCO\nSONORA\"\r\n"
                         "22,\"CUENTA \"\"A\"\", 12\"\r\n"
                         "195,TRASLADOS ÑANDÚ SA\r\n"));
    QString sError;
    const auto leidas = TRespuestasCC::ImportaCsv(csv, sError);
    ASSERT_TRUE(leidas) << sError.toStdString();
    EXPECT_EQ(*leidas, r);
}

// Every refusal names the line (where the record starts, for fields that
// span lines) and imports nothing.
TEST(RespuestasCC, ImportarRechazaUnArchivoMalo) {
    struct Caso {
        const char* sCsv;
        const char* sMensaje;
    } casos[] = {
        {"", "Línea 1: falta el encabezado"},
        {"numero,valor\n1,5\n", "Línea 1: el encabezado debe ser pregunta,respuesta"},
        {"pregunta,respuesta\n1,5\n2,COMERCIO\n", "Línea 3: La pregunta 2 se responde con la base"},
        {"pregunta,respuesta\n196,X\n", "Línea 2: No existe la pregunta 196"},
        {"pregunta,respuesta\nuno,X\n", "Línea 2: «uno» no es un número de pregunta"},
        {"pregunta,respuesta\n5,SI\n\n5,NO\n",
         "Línea 4: la pregunta 5 ya se respondió en la línea 2"},
        {"pregunta,respuesta\n7,\"A\nB\"\n12,31/02/2017\n", "Línea 4: Pregunta 12: La fecha"},
        {"pregunta,respuesta\n1,5,6\n", "Línea 2: se esperaban dos campos"},
        {"pregunta,respuesta\n1\n", "Línea 2: se esperaban dos campos"},
        {"pregunta,respuesta\n4,\"JALISCO\n", "Línea 2: unas comillas abren un campo"},
        {"pregunta,respuesta\n4,\"JALISCO\"X\n", "Línea 2: hay texto después de las comillas"},
        {"pregunta,respuesta\n4,JAL\"ISCO\n", "Línea 2: comillas dentro de un campo"},
        {"pregunta,respuesta\n4,JALISCO\xff\n", "El archivo no es texto UTF-8 válido"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.sCsv);
        QString sError;
        EXPECT_FALSE(TRespuestasCC::ImportaCsv(Bytes(c.sCsv), sError));
        EXPECT_TRUE(sError.startsWith(QString::fromUtf8(c.sMensaje))) << sError.toStdString();
    }
}

TEST(RespuestasCC, ImportarAceptaLoQueUnaHojaDeCalculoEscribe) {
    // byte-order mark, LF or CR LF, blank lines, an empty answer, blanks
    // around the number, the header in capitals
    QString sError;
    const auto r = TRespuestasCC::ImportaCsv(
        Bytes("\xEF\xBB\xBFPREGUNTA,Respuesta\r\n 5 ,si\r\n\r\n6,\n8,\"1,250\"\n"), sError);
    ASSERT_TRUE(r) << sError.toStdString();
    EXPECT_EQ(r->DameTodas(), (std::map<int, QString>{{5, "SI"}, {8, "1250"}}));
}

class AlmacenCC : public ::testing::Test {
protected:
    TDirTemporal dir;
    QString Carpeta() const { return QString::fromStdString((dir / "datos").string()); }
};

TEST_F(AlmacenCC, GuardarYVolverALeerPorEmpresa) {
    TAlmacenRespuestasCC almacen(Carpeta());
    QString sError;
    // nothing saved yet: no answers, no error
    auto vacias = almacen.Lee(1, "CAMBIOS DEL NORTE", sError);
    ASSERT_TRUE(vacias);
    EXPECT_TRUE(vacias->Vacia());

    TRespuestasCC norte, sur;
    norte.Asigna(1, "1500000");
    norte.Asigna(7, "JALISCO\nSONORA");
    sur.Asigna(1, "900000");
    ASSERT_TRUE(almacen.Guarda(1, "CAMBIOS DEL NORTE", norte, sError)) << sError.toStdString();
    // same number, other name; same name, other number: other companies
    ASSERT_TRUE(almacen.Guarda(1, "CAMBIOS DEL SUR", sur, sError));
    EXPECT_TRUE(TAlmacenRespuestasCC(Carpeta()).Lee(2, "CAMBIOS DEL NORTE", sError)->Vacia());

    TAlmacenRespuestasCC otraVez(Carpeta());
    EXPECT_EQ(*otraVez.Lee(1, "CAMBIOS DEL NORTE", sError), norte);
    EXPECT_EQ(*otraVez.Lee(1, "CAMBIOS DEL SUR", sError), sur);

    // the file is the documented one
    const auto doc = QJsonDocument::fromJson(
        DeArchivo(almacen.DameRuta(1, "CAMBIOS DEL NORTE").toStdString()).toUtf8());
    EXPECT_EQ(doc["formato"].toString(), "respuestas-cc");
    EXPECT_EQ(doc["empresa"]["numero"].toInt(), 1);
    EXPECT_EQ(doc["empresa"]["nombre"].toString(), "CAMBIOS DEL NORTE");
    EXPECT_EQ(doc["respuestas"]["7"].toString(), "JALISCO\nSONORA");
}

TEST_F(AlmacenCC, UnNombreNoSaleDeLaCarpeta) {
    TAlmacenRespuestasCC almacen(Carpeta());
    const QString sRuta = almacen.DameRuta(3, "../../ETC/PASSWD \\ Ñ");
    EXPECT_EQ(QFileInfo(sRuta).absolutePath(), QDir(Carpeta()).absolutePath());
    TRespuestasCC r;
    r.Asigna(5, "SI");
    QString sError;
    ASSERT_TRUE(almacen.Guarda(3, "../../ETC/PASSWD \\ Ñ", r, sError));
    EXPECT_EQ(*almacen.Lee(3, "../../ETC/PASSWD \\ Ñ", sError), r);
}

// A save cut short (here: the writing stops half-way) keeps the earlier file
// byte for byte and leaves no temporary file beside it.
TEST_F(AlmacenCC, UnGuardadoInterrumpidoConservaElArchivoAnterior) {
    struct TAlmacenQueFalla : TAlmacenRespuestasCC {
        using TAlmacenRespuestasCC::TAlmacenRespuestasCC;
        bool Escribe(QIODevice& archivo, const QByteArray& datos) override {
            archivo.write(datos.left(datos.size() / 2));
            return false;
        }
    };
    TRespuestasCC antes, despues;
    antes.Asigna(1, "1500000");
    despues.Asigna(1, "2000000");
    despues.Asigna(8, "12");
    QString sError;
    ASSERT_TRUE(TAlmacenRespuestasCC(Carpeta()).Guarda(4, "CAMBIOS", antes, sError));
    const QString sRuta = TAlmacenRespuestasCC(Carpeta()).DameRuta(4, "CAMBIOS");
    const QString sAntes = DeArchivo(sRuta.toStdString());

    TAlmacenQueFalla falla(Carpeta());
    EXPECT_FALSE(falla.Guarda(4, "CAMBIOS", despues, sError));
    EXPECT_TRUE(sError.startsWith(u"No fue posible guardar las respuestas del CC"));
    EXPECT_EQ(DeArchivo(sRuta.toStdString()), sAntes);
    EXPECT_EQ(*TAlmacenRespuestasCC(Carpeta()).Lee(4, "CAMBIOS", sError), antes);
    EXPECT_EQ(QDir(Carpeta()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(AlmacenCC, UnArchivoDanadoSeReportaYNoSeToca) {
    TAlmacenRespuestasCC almacen(Carpeta());
    QDir().mkpath(Carpeta());
    struct Caso {
        const char* sContenido;
        const char* sMensaje;
    } casos[] = {
        {"{\"formato\": \"respuestas-cc\", \"version\": 1, ", "no es un archivo JSON"},
        {"{\"formato\": \"otro\", \"version\": 1}", "no es un archivo de respuestas"},
        {R"({"formato":"respuestas-cc","version":1,"empresa":{"numero":2,"nombre":"X"},"respuestas":{}})",
         "es de otra empresa"},
        {R"({"formato":"respuestas-cc","version":1,"empresa":{"numero":1,"nombre":"X"},"respuestas":{"12":"31/02/2017"}})",
         "La fecha 31/02/2017 no existe"},
        {R"({"formato":"respuestas-cc","version":1,"empresa":{"numero":1,"nombre":"X"},"respuestas":{"2":"COMERCIO"}})",
         "base de datos del Norvex"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.sContenido);
        QFile f(almacen.DameRuta(1, "X"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.sContenido);
        f.close();
        QString sError;
        EXPECT_FALSE(almacen.Lee(1, "X", sError));
        EXPECT_TRUE(sError.contains(QString::fromUtf8(c.sMensaje))) << sError.toStdString();
        EXPECT_EQ(DeArchivo(almacen.DameRuta(1, "X").toStdString()),
                  QString::fromUtf8(c.sContenido));
    }
}

TEST(AlmacenCCPorOmision, VaALaCarpetaDeDatosDelUsuario) {
    QStandardPaths::setTestModeEnabled(true);
    const TAlmacenRespuestasCC almacen;
    EXPECT_EQ(almacen.DameCarpeta(),
              QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/respuestas-cc");
    EXPECT_TRUE(almacen.DameCarpeta().contains(u".qttest"));
    QStandardPaths::setTestModeEnabled(false);
}
