#include <gtest/gtest.h>

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <fstream>
#include <optional>
#include <set>
#include <stdexcept>

#include "AplicacionQt.h"
#include "TAjustesTemporales.h"
#include "TDirTemporal.h"
#include "app/DatosVentana.h"
#include "app/ModeloPEPs.h"
#include "app/Principal.h"
#include "app/TipoCambio.h"
#include "app/UnionSucursales.h"
#include "app/Utilerias.h"
#include "data/ColectorConxs.h"
#include "platform/report/TVistaPrevia.h"
#include "platform/ui/ColorExito.h"
#include "platform/ui/ICajaMensajes.h"
#include "report/DataModule.h"
#include "report/ManejadorReportes.h"
#include "report/TablaPEPs.h"
#include "tests/tools/ProgramaLotes.h"
#include "tools/norvexgen/GeneradorNorvex.h"

namespace {

const char* const kSinBD = "Error: Este programa debe encontrarse en la carpeta del Norvex.";
const char* const kConectando = "Conectando con la BD...";
const char* const kSinEmpresa = "No se pudo extraer el Número de la Empresa predeterminada.";
const char* const kConectado =
    "Hay un usuario conectado a la BD. Cierre Norvex antes de continuar.";
const char* const kMalCaja =
    "La contraseña es incorrecta o, el usuario no  tiene permisos de administrador.";
const char* const kMalEstado =
    "La contraseña es incorrecta o, el usuario no tiene permisos de administrador.";
const char* const kSinReporte = "No fue posible generar el reporte. Llame a Soporte Técnico.";

// The instructions, byte for byte: twelve lines joined by CR CR LF.
const std::string kIndicaciones =
    "Para responder correctamente el cuestionario, es muy importante que por favor siga estas "
    "indicaciones:\r\r\n"
    "1.- Haga un respaldo de seguridad de la Base de Datos del Norvex.\r\r\n"
    "2.- Asigne el Símbolo a todas las divisas (Catálogo de \"Divisas para Compra/Venta\"; en "
    "Norvex: Menú principal -> Archivo -> Opción 4 ). Las Divisas sin Símbolo podrían ser "
    "ignoradas y causar resultados erróneos.\r\r\n"
    "3.- Asigne las Claves de la Actividad a  todos los Sectores (Catálogo de \"Ocupaciones, "
    "Profesiones, Actividades o Giros del Negocio\"; en Norvex:  Menú principal -> Usuarios -> "
    "Opción 2). Cerciórese que la clave corresponda correctamente con el Sector, de lo contrario "
    "podría causar resultados erróneos.\r\r\n"
    "4.- Cierre el programa Norvex. \r\r\n"
    "5.- Instale y ejecute este programa en la carpeta raíz del Norvex (Generalmente en "
    "C:\\Norvex Software\\). \r\r\n"
    "6.- Si tiene varias computadoras con Norvex en el mismo establecimiento, instale este "
    "programa en la computadora principal (Servidor).\r\r\n"
    "7.- Si tiene varias sucursales, utilice este programa para generar un reporte por sucursal. "
    "Posteriormente analice la información para condensarla manualmente en un solo reporte.\r\r\n"
    "8.- El cuestionario tiene preguntas que NO son posibles de contestar por medio de la Base de "
    "Datos del Norvex, por lo que deberá contestarlas a criterio y de acuerdo a la operatividad de "
    "su Centro Cambiario. Estas preguntas traen la respuesta: (** El CC debe responder **).\r\r\n"
    "Nota 1: Considere los datos que están entre paréntesis para analizar y condensar la "
    "información en caso de tener varias sucursales. No debe escribir estos datos en el "
    "cuestionario, son sólo datos informativos para su análisis.\r\r\n"
    "Nota 2: En caso de no utilizar el sistema Norvex de forma automática para la detección de "
    "PEPs, los resultados podrían no ser correctos. Deberá realizar los cálculos correspondientes "
    "en cada respuesta donde intervengan PEPs conforme a los dictámenes que hubiera realizado."
    "\r\r\n"
    "¿Ha seguido las indicaciones y desea continuar?";

std::string NombreFoco() {
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName().toStdString() : "";
}

bool HayCursorEspera() {
    return QApplication::overrideCursor() &&
           QApplication::overrideCursor()->shape() == Qt::WaitCursor;
}

// One thing the user saw: a box ("caja") or a status text held by a pause
// ("estado"), with the cursor and the focus of that moment.
struct TSuceso {
    std::string sTexto;
    bool bEspera = false;
    std::string sFoco;
};

struct TBitacora {
    std::vector<TSuceso> sucesos;
    std::vector<std::string> destellos;  // caption that was red during a flash pause

    std::vector<std::string> Textos() const {
        std::vector<std::string> t;
        for (const TSuceso& s : sucesos) t.push_back(s.sTexto);
        return t;
    }
};

class TCajaBitacora : public ui::ICajaMensajes {
public:
    explicit TCajaBitacora(TBitacora& bitacora) : bitacora_(bitacora) {}
    bool bRespuesta = true;
    void MuestraMensaje(const std::string& sTexto) override {
        bitacora_.sucesos.push_back({"caja:" + sTexto, HayCursorEspera(), NombreFoco()});
    }
    bool PreguntaSiNo(const std::string& sTexto) override {
        bitacora_.sucesos.push_back({"pregunta:" + sTexto, HayCursorEspera(), NombreFoco()});
        return bRespuesta;
    }

private:
    TBitacora& bitacora_;
};

// Pauses take no time; they note the status text (messenger pauses) or
// which caption is red (flash phases).
class TUtileriasPrueba : public TUtilerias {
public:
    TUtileriasPrueba(TBitacora& bitacora, std::string sRutaExe)
        : TUtilerias({}, std::move(sRutaExe)), bitacora_(bitacora) {}
    QWidget* ventana = nullptr;

    void HazPausa(uint32_t nSegs) override {
        if (ventana && nSegs == 300) {
            for (const char* sNombre : {"txUsuario", "txCambio", "txPassw"}) {
                auto* etiqueta = ventana->findChild<QLabel*>(sNombre);
                if (etiqueta->palette().color(QPalette::WindowText) == QColor(0xFF, 0, 0))
                    bitacora_.destellos.push_back(sNombre);
            }
        } else if (ventana) {
            const QString sEstado = ventana->findChild<QLabel*>("txMensajes")->text();
            bitacora_.sucesos.push_back(
                TSuceso{"estado:" + sEstado.toStdString(), HayCursorEspera(), NombreFoco()});
        }
        QCoreApplication::processEvents();
    }

private:
    TBitacora& bitacora_;
};

// The question-set object of a job: the gate's checks and the two runs, with
// the candidates the detection "finds".
class TNorvexFalso : public IRepCuestionarioKOVA {
public:
    bool bUsuarios = false;
    bool bAcceso = true;
    bool bDetecta = true;
    bool bGenera = true;
    std::vector<std::string> candidatos;
    std::vector<bool> ticksLeidos;  // EsPEP of every row when the report ran
    int nValidaciones = 0;
    std::string sUsuario, sPassw;
    bool bSoloAdmins = false;

    std::function<void()> alDetectar;  // runs as the detection's statement would

