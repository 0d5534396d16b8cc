#include "app/Principal.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStringList>
#include <QUrl>
#include <QValidator>
#include <exception>

#include "app/Arranque.h"
#include "app/DatosVentana.h"
#include "app/DialogoSucursales.h"
#include "app/Mensajero.h"
#include "app/ModeloPEPs.h"
#include "app/RejillaPEPs.h"
#include "app/TipoCambio.h"
#include "app/UnionSucursales.h"
#include "app/Utilerias.h"
#include "app/ValidadorCambio.h"
#include "platform/ado/TADOConnection.h"
#include "platform/ui/AjustesPrograma.h"
#include "platform/ui/ICajaMensajes.h"
#include "report/TablaPEPs.h"

namespace {

const QColor kTeal(0x00, 0x80, 0x80);
const QColor kMarron(0x80, 0x00, 0x00);
const QColor kGrisOscuro(0x48, 0x48, 0x48);
const QColor kGris(0x80, 0x80, 0x80);
const QColor kPlata(0xC0, 0xC0, 0xC0);

// The four step frames: left, top, width, height.
const QRect kMarcos[] = {
    {71, 65, 546, 99}, {71, 179, 545, 111}, {71, 303, 545, 93}, {71, 409, 546, 243}};

// Letters typed or pasted into the credential fields turn upper case.
class TMayusculas : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& sTexto, int&) const override {
        sTexto = sTexto.toUpper();
        return Acceptable;
    }
};

// The password field shows each character as "*", not the style's dot.
class TEstiloAsteriscos : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* opcion, const QWidget* widget,
                  QStyleHintReturn* retorno) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, opcion, widget, retorno);
    }
};

// A focused button shows a dotted frame inside its border, as on the
// platform the window was designed for, where Enter then presses it; the
// style's own hint of focus is too faint to tell which button Enter presses.
class TEstiloFocoBoton : public QProxyStyle {
public:
    void drawControl(ControlElement elemento, const QStyleOption* opcion, QPainter* pintor,
                     const QWidget* widget) const override {
        QProxyStyle::drawControl(elemento, opcion, pintor, widget);
        if (elemento != CE_PushButton || !(opcion->state & State_HasFocus))
            return;
        pintor->save();
        pintor->setPen(QPen(opcion->palette.color(QPalette::ButtonText), 1, Qt::DotLine));
        pintor->setBrush(Qt::NoBrush);
        pintor->drawRect(opcion->rect.adjusted(4, 4, -5, -5));
        pintor->restore();
    }
};

// Trims blanks and control characters at both ends.
QString Recorta(const QString& s) {
    qsizetype i = 0, j = s.size();
    while (i < j && s[i].unicode() <= u' ') ++i;
    while (j > i && s[j - 1].unicode() <= u' ') --j;
    return s.mid(i, j - i);
}

QLabel* CreaEtiqueta(QWidget* padre, const char* sNombre, const QString& sTexto, QPoint pos,
                     const QColor& color, int nPx, bool bNegrita = false) {
    auto* etiqueta = new QLabel(sTexto, padre);
    etiqueta->setObjectName(sNombre);
    QFont fuente = padre->font();
    fuente.setPixelSize(nPx);
    fuente.setBold(bNegrita);
    etiqueta->setFont(fuente);
    QPalette paleta = etiqueta->palette();
    paleta.setColor(QPalette::WindowText, color);
    etiqueta->setPalette(paleta);
    etiqueta->move(pos);
    etiqueta->adjustSize();
    return etiqueta;
}

// A right-aligned caption stays at its designed place unless a substitute
// font makes it wider; then it grows to the left, never into its field.
void AlineaDerecha(QLabel* etiqueta, const QWidget* campo) {
    etiqueta->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int nLimite = campo->x() - 4;
    if (etiqueta->geometry().right() > nLimite)
        etiqueta->move(nLimite - etiqueta->width() + 1, etiqueta->y());
}

QLineEdit* CreaCampo(QWidget* padre, const char* sNombre, QRect lugar, const QString& sAyuda) {
    auto* campo = new QLineEdit(padre);
    campo->setObjectName(sNombre);
    campo->setGeometry(lugar);
    campo->setToolTip(sAyuda);
    return campo;
}