    bool UsuariosConectados() override { return bUsuarios; }
    bool DetectaPEPs(TTablaPEPs& vtPEPs) override {
        if (alDetectar)
            alDetectar();
        vtPEPs.Vacia();
        for (size_t i = 0; i < candidatos.size(); ++i) {
            vtPEPs.Agrega(int(i) + 1, "C" + std::to_string(i), candidatos[i], false);
            vtPEPs.AgregaAlerta("C" + std::to_string(i), {"15/03/2017", "LISTA <b>PEP</b>"});
        }
        return bDetecta;
    }
    bool GeneraReporte(TTablaPEPs& vtPEPs) override {
        ticksLeidos.clear();
        for (const TFilaPEP& fila : vtPEPs.Filas()) ticksLeidos.push_back(fila.bEsPEP);
        return bGenera;
    }
    bool ValidaAcceso(const std::string& u, const std::string& p, bool b) override {
        ++nValidaciones;
        sUsuario = u;
        sPassw = p;
        bSoloAdmins = b;
        return bAcceso;
    }
};

class TDatosFalsos : public IDatosVentana {
public:
    bool bConecta = true;
    bool bLanza = false;
    std::function<void()> durante;  // runs inside the job, at the connection
    int nConexiones = 0;
    std::string sRutaBD;
    int nCreados = 0;
    int nNumEmp = 0;
    double dTCambio = 0;
    std::shared_ptr<TNorvexFalso> norvex = std::make_shared<TNorvexFalso>();

    bool ConectaBDPrinc(const std::string& sRuta) override {
        ++nConexiones;
        sRutaBD = sRuta;
        if (durante)
            durante();
        return bConecta;
    }
    std::shared_ptr<IRepCuestionarioKOVA> CreaCuestionario(int n, double d,
                                                           std::shared_ptr<IMensajero>) override {
        if (bLanza)
            throw std::runtime_error("Falla de prueba");
        ++nCreados;
        nNumEmp = n;
        dTCambio = d;
        return norvex;
    }
};

class PrincipalTest : public ::testing::Test {
protected:
    void SetUp() override {
        AplicacionQt();
        anterior = ui::DameCajaMensajes();
        caja = std::make_shared<TCajaBitacora>(bitacora);
        ui::FijaCajaMensajes(caja);
        utilerias =
            std::make_shared<TUtileriasPrueba>(bitacora, (dir / "CuestionarioKOVA").string());
        vtPEPs.Vacia();
        ventana = std::make_unique<TfrmPrincipal>(datos, vtPEPs, utilerias);
        utilerias->ventana = ventana.get();
    }
    void TearDown() override {
        ventana.reset();
        ui::FijaCajaMensajes(anterior);
    }

    // Shows the window and answers the instructions with Yes.
    void Abre() {
        ventana->show();
        ventana->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(ventana.get()));
        QCoreApplication::processEvents();
        bitacora = {};
    }

    // A window over the real registry, connection and question set, whose
    // reports go to dm, shown and past the instructions.
    void VentanaReal(TdmMain& dm, std::shared_ptr<TColectorConxs> colector =
                                      std::make_shared<TColectorConxs>()) {
        auto real = std::make_shared<TDatosVentana>(
            [&dm](const std::string& sNomRep) -> std::shared_ptr<IManejadorReportes> {
                return std::make_shared<TManejadorReportes>(dm.repGeneral, sNomRep);
            },
            std::move(colector));
        ventana.reset();
        ventana = std::make_unique<TfrmPrincipal>(real, dm.vtPEPs, utilerias);
        utilerias->ventana = ventana.get();
        Abre();
    }

    // Starts over with a new window and fresh fakes, shown and past the instructions.
    void NuevaVentana() {
        TearDown();
        datos = std::make_shared<TDatosFalsos>();
        SetUp();
        Abre();
    }

    template <class T = QWidget>
    T* Control(const char* sNombre) {
        auto* w = ventana->findChild<T*>(sNombre);
        EXPECT_NE(w, nullptr) << sNombre;
        return w;
    }

    void CreaNorvex(std::optional<std::string> sIni = "[Control]\nEmpresaActiva=3\n") {
        std::filesystem::create_directories(dir / "DataBase");
        std::ofstream(dir / "DataBase/Norvex.mdb") << "mdb";
        if (sIni)
            std::ofstream(dir / "Norvex.INI") << *sIni;
    }

    void Credenciales(const QString& sUsuario, const QString& sPassw) {
        Control<QLineEdit>("edUsuario")->setText(sUsuario);
        Control<QLineEdit>("edPassw")->setText(sPassw);
    }

    // Lets the 50 ms flash timer fire and run its phases.
    void EsperaDestello() {
        (void)QTest::qWaitFor([&] { return !bitacora.destellos.empty(); }, 1000);
    }

    TAjustesTemporales ajustes;  // before any window: it reads the settings
    TDirTemporal dir;
    TBitacora bitacora;
    std::shared_ptr<ui::ICajaMensajes> anterior;
    std::shared_ptr<TCajaBitacora> caja;
    std::shared_ptr<TDatosFalsos> datos = std::make_shared<TDatosFalsos>();
    std::shared_ptr<TUtileriasPrueba> utilerias;
    TTablaPEPs vtPEPs;
    std::unique_ptr<TfrmPrincipal> ventana;
};

TEST_F(PrincipalTest, EstadoInicial) {
    EXPECT_EQ(ventana->size(), QSize(690, 730));
    EXPECT_EQ(ventana->minimumSize(), ventana->maximumSize());
    EXPECT_EQ(ventana->windowTitle(), "Cuestionario KOVA 2018");
    // The menu entry's icon, drawn: not the desktop's blank window.
    const QImage icono = ventana->windowIcon().pixmap(48).toImage();
    ASSERT_FALSE(icono.isNull());
    EXPECT_GT(qAlpha(icono.pixel(24, 24)), 0);
    auto* txMensajes = Control<QLabel>("txMensajes");
    EXPECT_EQ(txMensajes->text(), "");
    EXPECT_EQ(txMensajes->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
    EXPECT_EQ(Control<QLineEdit>("edCambio")->text(), "18.91");
    EXPECT_EQ(Control<QLineEdit>("edPassw")->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(Control("bnGenReporte")->isEnabled());
    EXPECT_FALSE(Control("grdPEPs")->isEnabled());
    EXPECT_TRUE(Control("txPruebas")->isHidden());
    EXPECT_TRUE(Control("pnIgnorar")->isHidden());
    EXPECT_TRUE(Control("pnChkBox")->isHidden());
    EXPECT_EQ(Control<QLabel>("txPaso4")->palette().color(QPalette::WindowText),
              QColor(0x00, 0x80, 0x80));
}

TEST_F(PrincipalTest, LasIndicacionesSalenDespuesDeMostrarseYSiLlevaAlTipoDeCambio) {
    ventana->show();
    EXPECT_TRUE(bitacora.sucesos.empty()) << "the dialog is posted, not shown inside show()";
    ventana->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ventana.get()));
    QCoreApplication::processEvents();
    ASSERT_EQ(bitacora.sucesos.size(), 1u);
    EXPECT_EQ(bitacora.sucesos[0].sTexto, "pregunta:" + kIndicaciones);
    EXPECT_EQ(NombreFoco(), "edCambio");
    EXPECT_TRUE(ventana->isVisible());
}

TEST_F(PrincipalTest, NoALasIndicacionesCierraLaVentana) {
    caja->bRespuesta = false;
    ventana->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !bitacora.sucesos.empty(); }, 1000));
    QCoreApplication::processEvents();
    EXPECT_FALSE(ventana->isVisible());
}