QPushButton* CreaBoton(QWidget* padre, const char* sNombre, const QString& sTexto, QRect lugar) {
    auto* boton = new QPushButton(sTexto, padre);
    boton->setObjectName(sNombre);
    boton->setGeometry(lugar);
    // Enter presses the focused button: the last link of the Enter chain that
    // leads from the rate field to "Detectar PEPs".
    boton->setAutoDefault(true);
    auto* estilo = new TEstiloFocoBoton;
    estilo->setParent(boton);
    boton->setStyle(estilo);
    return boton;
}

}  // namespace

const QString& TfrmPrincipal::TextoIndicaciones() {
    static const QString sTexto =
        QStringList{
            "Para responder correctamente el cuestionario, es muy importante que por favor siga "
            "estas "
            "indicaciones:",
            "1.- Haga un respaldo de seguridad de la Base de Datos del Norvex.",
            "2.- Asigne el Símbolo a todas las divisas (Catálogo de \"Divisas para Compra/Venta\"; "
            "en "
            "Norvex: Menú principal -> Archivo -> Opción 4 ). Las Divisas sin Símbolo podrían ser "
            "ignoradas y causar resultados erróneos.",
            "3.- Asigne las Claves de la Actividad a  todos los Sectores (Catálogo de "
            "\"Ocupaciones, "
            "Profesiones, Actividades o Giros del Negocio\"; en Norvex:  Menú principal -> "
            "Usuarios "
            "-> Opción 2). Cerciórese que la clave corresponda correctamente con el Sector, de lo "
            "contrario podría causar resultados erróneos.",
            "4.- Cierre el programa Norvex. ",
            "5.- Instale y ejecute este programa en la carpeta raíz del Norvex (Generalmente en "
            "C:\\Norvex Software\\). ",
            "6.- Si tiene varias computadoras con Norvex en el mismo establecimiento, instale este "
            "programa en la computadora principal (Servidor).",
            "7.- Si tiene varias sucursales, utilice este programa para generar un reporte por "
            "sucursal. Posteriormente analice la información para condensarla manualmente en un "
            "solo "
            "reporte.",
            "8.- El cuestionario tiene preguntas que NO son posibles de contestar por medio de la "
            "Base "
            "de Datos del Norvex, por lo que deberá contestarlas a criterio y de acuerdo a la "
            "operatividad de su Centro Cambiario. Estas preguntas traen la respuesta: (** El CC "
            "debe "
            "responder **).",
            "Nota 1: Considere los datos que están entre paréntesis para analizar y condensar la "
            "información en caso de tener varias sucursales. No debe escribir estos datos en el "
            "cuestionario, son sólo datos informativos para su análisis.",
            "Nota 2: En caso de no utilizar el sistema Norvex de forma automática para la "
            "detección de "
            "PEPs, los resultados podrían no ser correctos. Deberá realizar los cálculos "
            "correspondientes en cada respuesta donde intervengan PEPs conforme a los dictámenes "
            "que "
            "hubiera realizado.",
            "¿Ha seguido las indicaciones y desea continuar?",
        }
            .join("\r\r\n");
    return sTexto;
}

TfrmPrincipal::TfrmPrincipal(std::shared_ptr<IDatosVentana> Datos, TTablaPEPs& vtPEPs,
                             std::shared_ptr<IUtilerias> Utilerias, QWidget* parent)
    : QWidget(parent),
      F_Datos(std::move(Datos)),
      F_vtPEPs(vtPEPs),
      F_Utilerias(std::move(Utilerias)) {
    FormCreate();
}

TfrmPrincipal::~TfrmPrincipal() = default;

void TfrmPrincipal::FormCreate() {
    if (!F_Utilerias)
        F_Utilerias = std::make_shared<TUtilerias>();
    _MensajeroForm = std::make_shared<TMensajero>(F_Utilerias);
    CreaControles();
    _MensajeroForm->SettxLabel(txMensajes);
    InicializaPaso4();
    txPruebas->hide();
    CargaSucursales();
    MuestraSucursales();
}