TEST_F(PrincipalTest, FiltroDeTeclasDelTipoDeCambio) {
    Abre();
    struct TCaso {
        QLocale::Language eIdioma;
        const char* sInicial;
        int nCursor;
        Qt::Key eTecla;
        char cTecla;
        const char* sEsperado;
    };
    const auto C = QLocale::English;
    const TCaso casos[] = {
        {C, "", 0, Qt::Key_unknown, '.', ""},
        {C, "0", 1, Qt::Key_unknown, '.', "0"},
        {C, "18", 2, Qt::Key_unknown, '.', "18."},
        {C, "18", 0, Qt::Key_unknown, '.', ".18"},  // judged at the end, typed at the caret
        {C, "18.91", 5, Qt::Key_unknown, '.', "18.91"},
        {C, "18.91", 1, Qt::Key_unknown, '.', "18.91"},
        {C, "18", 2, Qt::Key_unknown, '7', "187"},
        {C, "18", 2, Qt::Key_unknown, 'a', "18"},
        {C, "18", 2, Qt::Key_unknown, '-', "18"},
        {C, "18", 2, Qt::Key_unknown, ',', "18."},  // a comma is the decimal point
        {C, "18.9", 4, Qt::Key_unknown, ',', "18.9"},
        {C, "18", 2, Qt::Key_unknown, ' ', "18"},
        {C, "18", 2, Qt::Key_Backspace, 0, "1"},
        {C, "18", 1, Qt::Key_Delete, 0, "1"},
        // A locale whose decimal sign is a comma changes nothing.
        {QLocale::Spanish, "18", 2, Qt::Key_unknown, '.', "18."},
        {QLocale::Spanish, "18", 2, Qt::Key_unknown, ',', "18."},
        {QLocale::Spanish, "18.91", 5, Qt::Key_unknown, ',', "18.91"},
        {QLocale::German, "18", 2, Qt::Key_unknown, ',', "18."},
    };
    auto* edCambio = Control<QLineEdit>("edCambio");
    for (const TCaso& c : casos) {
        TLocalTemporal local{QLocale(c.eIdioma)};
        edCambio->setFocus();
        edCambio->setText(c.sInicial);
        edCambio->setCursorPosition(c.nCursor);
        if (c.cTecla)
            QTest::keyClick(edCambio, c.cTecla);
        else
            QTest::keyClick(edCambio, c.eTecla);
        EXPECT_EQ(edCambio->text(), c.sEsperado)
            << c.sInicial << " + " << (c.cTecla ? c.cTecla : '?');
    }
    // A character beyond Latin-1 never passes.
    edCambio->setText("1");
    QTest::sendKeyEvent(QTest::Click, edCambio, Qt::Key_unknown, QString("٣"), Qt::NoModifier);
    EXPECT_EQ(edCambio->text(), "1");
}

// Keys as an X11 server sends them: Tab, Delete and the Ctrl shortcuts carry
// a control character as text, which must not reach the typed-key filter.
TEST_F(PrincipalTest, TeclasDeEdicionConElTextoDeX11) {
    Abre();
    struct TCaso {
        const char* sNombre;
        Qt::Key eTecla;
        const char* sTexto;
        Qt::KeyboardModifiers eMods;
        int nCursor;
        const char* sEsperado;
        const char* sFoco;
    };
    const TCaso casos[] = {
        {"Tab", Qt::Key_Tab, "\t", Qt::NoModifier, 2, "18.91", "edUsuario"},
        {"Supr", Qt::Key_Delete, "\x7f", Qt::NoModifier, 1, "1.91", "edCambio"},
        {"Esc", Qt::Key_Escape, "\x1b", Qt::NoModifier, 1, "18.91", "edCambio"},
        {"Ctrl+X de todo", Qt::Key_X, "\x18", Qt::ControlModifier, -1, "", "edCambio"},
    };
    auto* edCambio = Control<QLineEdit>("edCambio");
    for (const TCaso& c : casos) {
        edCambio->setFocus();
        edCambio->setText("18.91");
        if (c.nCursor < 0)
            edCambio->selectAll();
        else
            edCambio->setCursorPosition(c.nCursor);
        QTest::sendKeyEvent(QTest::Press, edCambio, c.eTecla, QString(c.sTexto), c.eMods);
        QTest::sendKeyEvent(QTest::Release, edCambio, c.eTecla, QString(c.sTexto), c.eMods);
        EXPECT_EQ(edCambio->text(), c.sEsperado) << c.sNombre;
        EXPECT_EQ(NombreFoco(), c.sFoco) << c.sNombre;
    }
}

// A paste is filtered as typing would be, character by character.
TEST_F(PrincipalTest, PegarEnElTipoDeCambioFiltraComoAlTeclear) {
    Abre();
    TLocalTemporal local{QLocale(QLocale::English)};
    struct TCaso {
        const char* sPegado;
        const char* sInicial;
        int nCursor;  // -1: all of it selected
        const char* sEsperado;
        int nCursorFinal;
    };
    const TCaso casos[] = {
        {"$ 19.50 MXN", "18.91", -1, "19.50", 5},
        {"1.2.3", "", 0, "1.23", 4},
        {"a7b", "18", 1, "178", 2},
        {"2.5", "18", 2, "182.5", 5},
        {".5x", "1.", 2, "1.5", 3},  // a second point never passes
        {"abc", "18", 2, "18", 2},
        {"18,91", "", 0, "18.91", 5},  // a comma is the decimal point
        {"1,2,3", "", 0, "1.23", 4},
    };
    auto* edCambio = Control<QLineEdit>("edCambio");
    for (const TCaso& c : casos) {
        QApplication::clipboard()->setText(c.sPegado);
        edCambio->setText(c.sInicial);
        if (c.nCursor < 0)
            edCambio->selectAll();
        else
            edCambio->setCursorPosition(c.nCursor);
        edCambio->paste();
        EXPECT_EQ(edCambio->text(), c.sEsperado) << c.sPegado << " en " << c.sInicial;
        EXPECT_EQ(edCambio->cursorPosition(), c.nCursorFinal) << c.sPegado;
    }
}

// Enter four times from the rate field: user, password, the button, and the
// focused button starts the detection.
TEST_F(PrincipalTest, CuatroEnterDesdeElTipoDeCambioDetectan) {
    Abre();
    CreaNorvex();
    Credenciales("ADMIN", "NORVEX");
    datos->norvex->candidatos = {"ANA PEREZ"};
    Control("edCambio")->setFocus();
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::NoModifier);
    EXPECT_EQ(datos->nConexiones, 1);
    EXPECT_EQ(vtPEPs.Cuenta(), 1u);
    EXPECT_EQ(NombreFoco(), "bnDetectaPEPs");
    // Enter on the report button asks for confirmation and runs the job.
    Control("bnGenReporte")->setFocus();
    QTest::keyClick(Control("bnGenReporte"), Qt::Key_Enter);
    EXPECT_EQ(datos->norvex->ticksLeidos.size(), 1u);
}

// The button Enter would press shows a frame: a dotted line inside its border
// while it has the focus, none otherwise.
TEST_F(PrincipalTest, ElBotonEnfocadoMuestraSuMarco) {
    Abre();
    auto* bnDetecta = Control<QPushButton>("bnDetectaPEPs");
    const auto puntosDelMarco = [&] {
        const QImage imagen = bnDetecta->grab().toImage();
        int n = 0;
        for (int x = 8; x < imagen.width() - 8; ++x) n += qGray(imagen.pixel(x, 4)) < 128;
        return n;
    };
    Control("edCambio")->setFocus();
    EXPECT_EQ(puntosDelMarco(), 0);
    bnDetecta->setFocus();
    EXPECT_GT(puntosDelMarco(), (bnDetecta->width() - 16) / 3);
}