void TfrmPrincipal::CreaControles() {
    setWindowTitle("Cuestionario KOVA 2018");
    setWindowIcon(IconoPrograma());
    setFixedSize(690, 730);
    setAutoFillBackground(true);
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, Qt::white);
    paleta.setColor(QPalette::WindowText, Qt::black);
    setPalette(paleta);
    QFont fuente = font();
    fuente.setPixelSize(11);
    setFont(fuente);

    Label1 = CreaEtiqueta(this, "Label1", "Cuestionario de Operatividad KOVA - 2018", {182, 20},
                          kTeal, 16, true);

    Label6 = CreaEtiqueta(this, "Label6", "1.- Indique Tipo de Cambio promedio del 2017", {88, 74},
                          kTeal, 16);
    txCambio = CreaEtiqueta(this, "txCambio", "Tipo de Cambio*", {219, 113}, kGrisOscuro, 11);
    edCambio = CreaCampo(this, "edCambio", {320, 110, 121, 21}, "Tipo de Cambio a utilizar");
    edCambio->setText("18.91");
    edCambio->setValidator(new TValidadorCambio(edCambio));
    Label2 =
        CreaEtiqueta(this, "Label2", "*Tipo de cambio sugerido: 18.91", {470, 145}, kGrisOscuro, 9);

    Label4 = CreaEtiqueta(this, "Label4", "2.- Indique Clave y Contraseña del Norvex", {88, 190},
                          kTeal, 16);
    txUsuario =
        CreaEtiqueta(this, "txUsuario", "Clave de Entrada a Norvex", {153, 227}, kGrisOscuro, 11);
    edUsuario = CreaCampo(this, "edUsuario", {304, 224, 121, 21},
                          "Usuario administrador para acceder a Norvex");
    txPassw = CreaEtiqueta(this, "txPassw", "Password", {236, 254}, kGrisOscuro, 11);
    edPassw = CreaCampo(this, "edPassw", {304, 251, 121, 21},
                        "Contraseña del usuario administrador para acceder a Norvex");
    edPassw->setEchoMode(QLineEdit::Password);
    auto* estilo = new TEstiloAsteriscos;
    estilo->setParent(edPassw);
    edPassw->setStyle(estilo);
    for (QLineEdit* campo : {edUsuario, edPassw}) campo->setValidator(new TMayusculas(campo));
    AlineaDerecha(txCambio, edCambio);
    AlineaDerecha(txUsuario, edUsuario);
    AlineaDerecha(txPassw, edPassw);

    Label9 = CreaEtiqueta(this, "Label9", "3.- Presione el botón \"Detectar PEPs\"", {88, 315},
                          kTeal, 16);
    Label8 = CreaEtiqueta(this, "Label8",
                          "Se mostrará en el paso 4 de este programa, una lista de Usuarios que "
                          "realizaron operaciones con su CC durante 2017, y que fueron "
                          "considerados como posibles PEPs",
                          {95, 348}, kGrisOscuro, 9);
    Label8->setWordWrap(true);
    Label8->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label8->setGeometry(95, 348, 332, 33);
    bnDetectaPEPs = CreaBoton(this, "bnDetectaPEPs", "Detectar PEPs", {479, 335, 105, 25});
    bnDetectaPEPs->setToolTip("Cargará una lista de posibles PEPs en el paso 4");

    txPaso4 = CreaEtiqueta(this, "txPaso4",
                           "4.- De la siguiente lista, marque sólo los Usuarios que se "
                           "consideraron como PEPs",
                           {88, 420}, kTeal, 16);
    txPaso4->setWordWrap(true);
    txPaso4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txPaso4->setGeometry(88, 420, 503, 38);
    Label7 =
        CreaEtiqueta(this, "Label7", "Tip: NO marque los Usuarios que dictaminó como homónimos",
                     {95, 476}, kGrisOscuro, 9);

    grdPEPs = new TRejillaPEPs(this);
    dsPEPs = new TModeloPEPs(F_vtPEPs, this);
    grdPEPs->FijaModelo(dsPEPs);
    // The grid becomes usable with the first list that has rows; nothing
    // disables it again.
    connect(dsPEPs, &QAbstractItemModel::modelReset, this, [this] {
        if (dsPEPs->rowCount() > 0)
            grdPEPs->setEnabled(true);
    });
    grdPEPs->setObjectName("grdPEPs");
    grdPEPs->setGeometry(95, 491, 498, 122);
    grdPEPs->setToolTip("Haga click en el recuadro si el Usuario es un PEP");
    // A disabled grid keeps its white background, as the design shows it.
    QPalette paletaRejilla = grdPEPs->palette();
    paletaRejilla.setColor(QPalette::Disabled, QPalette::Base, Qt::white);
    grdPEPs->setPalette(paletaRejilla);

    pnIgnorar = new QFrame(this);
    pnIgnorar->setObjectName("pnIgnorar");
    pnIgnorar->setGeometry(88, 464, 511, 181);
    pnIgnorar->setAutoFillBackground(true);
    pnIgnorar->setFocusPolicy(Qt::NoFocus);
    Label11 = CreaEtiqueta(pnIgnorar, "Label11",
                           "No se detectaron operaciones con ningún PEP. Ignore este paso y "
                           "presione el botón \"Generar reporte\".",
                           {77, 63}, kTeal, 15);
    Label11->setWordWrap(true);
    Label11->setAlignment(Qt::AlignCenter);
    Label11->setGeometry(77, 63, 357, 36);

    pnChkBox = new QFrame(this);
    pnChkBox->setObjectName("pnChkBox");
    pnChkBox->resize(84, 16);
    DBCheckBox = new QCheckBox(pnChkBox);
    DBCheckBox->setObjectName("DBCheckBox");
    DBCheckBox->setGeometry(35, 0, 13, 17);
    DBCheckBox->setToolTip(grdPEPs->toolTip());

    txMensajes = CreaEtiqueta(this, "txMensajes", "Mensajes", {62, 658}, kGris, 12);
    txMensajes->setAlignment(Qt::AlignCenter);
    txMensajes->setGeometry(62, 658, 579, 14);
    bnGenReporte = CreaBoton(this, "bnGenReporte", "Generar reporte", {512, 678, 105, 25});
    txPruebas = CreaEtiqueta(this, "txPruebas", "Versión BETA", {62, 682}, kMarron, 12, true);
    Label5 = CreaEtiqueta(this, "Label5", "v1.9", {7, 709}, kGrisOscuro, 11);
    Label5->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Left of "Generar reporte", in the row the hidden test label keeps free;
    // the line beside it says which branches the jobs join.
    bnSucursales = CreaBoton(this, "bnSucursales", "Sucursales...", {71, 678, 105, 25});
    bnSucursales->setToolTip("Agregar las carpetas del Norvex de otras sucursales al reporte");
    connect(bnSucursales, &QPushButton::clicked, this, &TfrmPrincipal::AbreSucursales);
    txSucursales = CreaEtiqueta(this, "txSucursales", QString(), {184, 678}, kTeal, 11);
    txSucursales->setGeometry(184, 678, 318, 25);
    txSucursales->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const QList<QWidget*> orden{edCambio, edUsuario, edPassw,      bnDetectaPEPs, pnIgnorar,
                                grdPEPs,  pnChkBox,  bnGenReporte, bnSucursales};
    for (qsizetype i = 1; i < orden.size(); ++i) setTabOrder(orden[i - 1], orden[i]);
    for (QWidget* campo : std::initializer_list<QWidget*>{edCambio, edUsuario, edPassw, grdPEPs})
        campo->installEventFilter(this);

    connect(bnDetectaPEPs, &QPushButton::clicked, this, &TfrmPrincipal::bnDetectaPEPsClick);
    connect(bnGenReporte, &QPushButton::clicked, this, &TfrmPrincipal::bnGenReporteClick);

    if (QScreen* pantalla = QGuiApplication::primaryScreen())
        move(pantalla->availableGeometry().center() - rect().center());
}

void TfrmPrincipal::InicializaPaso4() {
    bnGenReporte->setEnabled(false);
    MuestraSinPEPs(false);
    grdPEPs->setEnabled(false);
    pnChkBox->hide();
    DBCheckBox->setText(QString());
}

void TfrmPrincipal::ReiniciaPaso4() {
    F_vtPEPs.Vacia();
    InicializaPaso4();
}

void TfrmPrincipal::MuestraSinPEPs(bool bMostrar) {
    pnIgnorar->setVisible(bMostrar);
    if (bMostrar)
        pnIgnorar->raise();
    QPalette paleta = txPaso4->palette();
    paleta.setColor(QPalette::WindowText, bMostrar ? kGris : kTeal);
    txPaso4->setPalette(paleta);
}

void TfrmPrincipal::paintEvent(QPaintEvent*) {
    QPainter pintor(this);
    pintor.setRenderHint(QPainter::Antialiasing);
    pintor.setPen(QPen(kPlata, 1));
    pintor.setBrush(Qt::NoBrush);
    for (const QRect& marco : kMarcos) {
        // The corner of a rounded rectangle spans a quarter of its shorter side.
        const qreal dRadio = std::min(marco.width(), marco.height()) / 8.0;
        pintor.drawRoundedRect(QRectF(marco).adjusted(0.5, 0.5, -0.5, -0.5), dRadio, dRadio);
    }
}