TEST_F(PrincipalTest, EnterAvanzaYMayusEnterRetrocede) {
    Abre();
    auto* edCambio = Control<QLineEdit>("edCambio");
    edCambio->setFocus();
    QTest::keyClick(edCambio, Qt::Key_Return);
    EXPECT_EQ(NombreFoco(), "edUsuario");
    EXPECT_EQ(edCambio->text(), "18.91");
    QTest::keyClick(Control("edUsuario"), Qt::Key_Enter);
    EXPECT_EQ(NombreFoco(), "edPassw");
    QTest::keyClick(Control("edPassw"), Qt::Key_Return);
    EXPECT_EQ(NombreFoco(), "bnDetectaPEPs") << "notice, disabled grid and hidden box skipped";

    Control("edPassw")->setFocus();
    QTest::keyClick(Control("edPassw"), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(NombreFoco(), "edUsuario");
    QTest::keyClick(Control("edUsuario"), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(NombreFoco(), "edCambio");
}

TEST_F(PrincipalTest, UsuarioYContrasenaEnMayusculas) {
    Abre();
    QTest::keyClicks(Control("edUsuario"), "admin ");
    QTest::sendKeyEvent(QTest::Click, Control("edUsuario"), Qt::Key_unknown, QString("ñ"),
                        Qt::NoModifier);
    QTest::keyClicks(Control("edPassw"), "norvex");
    EXPECT_EQ(Control<QLineEdit>("edUsuario")->text(), "ADMIN Ñ");
    EXPECT_EQ(Control<QLineEdit>("edPassw")->text(), "NORVEX");
    EXPECT_EQ(Control<QLineEdit>("edPassw")->displayText(), "******");
}

TEST_F(PrincipalTest, ValidaCamposSenalaElPrimerProblema) {
    Abre();
    struct TCaso {
        QLocale::Language eIdioma;
        const char* sUsuario;
        const char* sCambio;
        const char* sEstado;  // empty: no problem
        const char* sCampo;
        const char* sLeyenda;
    };
    const auto C = QLocale::English;
    const char* kUsuario = "Por favor, escriba su usuario (Administrador).";
    const char* kCambio = "Por favor, escriba el tipo de cambio.";
    const char* kCero = "El tipo de cambio debe ser diferente a cero.";
    const TCaso casos[] = {
        {C, "", "", kUsuario, "edUsuario", "txUsuario"},
        {C, " \t", "18.91", kUsuario, "edUsuario", "txUsuario"},
        {C, "ADMIN", "", kCambio, "edCambio", "txCambio"},
        {C, "ADMIN", "  ", kCambio, "edCambio", "txCambio"},
        {C, "ADMIN", "0", kCero, "edCambio", "txCambio"},
        {C, "ADMIN", "-3", kCero, "edCambio", "txCambio"},
        {C, "ADMIN", "1..2", kCero, "edCambio", "txCambio"},
        {QLocale::German, "ADMIN", "18,91", kCero, "edCambio", "txCambio"},
        {C, " ADMIN", "18.91", "", "", ""},
        {QLocale::German, "ADMIN", "18.91", "", "", ""},  // the point whatever the locale
    };
    for (const TCaso& c : casos) {
        TLocalTemporal local{QLocale(c.eIdioma)};
        // A fresh window: no clearing timer of the previous case is running.
        NuevaVentana();
        Control("bnDetectaPEPs")->setFocus();
        Control<QLineEdit>("edUsuario")->setText(c.sUsuario);
        // Past the field's validator, which would mend "-3" or "1..2": the
        // check must judge any text all the same.
        auto* edCambio = Control<QLineEdit>("edCambio");
        const QValidator* validador = edCambio->validator();
        edCambio->setValidator(nullptr);
        edCambio->setText(c.sCambio);
        edCambio->setValidator(validador);
        const bool bProblema = ventana->ValidaCampos();
        EXPECT_EQ(bProblema, *c.sEstado != 0) << c.sUsuario << "/" << c.sCambio;
        EXPECT_EQ(Control<QLabel>("txMensajes")->text().toStdString(), c.sEstado);
        if (!bProblema)
            continue;
        EXPECT_EQ(NombreFoco(), c.sCampo);
        EsperaDestello();
        ASSERT_FALSE(bitacora.destellos.empty());
        EXPECT_EQ(bitacora.destellos.front(), c.sLeyenda);
    }
}

// The gate as the user lives it, box by box and status by status.
TEST_F(PrincipalTest, PuertaDeDeteccionCierraConCadaFalla) {
    struct TCaso {
        const char* sNombre;
        bool bBase;
        std::optional<std::string> sIni;
        bool bConecta, bUsuarios, bAcceso;
        bool bCreaCuestionario;
        std::vector<std::string> esperado;
    };
    const std::string kIni = "[Control]\nEmpresaActiva=3\n";
    const std::string e = "estado:", k = "caja:";
    const TCaso casos[] = {
        {"sin base", false, kIni, true, false, true, false, {k + kSinBD}},
        {"no abre", true, kIni, false, false, true, false, {e + kConectando}},
        {"sin ini",
         true,
         std::nullopt,
         true,
         false,
         true,
         false,
         {e + kConectando, k + kSinEmpresa}},
        {"sin clave",
         true,
         "[Control]\nOtra=1\n",
         true,
         false,
         true,
         false,
         {e + kConectando, k + kSinEmpresa}},
        {"cero",
         true,
         "[Control]\nEmpresaActiva=0\n",
         true,
         false,
         true,
         false,
         {e + kConectando, k + kSinEmpresa}},
        {"negativo",
         true,
         "[Control]\nEmpresaActiva=-1\n",
         true,
         false,
         true,
         false,
         {e + kConectando, k + kSinEmpresa}},
        {"texto",
         true,
         "[Control]\nEmpresaActiva=uno\n",
         true,
         false,
         true,
         false,
         {e + kConectando, k + kSinEmpresa}},
        {"conectado", true, kIni, true, true, true, true, {e + kConectando, k + kConectado}},
        {"credenciales",
         true,
         kIni,
         true,
         false,
         false,
         true,
         {e + kConectando, k + kMalCaja, e + kMalEstado}},
        {"abre", true, kIni, true, false, true, true, {e + kConectando}},
    };
    for (const TCaso& c : casos) {
        SCOPED_TRACE(c.sNombre);
        std::filesystem::remove_all(dir / "DataBase");
        std::filesystem::remove(dir / "Norvex.INI");
        NuevaVentana();
        if (c.bBase)
            CreaNorvex(c.sIni);
        datos->bConecta = c.bConecta;
        datos->norvex->bUsuarios = c.bUsuarios;
        datos->norvex->bAcceso = c.bAcceso;
        Credenciales(" ADMIN", "");
        ventana->bnDetectaPEPsClick();
        EXPECT_EQ(bitacora.Textos(), c.esperado);
        for (const TSuceso& s : bitacora.sucesos) {
            if (!s.sTexto.starts_with(k))
                continue;
            EXPECT_EQ(s.bEspera, s.sTexto == k + kSinBD) << "cursor at " << s.sTexto;
        }
        EXPECT_EQ(datos->nCreados, c.bCreaCuestionario ? 1 : 0);
        EXPECT_EQ(datos->norvex->nValidaciones, c.bUsuarios ? 0 : datos->nCreados);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(Control("bnDetectaPEPs")->isEnabled());
    }
}

TEST_F(PrincipalTest, PuertaAbiertaRecibeLosCamposTalCual) {
    Abre();
    CreaNorvex("[control]\nempresaactiva = 3\n");
    std::filesystem::rename(dir / "DataBase/Norvex.mdb", dir / "DataBase/NORVEX.MDB");
    std::filesystem::rename(dir / "DataBase", dir / "Database");
    Credenciales(" admin", "");
    ventana->bnDetectaPEPsClick();
    EXPECT_EQ(datos->sRutaBD, (dir / "Database/NORVEX.MDB").string());
    EXPECT_EQ(datos->nNumEmp, 3);
    EXPECT_DOUBLE_EQ(datos->dTCambio, 18.91);
    EXPECT_EQ(datos->norvex->sUsuario, " ADMIN");
    EXPECT_EQ(datos->norvex->sPassw, "");
    EXPECT_TRUE(datos->norvex->bSoloAdmins);
}

TEST_F(PrincipalTest, CredencialesMalasEnDeteccionSenalanAlUsuario) {
    Abre();
    CreaNorvex();
    datos->norvex->bAcceso = false;
    Credenciales("ADMIN", "X");
    Control("edCambio")->setFocus();
    ventana->bnDetectaPEPsClick();
    ASSERT_EQ(bitacora.sucesos.size(), 3u);
    EXPECT_EQ(bitacora.sucesos[1].sFoco, "edUsuario") << "focus moves before the box";
    EsperaDestello();
    EXPECT_EQ(bitacora.destellos.front(), "txUsuario");
    EXPECT_EQ(NombreFoco(), "edUsuario");
    EXPECT_EQ(Control<QLineEdit>("edPassw")->text(), "X");
}

TEST_F(PrincipalTest, PuertaDelReporteConservaElCursorDeEsperaYSenalaLaContrasena) {
    Abre();
    CreaNorvex();
    datos->norvex->bAcceso = false;
    Credenciales("ADMIN", "X");
    Control("edCambio")->setFocus();
    ventana->bnGenReporteClick();
    const std::vector<std::string> esperado{
        "estado:¡Advertencia!", "pregunta:" + kIndicaciones, std::string("estado:") + kConectando,
        std::string("caja:") + kMalCaja, std::string("estado:") + kMalEstado};
    ASSERT_EQ(bitacora.Textos(), esperado);
    EXPECT_TRUE(bitacora.sucesos[3].bEspera);
    EXPECT_EQ(bitacora.sucesos[4].sFoco, "edCambio")
        << "the password is pointed at after the pause";
    EXPECT_EQ(Control<QLabel>("txMensajes")->text(), kSinReporte);
    EsperaDestello();
    EXPECT_EQ(bitacora.destellos.front(), "txPassw");
    EXPECT_EQ(NombreFoco(), "edPassw");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    bitacora = {};
    datos->norvex->bUsuarios = true;
    ventana->bnGenReporteClick();
    ASSERT_EQ(bitacora.sucesos.size(), 4u);
    EXPECT_EQ(bitacora.sucesos[3].sTexto, std::string("caja:") + kConectado);
    EXPECT_TRUE(bitacora.sucesos[3].bEspera);
}

// A rate far from any the dollar has had is asked about before the report
// job; No leads back to the field, Yes runs the job with it.
TEST_F(PrincipalTest, UnTipoDeCambioInverosimilSePreguntaAntesDelReporte) {
    Abre();
    CreaNorvex();
    Credenciales("ADMIN", "NORVEX");
    struct TCaso {
        const char* sCambio;
        bool bRespuesta;
        bool bPregunta;  // the rate is asked about
        bool bTrabajo;   // the report job runs
    };
    const TCaso casos[] = {
        {"18.91", false, false, false},  // No to the instructions only
        {"18.91", true, false, true},   {"1891", false, true, false},  {"1891", true, true, true},
        {"1.891", false, true, false},  {"189.1", false, true, false},
    };
    for (const TCaso& c : casos) {
        bitacora = {};
        datos->nCreados = 0;
        caja->bRespuesta = c.bRespuesta;
        Control<QLineEdit>("edCambio")->setText(c.sCambio);
        Control("bnGenReporte")->setFocus();
        ventana->bnGenReporteClick();
        const std::string sPregunta = "pregunta:" + AvisoTipoCambio(TextoATipoCambio(c.sCambio)) +
                                      "\n\n¿Desea generar el reporte con este tipo de cambio?";
        const auto textos = bitacora.Textos();
        EXPECT_EQ(!textos.empty() && textos.front() == sPregunta, c.bPregunta) << c.sCambio;
        EXPECT_EQ(datos->nCreados, c.bTrabajo ? 1 : 0) << c.sCambio;
        if (c.bTrabajo) {
            EXPECT_DOUBLE_EQ(datos->dTCambio, TextoATipoCambio(c.sCambio)) << c.sCambio;
        }
        if (c.bPregunta && !c.bRespuesta) {
            EXPECT_EQ(NombreFoco(), "edCambio") << c.sCambio;
            EXPECT_EQ(Control<QLabel>("txMensajes")->text(), "Revise el tipo de cambio.");
        }
    }
}

// Under a locale whose decimal sign is a comma, the rate typed with a comma
// reaches the job as the same rate typed with a point.
TEST_F(PrincipalTest, ElTipoDeCambioConComaLlegaAlTrabajo) {
    Abre();
    CreaNorvex();
    Credenciales("ADMIN", "NORVEX");
    TLocalTemporal local{QLocale(QLocale::Spanish, QLocale::Spain)};
    auto* edCambio = Control<QLineEdit>("edCambio");
    edCambio->setFocus();
    edCambio->clear();
    QTest::keyClicks(edCambio, "18,91");
    EXPECT_EQ(edCambio->text(), "18.91");
    ventana->bnGenReporteClick();
    EXPECT_DOUBLE_EQ(datos->dTCambio, 18.91);
}

TEST_F(PrincipalTest, ReporteCanceladoNoTocaLaBase) {
    Abre();
    CreaNorvex();
    Credenciales("ADMIN", "X");
    caja->bRespuesta = false;
    ventana->bnGenReporteClick();
    EXPECT_EQ(bitacora.Textos(),
              (std::vector<std::string>{"estado:¡Advertencia!", "pregunta:" + kIndicaciones,
                                        "estado:Proceso cancelado."}));
    EXPECT_EQ(datos->nConexiones, 0);
}

TEST_F(PrincipalTest, UnErrorDelTrabajoLlegaAUnaCajaConCursorYBotonRestaurados) {
    Abre();
    CreaNorvex();
    datos->bLanza = true;
    Credenciales("ADMIN", "X");
    ventana->bnDetectaPEPsClick();
    ASSERT_FALSE(bitacora.sucesos.empty());
    EXPECT_EQ(bitacora.sucesos.back().sTexto, "caja:Falla de prueba");
    EXPECT_FALSE(bitacora.sucesos.back().bEspera);
    EXPECT_TRUE(Control("bnDetectaPEPs")->isEnabled());

    // The window goes on working.
    datos->bLanza = false;
    bitacora = {};
    ventana->bnDetectaPEPsClick();
    EXPECT_EQ(datos->nCreados, 1);
}

TEST_F(PrincipalTest, NingunTrabajoEmpiezaMientrasOtroCorre) {
    Abre();
    CreaNorvex();
    Credenciales("ADMIN", "X");
    // Pauses process clicks: both buttons pressed while detection runs.
    datos->durante = [&] {
        datos->durante = nullptr;
        ventana->bnDetectaPEPsClick();
        ventana->bnGenReporteClick();
    };
    ventana->bnDetectaPEPsClick();
    EXPECT_EQ(datos->nConexiones, 1);
    EXPECT_EQ(datos->nCreados, 1);
    EXPECT_EQ(bitacora.Textos(), std::vector<std::string>{std::string("estado:") + kConectando});
}

// A click that reaches the window while a statement holds it waits in the
// event queue; it is dropped with the job, not run as a new job afterwards.
TEST_F(PrincipalTest, UnClicDuranteElTrabajoNoQuedaEnCola) {
    Abre();
    CreaNorvex();
    Credenciales("ADMIN", "X");
    auto* bnDetecta = Control<QPushButton>("bnDetectaPEPs");
    datos->norvex->alDetectar = [&] {
        datos->norvex->alDetectar = nullptr;
        const QPointF centro = QRectF(bnDetecta->rect()).center();
        for (QEvent::Type tipo : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(
                bnDetecta,
                std::make_unique<QMouseEvent>(tipo, centro, bnDetecta->mapToGlobal(centro),
                                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier)
                    .release());
    };
    ventana->bnDetectaPEPsClick();
    QCoreApplication::processEvents();
    EXPECT_EQ(datos->nConexiones, 1);
}

// Detection that finds candidates, ticking by mouse and keyboard, the report
// reading the ticks, and a new detection that clears them.
TEST_F(PrincipalTest, RevisionDePEPsDeLaDeteccionAlReporte) {
    Abre();
    CreaNorvex();
    Credenciales("ADMIN", "NORVEX");
    datos->norvex->candidatos = {"ANA PEREZ", "BETO LUNA", "CARLA DIAZ"};
    ventana->bnDetectaPEPsClick();

    auto* grdPEPs = Control<QTableView>("grdPEPs");
    QAbstractItemModel* modelo = grdPEPs->model();
    EXPECT_TRUE(grdPEPs->isEnabled());
    EXPECT_TRUE(Control("bnGenReporte")->isEnabled());
    EXPECT_TRUE(Control("pnIgnorar")->isHidden());
    EXPECT_EQ(Control<QLabel>("txMensajes")->text(), "La detección de PEPs ha finalizado.");
    EXPECT_EQ(Control<QLabel>("txMensajes")->palette().color(QPalette::WindowText),
              ui::ColorExito());
    ASSERT_EQ(modelo->rowCount(), 3);
    EXPECT_EQ(modelo->columnCount(), 3) << "no branch: no column of branches";
    EXPECT_EQ(grdPEPs->columnWidth(0) + grdPEPs->columnWidth(1) + grdPEPs->columnWidth(2), 475)
        << "the design's width, the key's column taken from the name's";
    EXPECT_EQ(modelo->headerData(0, Qt::Horizontal).toString(), "Marcar PEP");
    EXPECT_EQ(modelo->headerData(1, Qt::Horizontal).toString(), "Nombre del Usuario");
    EXPECT_EQ(modelo->headerData(2, Qt::Horizontal).toString(), "Clave");
    EXPECT_EQ(modelo->index(1, 2).data().toString(), "C1");
    EXPECT_EQ(modelo->index(1, 1).data().toString(), "BETO LUNA");
    // The name's tooltip tells homonyms apart, Norvex's text shown as written;
    // the tick cell keeps the grid's.
    QTextDocument ayuda;
    ayuda.setHtml(modelo->index(1, 1).data(Qt::ToolTipRole).toString());
    EXPECT_EQ(ayuda.toPlainText().replace(QChar::LineSeparator, u'\n'),
              "Clave del cliente: C1\nAlerta del 15/03/2017: LISTA <b>PEP</b>");
    EXPECT_FALSE(modelo->index(1, 0).data(Qt::ToolTipRole).isValid());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(modelo->index(i, 0).data(Qt::CheckStateRole), Qt::Unchecked);

    // One click on the tick of a row that is not the current one stores it at once.
    const auto clic = [&](int nFila, int nCol) {
        const QRect celda = grdPEPs->visualRect(modelo->index(nFila, nCol));
        QTest::mouseClick(grdPEPs->viewport(), Qt::LeftButton, {}, celda.center());
    };
    clic(1, 0);
    EXPECT_TRUE(vtPEPs.Fila(1).bEsPEP);
    clic(0, 1);
    EXPECT_FALSE(vtPEPs.Fila(0).bEsPEP) << "a click on a name ticks nothing";
    // Keyboard: Tab moves between the columns, Space ticks the focused tick cell.
    grdPEPs->setFocus();
    grdPEPs->setCurrentIndex(modelo->index(2, 0));
    QTest::keyClick(grdPEPs, Qt::Key_Tab);
    EXPECT_EQ(grdPEPs->currentIndex().column(), 1);
    QTest::keyClick(grdPEPs, Qt::Key_Space);
    EXPECT_FALSE(vtPEPs.Fila(2).bEsPEP);
    QTest::keyClick(grdPEPs, Qt::Key_Backtab);
    QTest::keyClick(grdPEPs, Qt::Key_Space);
    EXPECT_TRUE(vtPEPs.Fila(2).bEsPEP);
    EXPECT_EQ(modelo->index(2, 0).data(Qt::CheckStateRole), Qt::Checked);

    ventana->bnGenReporteClick();
    EXPECT_EQ(datos->norvex->ticksLeidos, (std::vector<bool>{false, true, true}));
    EXPECT_EQ(Control<QLabel>("txMensajes")->text(), "El reporte se generó correctamente.");
    EXPECT_EQ(Control<QLabel>("txMensajes")->palette().color(QPalette::WindowText),
              ui::ColorExito());

    ventana->bnDetectaPEPsClick();
    ASSERT_EQ(modelo->rowCount(), 3);
    for (const TFilaPEP& fila : vtPEPs.Filas()) EXPECT_FALSE(fila.bEsPEP);
}

// The list in Spanish order of the names as read, homonyms told apart by
// the key in a column of its own; a tick lands on the row shown.
TEST(ModeloPEPsTest, NombresEnOrdenEspanolYHomonimosPorClave) {
    TTablaPEPs tabla;
    const std::pair<const char*, const char*> filas[] = {
        {"C1", "MARIA GONZALEZ LOPEZ"}, {"C2", "   JUAN PEREZ"},
        {"C3", "ÑANDU ROSAS"},          {"C4", "NUÑEZ ANA"},
        {"C5", "ÁLVARO  RUIZ"},         {"C6", "OSCAR MENA"},
        {"C0", "MARIA GONZALEZ LOPEZ"}, {"C8", "juan pereza"},
    };
    for (size_t i = 0; i < std::size(filas); ++i)
        tabla.Agrega(int(i) + 1, filas[i].first, filas[i].second, false);
    TModeloPEPs modelo(tabla);
    std::vector<std::string> claves;
    for (int i = 0; i < modelo.rowCount(); ++i)
        claves.push_back(modelo.index(i, TModeloPEPs::kColClave).data().toString().toStdString());
    EXPECT_EQ(claves, (std::vector<std::string>{"C5", "C2", "C8", "C0", "C1", "C4", "C3", "C6"}));
    EXPECT_EQ(modelo.index(1, TModeloPEPs::kColNombre).data().toString(), "   JUAN PEREZ")
        << "shown as Norvex has it";
    EXPECT_EQ(modelo.flags(modelo.index(0, TModeloPEPs::kColClave)) & Qt::ItemIsEditable, 0);

    modelo.CambiaPEP(modelo.index(1, TModeloPEPs::kColPEP));
    EXPECT_TRUE(tabla.Fila(1).bEsPEP) << "row 1 of the grid is C2, the table's second";
    EXPECT_EQ(modelo.index(1, TModeloPEPs::kColPEP).data(Qt::CheckStateRole), Qt::Checked);
    EXPECT_EQ(modelo.index(0, TModeloPEPs::kColPEP).data(Qt::CheckStateRole), Qt::Unchecked);
}

// The keyboard never gets trapped in the list: Tab walks its cells and leaves
// past the last one, Shift+Tab before the first, Ctrl+Tab at once; Enter goes
// on as from the fields; arrows move between rows.
TEST_F(PrincipalTest, ElTecladoEntraYSaleDeLaLista) {
    Abre();
    CreaNorvex();
    Credenciales("ADMIN", "NORVEX");
    datos->norvex->candidatos = {"ANA PEREZ", "BETO LUNA"};
    ventana->bnDetectaPEPsClick();
    auto* grdPEPs = Control<QTableView>("grdPEPs");
    QAbstractItemModel* modelo = grdPEPs->model();
    const int nUltimaFila = modelo->rowCount() - 1, nUltimaCol = modelo->columnCount() - 1;
    struct TCaso {
        int nFila, nCol;
        Qt::Key eTecla;
        Qt::KeyboardModifiers modificadores;
        const char* sFoco;      // who has the focus afterwards
        int nFilaFin, nColFin;  // the grid's cell, when it keeps the focus
    };
    const TCaso casos[] = {
        {0, 0, Qt::Key_Tab, Qt::NoModifier, "grdPEPs", 0, 1},
        {0, 1, Qt::Key_Backtab, Qt::ShiftModifier, "grdPEPs", 0, 0},
        {0, nUltimaCol, Qt::Key_Tab, Qt::NoModifier, "grdPEPs", 1, 0},
        {nUltimaFila, nUltimaCol, Qt::Key_Tab, Qt::NoModifier, "bnGenReporte", -1, -1},
        {0, 0, Qt::Key_Backtab, Qt::ShiftModifier, "bnDetectaPEPs", -1, -1},
        {0, 0, Qt::Key_Tab, Qt::ControlModifier, "bnGenReporte", -1, -1},
        {nUltimaFila, 1, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, "bnDetectaPEPs",
         -1, -1},
        {0, 1, Qt::Key_Return, Qt::NoModifier, "bnGenReporte", -1, -1},
        {0, 1, Qt::Key_Enter, Qt::ShiftModifier, "bnDetectaPEPs", -1, -1},
        {0, 0, Qt::Key_Down, Qt::NoModifier, "grdPEPs", 1, 0},
        {1, 1, Qt::Key_Up, Qt::NoModifier, "grdPEPs", 0, 1},
    };
    for (const TCaso& c : casos) {
        grdPEPs->setFocus();
        grdPEPs->setCurrentIndex(modelo->index(c.nFila, c.nCol));
        QTest::keyClick(grdPEPs, c.eTecla, c.modificadores);
        const std::string sCaso = std::to_string(c.nFila) + "," + std::to_string(c.nCol) + " " +
                                  QKeySequence(c.eTecla | c.modificadores).toString().toStdString();
        EXPECT_EQ(NombreFoco(), c.sFoco) << sCaso;
        if (c.nFilaFin >= 0) {
            EXPECT_EQ(grdPEPs->currentIndex(), modelo->index(c.nFilaFin, c.nColFin)) << sCaso;
        }
    }
    EXPECT_EQ(datos->norvex->ticksLeidos.size(), 0u) << "Enter in the list starts no job";
}

TEST_F(PrincipalTest, DeteccionSinCandidatosMuestraElAviso) {
    Abre();
    CreaNorvex();
    Credenciales("ADMIN", "NORVEX");
    Control("bnDetectaPEPs")->setFocus();
    ventana->bnDetectaPEPsClick();
    EXPECT_EQ(NombreFoco(), "bnDetectaPEPs") << "the job does not push the focus into a field";
    EXPECT_FALSE(Control<QLineEdit>("edCambio")->hasSelectedText());
    EXPECT_TRUE(Control("pnIgnorar")->isVisible());
    EXPECT_EQ(Control<QLabel>("txPaso4")->palette().color(QPalette::WindowText),
              QColor(0x80, 0x80, 0x80));
    EXPECT_FALSE(Control("grdPEPs")->isEnabled());
    EXPECT_TRUE(Control("bnGenReporte")->isEnabled());

    // The next press hides the notice before its job; a failed detection
    // leaves "Generar reporte" as it was and says nothing.
    datos->norvex->bDetecta = false;
    ventana->bnDetectaPEPsClick();
    EXPECT_TRUE(Control("pnIgnorar")->isHidden());
    EXPECT_EQ(Control<QLabel>("txPaso4")->palette().color(QPalette::WindowText),
              QColor(0x00, 0x80, 0x80));
    EXPECT_TRUE(Control("bnGenReporte")->isEnabled());

    datos->norvex->bGenera = false;
    ventana->bnGenReporteClick();
    EXPECT_EQ(Control<QLabel>("txMensajes")->text(), kSinReporte);
    EXPECT_EQ(Control<QLabel>("txMensajes")->palette().color(QPalette::WindowText),
              QColor(0xFF, 0, 0));
}

// The real registry, connection and question set on a generated Norvex folder.
TEST_F(PrincipalTest, PuertaYDeteccionSobreUnaCarpetaNorvex) {
    norvex::TGeneradorNorvex::Genera(dir.ruta(), {.nLineas = 300, .nSemilla = 3});
    TdmMain dm;
    auto colector = std::make_shared<TColectorConxs>();
    VentanaReal(dm, colector);

    Credenciales("ADMIN", "MALA");
    ventana->bnDetectaPEPsClick();
    EXPECT_EQ(bitacora.Textos(), (std::vector<std::string>{std::string("estado:") + kConectando,
                                                           std::string("caja:") + kMalCaja,
                                                           std::string("estado:") + kMalEstado}));

    bitacora = {};
    Credenciales("ADMIN", "NORVEX");
    ventana->bnDetectaPEPsClick();
    EXPECT_EQ(bitacora.Textos(), std::vector<std::string>{std::string("estado:") + kConectando});
    EXPECT_EQ(Control<QLabel>("txMensajes")->text(), "La detección de PEPs ha finalizado.");
    EXPECT_TRUE(Control("bnGenReporte")->isEnabled());
    EXPECT_EQ(Control<QTableView>("grdPEPs")->model()->rowCount(), int(dm.vtPEPs.Cuenta()));
    EXPECT_FALSE(dm.vtPEPs.EstaVacia()) << "the sample folder has PEP alerts in 2017";
    EXPECT_TRUE(Control("grdPEPs")->isEnabled());
    EXPECT_TRUE(colector->Conectado("BDPrincipal"));
    ventana.reset();  // before the data module whose table it shows
}

// With branches added, each candidate names the branches whose alerts list
// it, as the batch program's list does; without them the grid is as before.
TEST_F(PrincipalTest, LaListaDePEPsNombraLasSucursalesSoloSiLasHay) {
    norvex::TGeneradorNorvex::Genera(dir.ruta(), {.nLineas = 300, .nSemilla = 3});
    const std::filesystem::path otra = dir / "otra";
    norvex::TGeneradorNorvex::Genera(otra, {.nLineas = 300, .nSemilla = 5});
    TdmMain dm;
    VentanaReal(dm);
    Credenciales("ADMIN", "NORVEX");
    auto* grdPEPs = Control<QTableView>("grdPEPs");
    QAbstractItemModel* modelo = grdPEPs->model();

    ventana->PonSucursales({otra});
    ventana->bnDetectaPEPsClick();
    ASSERT_GT(modelo->rowCount(), 0);
    ASSERT_EQ(modelo->columnCount(), 4);
    EXPECT_EQ(modelo->headerData(3, Qt::Horizontal).toString(), "Sucursales");
    // The name makes room so that the branches show without scrolling.
    EXPECT_LE(grdPEPs->columnWidth(0) + grdPEPs->columnWidth(1) + grdPEPs->columnWidth(2) +
                  grdPEPs->columnWidth(3),
              grdPEPs->viewport()->width());
    EXPECT_EQ(modelo->index(0, 3).data(Qt::ToolTipRole), modelo->index(0, 3).data());
    const TEjecucion e =
        EjecutaPrograma(KOVA_BINARY_DIR "/bin/cuestionario-kova",
                        {"--carpeta", dir.ruta().string(), "--carpeta", otra.string(), "--usuario",
                         "ADMIN", "--contrasena", "NORVEX", "--listar-peps"});
    ASSERT_EQ(e.nSalida, 0) << e.sErrores;
    const auto lista = LeeCsv(e.sSalida);
    ASSERT_EQ(lista.size(), size_t(modelo->rowCount()) + 1);
    ASSERT_EQ(lista[0].back(), "Sucursales");
    std::map<std::string, std::string> porClave;
    for (size_t i = 1; i < lista.size(); ++i) porClave[lista[i][1]] = lista[i].back();
    std::set<std::string> vistas;
    for (int i = 0; i < modelo->rowCount(); ++i) {
        const std::string sClave = modelo->index(i, 2).data().toString().toStdString();
        const std::string s = modelo->index(i, 3).data().toString().toStdString();
        EXPECT_EQ(s, porClave.at(sClave)) << sClave;
        vistas.insert(s);
    }
    // Some candidates only the branch's alerts name, others both branches',
    // by their names (two folders both called "MATRIZ" are told apart).
    const auto nombres = TUnionSucursales::NombresSucursales({dir.ruta(), otra});
    EXPECT_EQ(nombres[1], "MATRIZ (" + otra.string() + ")");
    EXPECT_TRUE(vistas.count(nombres[1])) << ::testing::PrintToString(vistas);
    EXPECT_TRUE(vistas.count(nombres[0] + "; " + nombres[1])) << ::testing::PrintToString(vistas);

    ventana->PonSucursales({});
    ventana->bnDetectaPEPsClick();
    ASSERT_GT(modelo->rowCount(), 0);
    EXPECT_EQ(modelo->columnCount(), 3);
    EXPECT_EQ(modelo->headerData(1, Qt::Horizontal).toString(), "Nombre del Usuario");
    EXPECT_EQ(grdPEPs->columnWidth(1), 311);
    ventana.reset();  // before the data module whose table it shows
}

// Changing the branches drops the list detected over the old set: the report
// waits for a new detection, and the status line says why.
TEST_F(PrincipalTest, CambiarLasSucursalesPideDetectarDeNuevo) {
    Abre();
    CreaNorvex();
    Credenciales("ADMIN", "NORVEX");
    const std::filesystem::path otra = dir / "otra";
    std::filesystem::create_directories(otra / "DataBase");
    std::ofstream(otra / "DataBase/Norvex.mdb") << "mdb";
    datos->norvex->candidatos = {"ANA PEREZ", "BETO LUNA"};
    ventana->bnDetectaPEPsClick();
    ASSERT_EQ(vtPEPs.Cuenta(), 2u);
    vtPEPs.MarcaPEP(0, true);

    ventana->PonSucursales({});  // the same set: nothing changes
    EXPECT_EQ(vtPEPs.Cuenta(), 2u);
    EXPECT_TRUE(vtPEPs.Fila(0).bEsPEP);

    ventana->PonSucursales({otra});
    EXPECT_TRUE(vtPEPs.EstaVacia());
    EXPECT_EQ(Control<QTableView>("grdPEPs")->model()->rowCount(), 0);
    EXPECT_FALSE(Control("grdPEPs")->isEnabled());
    EXPECT_FALSE(Control("bnGenReporte")->isEnabled());
    EXPECT_EQ(Control<QLabel>("txMensajes")->text(),
              "Cambiaron las sucursales: presione «Detectar PEPs» para buscar de nuevo los "
              "posibles PEPs de todas.");
    EXPECT_EQ(Control<QLabel>("txSucursales")->text(), "Con 1 sucursal: otra");
}

// The branches are kept per head office and company, shown under the
// buttons by name and reached by keyboard; a branch whose Norvex is gone is
// dropped with a word.
TEST_F(PrincipalTest, LasSucursalesSeConservanPorEmpresa) {
    CreaNorvex();
    const std::filesystem::path otra = dir / "otra", tercera = dir / "tercera";
    for (const auto& c : {otra, tercera}) {
        std::filesystem::create_directories(c / "DataBase");
        std::ofstream(c / "DataBase/Norvex.mdb") << "mdb";
    }
    std::ofstream(otra / "Norvex.INI") << "[Control]\r\nEmpresaActiva=1\r\nSucursal=CENTRO\r\n";
    Abre();
    EXPECT_TRUE(ventana->DameSucursales().empty());
    EXPECT_EQ(Control<QLabel>("txSucursales")->text(), "");
    ventana->PonSucursales({otra, tercera});
    EXPECT_EQ(Control<QLabel>("txSucursales")->text(), "Con 2 sucursales: CENTRO; tercera");

    NuevaVentana();  // the next start, same folder and company
    EXPECT_EQ(ventana->DameSucursales(), (std::vector<std::filesystem::path>{otra, tercera}));
    EXPECT_EQ(Control<QLabel>("txSucursales")->text(), "Con 2 sucursales: CENTRO; tercera");
    // Tab from "Generar reporte" reaches the branches' button.
    auto* bnGenReporte = Control<QPushButton>("bnGenReporte");
    bnGenReporte->setEnabled(true);
    bnGenReporte->setFocus();
    QTest::keyClick(bnGenReporte, Qt::Key_Tab);
    EXPECT_EQ(NombreFoco(), "bnSucursales");

    std::filesystem::remove_all(tercera);
    NuevaVentana();
    EXPECT_EQ(ventana->DameSucursales(), std::vector<std::filesystem::path>{otra});
    EXPECT_EQ(Control<QLabel>("txMensajes")->text().toStdString(),
              "Ya no se encontró el Norvex de la sucursal " + tercera.string() +
                  "; se quitó de la lista.");

    CreaNorvex("[Control]\nEmpresaActiva=4\n");  // another company of the same folder
    NuevaVentana();
    EXPECT_TRUE(ventana->DameSucursales().empty());
}

// The window's whole workflow on the demo folder gives the batch program's
// 195 answers for the same ticks, and neither leaves a byte changed or a file
// added below the Norvex folder.
TEST_F(PrincipalTest, FlujoCompletoIgualAlProgramaPorLotes) {
    norvex::TGeneradorNorvex::Genera(dir.ruta(), {});  // what the demo folder holds
    const auto antes = Foto(dir.ruta());
    TdmMain dm;
    VentanaReal(dm);

    Credenciales("ADMIN", "NORVEX");
    ventana->bnDetectaPEPsClick();
    auto* grdPEPs = Control<QTableView>("grdPEPs");
    QAbstractItemModel* modelo = grdPEPs->model();
    ASSERT_GE(modelo->rowCount(), 2);
    std::vector<std::string> args{"--carpeta", dir.ruta().string(), "--usuario",
                                  "ADMIN",     "--contrasena",      "NORVEX"};
    for (int nFila : {0, modelo->rowCount() - 1}) {
        // A click on the tick, as the user gives it.
        grdPEPs->scrollTo(modelo->index(nFila, 0));
        QTest::mouseClick(grdPEPs->viewport(), Qt::LeftButton, {},
                          grdPEPs->visualRect(modelo->index(nFila, 0)).center());
        EXPECT_EQ(modelo->index(nFila, 0).data(Qt::CheckStateRole), Qt::Checked) << nFila;
        args.insert(args.end(), {"--pep", modelo->index(nFila, 2).data().toString().toStdString()});
    }

    // The preview comes up at the end of the job; it is closed once it is there.
    int nVistas = 0;
    QTimer cierra;
    QObject::connect(&cierra, &QTimer::timeout, [&] {
        if (auto* vista = qobject_cast<rpt::TVistaPrevia*>(QApplication::activeModalWidget())) {
            ++nVistas;
            vista->reject();
        }
    });
    cierra.start(20);
    ventana->bnGenReporteClick();
    cierra.stop();
    EXPECT_EQ(nVistas, 1);
    EXPECT_EQ(Control<QLabel>("txMensajes")->text(), "El reporte se generó correctamente.");
    std::map<int, std::string> enVentana;
    for (int n = 1; n <= 195; ++n) {
        const auto sTexto = dm.repGeneral.Variables().DameTexto(QString("preg_%1").arg(n));
        ASSERT_TRUE(sTexto) << n;
        enVentana[n] = sTexto->toStdString();
    }
    ventana.reset();  // before the data module whose table it shows

    TDirTemporal salida;
    args.insert(args.end(), {"--respuestas", (salida / "r.csv").string()});
    const TEjecucion e = EjecutaPrograma(KOVA_BINARY_DIR "/bin/cuestionario-kova", args);
    ASSERT_EQ(e.nSalida, 0) << e.sErrores;
    const auto enLotes = PorPregunta(Lee(salida / "r.csv"), "respuesta");
    ASSERT_EQ(enLotes.size(), enVentana.size());
    for (const auto& [n, sRespuesta] : enVentana)
        EXPECT_EQ(enLotes.at(n), sRespuesta) << "pregunta " << n;
    EXPECT_EQ(Foto(dir.ruta()), antes);
}

}  // namespace