void TfrmPrincipal::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Queued, so the dialog comes up over a window already on screen.
    if (!F_bIndicacionesPedidas) {
        F_bIndicacionesPedidas = true;
        QMetaObject::invokeMethod(this, &TfrmPrincipal::MuestraIndicaciones, Qt::QueuedConnection);
    }
}

void TfrmPrincipal::MuestraIndicaciones() {
    if (ui::DameCajaMensajes()->PreguntaSiNo(TextoIndicaciones().toStdString()))
        edCambio->setFocus(Qt::OtherFocusReason);
    else
        close();
}

bool TfrmPrincipal::eventFilter(QObject* obj, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(obj, event);
    const auto* tecla = static_cast<QKeyEvent*>(event);
    const bool bEnter = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
    if (obj == grdPEPs) {
        // Enter goes on from the list as from the fields; every other key is
        // the grid's own.
        if (!bEnter || (tecla->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return false;
        QChar Key(13);
        AvanzaConEnter(grdPEPs, Key, tecla->modifiers() & Qt::ShiftModifier);
        return true;
    }
    // Only typed characters reach the filters, as on the platform the window
    // was designed for; shortcuts, editing and moving keys keep their usual
    // meaning. Pasted text is filtered by the rate field's validator.
    if (tecla->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    QChar Key;
    if (bEnter)
        Key = QChar(13);
    else if (tecla->key() == Qt::Key_Backspace)
        Key = QChar(8);
    else if (tecla->text().size() == 1 && tecla->text().front().isPrint())
        Key = tecla->text().front();
    else
        // Editing and moving keys: X11 gives Tab, Delete or Escape a control
        // character as text, which is no typed character and must keep its
        // usual meaning in the field.
        return false;
    auto* campo = static_cast<QWidget*>(obj);
    const QChar Tecleada = Key;
    if (campo == edCambio)
        FiltraTeclaNumerica(edCambio, Key);
    AvanzaConEnter(campo, Key, tecla->modifiers() & Qt::ShiftModifier);
    if (!Key.isNull() && Key != Tecleada && Key.isPrint()) {
        // The filter typed another character in its place (a comma becomes
        // the decimal point).
        static_cast<QLineEdit*>(campo)->insert(QString(Key));
        return true;
    }
    return Key.isNull();
}

void TfrmPrincipal::FiltraTeclaNumerica(QLineEdit* edCampo, QChar& Key) {
    // The rate is always written with a point; a comma, the decimal sign of
    // many Spanish keyboards and locales, is taken as the point.
    if (Key == u',')
        Key = u'.';
    if (Key == u'.') {
        // The point is judged at the end of the text, wherever the caret is.
        if (TextoATipoCambio(edCampo->text() + u'.') == 0)
            Key = QChar();
    }
    const bool bPasa =
        Key == QChar(8) || Key == QChar(13) || Key == u'.' || (Key >= u'0' && Key <= u'9');
    if (!bPasa)
        Key = QChar();
}

void TfrmPrincipal::AvanzaConEnter(QWidget* edCampo, QChar& Key, bool bMayusculas) {
    if (Key != QChar(13))
        return;
    Key = QChar();
    for (QWidget* w = edCampo;;) {
        w = bMayusculas ? w->previousInFocusChain() : w->nextInFocusChain();
        if (w == edCampo)
            return;
        if (isAncestorOf(w) && w->isEnabled() && w->isVisible() &&
            (w->focusPolicy() & Qt::TabFocus)) {
            // A move by keyboard, as Tab's: the style then draws the focus
            // frame, which Qt shows only after keyboard moves.
            setAttribute(Qt::WA_KeyboardFocusChange);
            w->setFocus(bMayusculas ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            return;
        }
    }
}

bool TfrmPrincipal::ValidaCampos() {
    // The user field is checked first although the rate is step 1.
    if (Recorta(edUsuario->text()).isEmpty()) {
        _MensajeroForm->CampoObligatorio(txUsuario, edUsuario);
        _MensajeroForm->MsjTxTemp("Por favor, escriba su usuario (Administrador).");
        return true;
    }
    const QString sCambio = Recorta(edCambio->text());
    if (sCambio.isEmpty()) {
        _MensajeroForm->CampoObligatorio(txCambio, edCambio);
        _MensajeroForm->MsjTxTemp("Por favor, escriba el tipo de cambio.");
        return true;
    }
    if (TextoATipoCambio(sCambio) <= 0) {
        _MensajeroForm->CampoObligatorio(txCambio, edCambio);
        _MensajeroForm->MsjTxTemp("El tipo de cambio debe ser diferente a cero.");
        return true;
    }
    return false;
}

// The gate's texts as each job shows them (see TVariantePuerta).
class TfrmPrincipal::TAvisosVentana : public IAvisosCompuerta {
public:
    TAvisosVentana(TfrmPrincipal& Ventana, TVariantePuerta eVariante)
        : F_Ventana(Ventana), F_eVariante(eVariante) {}

    void MuestraSinBD(const std::string& sTexto) override {
        ui::DameCajaMensajes()->MuestraMensaje(sTexto);
    }
    void MuestraCaja(const std::string& sTexto) override {
        // Detection hands the user a normal cursor for its boxes; the report
        // job keeps the wait cursor showing.
        if (F_eVariante == TVariantePuerta::vpDeteccion)
            TUtilerias::CursorNormal();
        ui::DameCajaMensajes()->MuestraMensaje(sTexto);
    }
    void MuestraEstado(const std::string& sTexto) override {
        F_Ventana._MensajeroForm->MsjTxEspera(sTexto, false);
    }
    void CredencialesRechazadas(const std::string& sCaja, const std::string& sEstado) override {
        TfrmPrincipal& v = F_Ventana;
        if (F_eVariante == TVariantePuerta::vpDeteccion) {
            v.edUsuario->setFocus(Qt::OtherFocusReason);
            MuestraCaja(sCaja);
            v._MensajeroForm->CampoObligatorio(v.txUsuario, v.edUsuario);
            v._MensajeroForm->MsjTxEspera(sEstado, true);
        } else {
            MuestraCaja(sCaja);
            v._MensajeroForm->MsjTxEspera(sEstado, true);
            v._MensajeroForm->CampoObligatorio(v.txPassw, v.edPassw);
        }
    }

private:
    TfrmPrincipal& F_Ventana;
    TVariantePuerta F_eVariante;
};

bool TfrmPrincipal::PasaPuerta(TVariantePuerta eVariante, TCompuertaAcceso::TPuerta& Puerta) {
    auto Avisos = std::make_shared<TAvisosVentana>(*this, eVariante);
    TCompuertaAcceso Compuerta(F_Utilerias->DameDirProg(), F_Datos, Avisos);
    // The rate has passed ValidaCampos; the credentials go as typed.
    return Compuerta.Pasa(edUsuario->text().toStdString(), edPassw->text().toStdString(),
                          TextoATipoCambio(Recorta(edCambio->text())), _MensajeroForm,
                          Puerta) == TCompuertaAcceso::ciAbierta &&
           UneSucursales(Avisos, Puerta);
}

bool TfrmPrincipal::UneSucursales(const std::shared_ptr<IAvisosCompuerta>& Avisos,
                                  const TCompuertaAcceso::TPuerta& Puerta) {
    auto Datos = std::dynamic_pointer_cast<TDatosVentana>(F_Datos);
    ado::TADOConnection* Conexion = Datos ? Datos->DameConexion() : nullptr;
    F_Union.reset();
    if (!Conexion)
        return F_Sucursales.empty();
    const TUnionSucursales::TPeticion Peticion{
        F_Sucursales, edUsuario->text().toStdString(), edPassw->text().toStdString(),
        TextoATipoCambio(Recorta(edCambio->text())), Puerta.nNumEmp};
    std::filesystem::path sRechazada;
    if (TUnionSucursales::Une(*Conexion, Peticion, _MensajeroForm, Avisos, sRechazada, F_Union) !=
        TCompuertaAcceso::ciAbierta) {
        ui::DameCajaMensajes()->MuestraMensaje("La sucursal de la carpeta " + sRechazada.string() +
                                               " no pasó la revisión de acceso.");
        return false;
    }
    if (F_AlUnir)
        F_AlUnir(TUnionSucursales::LineaTitulo(CarpetasUnidas()));
    return true;
}

std::vector<std::filesystem::path> TfrmPrincipal::CarpetasUnidas() const {
    std::vector<std::filesystem::path> carpetas{F_Utilerias->DameDirProg()};
    carpetas.insert(carpetas.end(), F_Sucursales.begin(), F_Sucursales.end());
    return carpetas;
}

void TfrmPrincipal::PonSucursales(std::vector<std::filesystem::path> sucursales) {
    if (sucursales == F_Sucursales)
        return;
    F_Sucursales = std::move(sucursales);
    QStringList carpetas;
    for (const auto& s : F_Sucursales) carpetas << QString::fromStdString(s.string());
    ui::AjustesPrograma().setValue(ClaveSucursales(), carpetas);
    ui::AjustesPrograma().sync();
    MuestraSucursales();
    F_Union.reset();
    // A list detected over the other set of branches would miss the
    // candidates of a branch added, or count those of one removed.
    if (!F_vtPEPs.EstaVacia() || bnGenReporte->isEnabled()) {
        F_vtPEPs.Vacia();
        dsPEPs->PonSucursales({});
        grdPEPs->setEnabled(false);
        MuestraSinPEPs(false);
        bnGenReporte->setEnabled(false);
        _MensajeroForm->MsjEnTx(
            "Cambiaron las sucursales: presione «Detectar PEPs» para buscar de nuevo los "
            "posibles PEPs de todas.");
    }
}

QString TfrmPrincipal::ClaveSucursales() const {
    namespace fs = std::filesystem;
    fs::path sMatriz = F_Utilerias->DameDirProg();
    if (!sMatriz.has_filename())
        sMatriz = sMatriz.parent_path();
    std::error_code ec;
    const fs::path sCanonica = fs::weakly_canonical(fs::absolute(sMatriz, ec), ec);
    int nNumEmp = 0;
    TCompuertaAcceso::DameEmpresaActiva(sMatriz, nNumEmp);
    // A key of its own per folder and company; the folder's separators
    // would otherwise read as groups of the settings.
    return QStringLiteral("sucursales/") +
           QString::fromLatin1(
               QUrl::toPercentEncoding(QString::fromStdString((ec ? sMatriz : sCanonica).string()) +
                                       u'|' + QString::number(nNumEmp)));
}

void TfrmPrincipal::CargaSucursales() {
    QStringList perdidas;
    for (const QString& s : ui::AjustesPrograma().value(ClaveSucursales()).toStringList()) {
        const std::filesystem::path sCarpeta = s.toStdString();
        if (TCompuertaAcceso::DameRutaBD(sCarpeta))
            F_Sucursales.push_back(sCarpeta);
        else
            perdidas << s;
    }
    if (!perdidas.isEmpty())
        _MensajeroForm->MsjEnTx(
            QStringLiteral("Ya no se encontró el Norvex de la sucursal %1; se quitó de la lista.")
                .arg(perdidas.join(QStringLiteral(", ")))
                .toStdString());
}

void TfrmPrincipal::MuestraSucursales() {
    if (F_Sucursales.empty()) {
        txSucursales->clear();
        txSucursales->setToolTip(QString());
        return;
    }
    QStringList nombres;
    const auto todos = TUnionSucursales::NombresSucursales(CarpetasUnidas());
    for (size_t i = 1; i < todos.size(); ++i) nombres << QString::fromStdString(todos[i]);
    const QString sTexto =
        QStringLiteral("Con %1 %2: %3")
            .arg(nombres.size())
            .arg(nombres.size() == 1 ? QStringLiteral("sucursal") : QStringLiteral("sucursales"))
            .arg(nombres.join(QStringLiteral("; ")));
    txSucursales->setText(
        txSucursales->fontMetrics().elidedText(sTexto, Qt::ElideRight, txSucursales->width()));
    txSucursales->setToolTip(sTexto);
}

void TfrmPrincipal::AbreSucursales() {
    if (F_bTrabajoEnCurso)
        return;
    TDialogoSucursales dialogo(F_Utilerias->DameDirProg(), F_Sucursales, this);
    dialogo.exec();
    PonSucursales(dialogo.Sucursales());
}

void TfrmPrincipal::EjecutaTrabajo(QPushButton* bnBoton, const std::function<void()>& Trabajo) {
    // Pauses process clicks, so a second job could start inside the first.
    if (F_bTrabajoEnCurso)
        return;
    F_bTrabajoEnCurso = true;
    // Disabling a focused button would hand the focus to the next field (the
    // rate, all of it selected, where a stray key replaces it). The window
    // holds the focus meanwhile and gives it back unless the job moved it.
    // The window's own focus widget, not the application's: while no window
    // is active (a desktop without window manager, a box just closed) keys
    // still reach it, and disabling the button would still move it on.
    const bool bTeniaFoco = focusWidget() == bnBoton;
    if (bTeniaFoco)
        setFocus(Qt::OtherFocusReason);
    std::string sError;
    try {
        F_Utilerias->ProcesayEspera(Trabajo, bnBoton);
    } catch (const std::exception& e) {
        sError = e.what();
        if (sError.empty())
            sError = "Error inesperado.";
    } catch (...) {
        sError = "Error inesperado.";
    }
    F_bTrabajoEnCurso = false;
    if (bTeniaFoco && focusWidget() == this)
        bnBoton->setFocus(Qt::OtherFocusReason);
    if (!sError.empty())
        ui::DameCajaMensajes()->MuestraMensaje(sError);
}

void TfrmPrincipal::bnDetectaPEPsClick() {
    if (F_bTrabajoEnCurso || ValidaCampos())
        return;
    MuestraSinPEPs(false);
    EjecutaTrabajo(bnDetectaPEPs, [this] { EjecutaDeteccion(); });
}

void TfrmPrincipal::bnGenReporteClick() {
    if (F_bTrabajoEnCurso || ValidaCampos())
        return;
    // A rate far from any the dollar has had is most likely mistyped; every
    // amount in other currencies would come out wrong with it.
    const double dTCambio = TextoATipoCambio(Recorta(edCambio->text()));
    if (!TipoCambioVerosimil(dTCambio) &&
        !ui::DameCajaMensajes()->PreguntaSiNo(
            AvisoTipoCambio(dTCambio) + "\n\n¿Desea generar el reporte con este tipo de cambio?")) {
        _MensajeroForm->CampoObligatorio(txCambio, edCambio);
        _MensajeroForm->MsjTxTemp("Revise el tipo de cambio.");
        return;
    }
    _MensajeroForm->MsjTxEspera("¡Advertencia!", false);
    if (!ui::DameCajaMensajes()->PreguntaSiNo(TextoIndicaciones().toStdString())) {
        _MensajeroForm->MsjTxEspera("Proceso cancelado.", false);
        return;
    }
    EjecutaTrabajo(bnGenReporte, [this] { EjecutaReporte(); });
}

void TfrmPrincipal::EjecutaDeteccion() {
    TCompuertaAcceso::TPuerta Puerta;
    if (PasaPuerta(TVariantePuerta::vpDeteccion, Puerta) &&
        Puerta.Cuestionario->DetectaPEPs(F_vtPEPs)) {
        // Over several branches, each candidate names the branches it comes
        // from; the union's rules learnt them as the alerts were read.
        TModeloPEPs::TSucursales Sucursales;
        if (F_Union) {
            Sucursales = [Union = F_Union, nombres = TUnionSucursales::NombresSucursales(
                                               CarpetasUnidas())](const TFilaPEP& f) {
                return TUnionSucursales::SucursalesDe(*Union, nombres, f.sClaveCliente);
            };
        }
        dsPEPs->PonSucursales(std::move(Sucursales));
        MuestraSinPEPs(F_vtPEPs.EstaVacia());
        if (!F_vtPEPs.EstaVacia())
            grdPEPs->setEnabled(true);
        bnGenReporte->setEnabled(true);
        _MensajeroForm->MsjExito("La detección de PEPs ha finalizado.", true);
    }
    TUtilerias::CursorNormal();
    // The question-set object goes with Puerta, at the end of the job.
}

void TfrmPrincipal::EjecutaReporte() {
    TCompuertaAcceso::TPuerta Puerta;
    const bool bGenerado = PasaPuerta(TVariantePuerta::vpReporte, Puerta) &&
                           Puerta.Cuestionario->GeneraReporte(F_vtPEPs);
    if (bGenerado)
        _MensajeroForm->MsjExito("El reporte se generó correctamente.", false);
    else
        _MensajeroForm->MsjEnTx("No fue posible generar el reporte. Llame a Soporte Técnico.");
}
