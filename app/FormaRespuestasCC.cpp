#include "app/FormaRespuestasCC.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QVBoxLayout>

#include "platform/ui/AjustesPrograma.h"
#include "platform/ui/ColorExito.h"
#include "questionnaire/ValidaRespuestaCC.h"
#include "report/EspacioRespuestas.h"

namespace {

const char* const kTitulo = "Respuestas del CC";

QString PistaDe(const TPreguntaCC& p) {
    switch (p.tipo) {
        case trMonto:
            return QStringLiteral("Cantidad en %1, sin centavos").arg(p.sMoneda);
        case trFecha:
            return QStringLiteral("dd/mm/aaaa");
        case trConteo:
            return QStringLiteral("Número entero");
        default:
            return {};
    }
}

}  // namespace

TFormaRespuestasCC::TFormaRespuestasCC(const TRespuestasCC& respuestas, TGuarda guarda,
                                       QWidget* padre)
    : QDialog(padre), F_Guarda(std::move(guarda)), F_Guardadas(respuestas) {
    setWindowTitle(QString::fromLatin1(kTitulo));
    setModal(true);

    auto* contenido = new QWidget;
    auto* preguntas = new QVBoxLayout(contenido);
    auto* nota = new QLabel(QStringLiteral(
        "Las preguntas que no se pueden contestar con la base de datos del Norvex. "
        "Las respuestas se guardan para esta empresa y aparecen en el reporte; "
        "una pregunta sin respuesta conserva el aviso «(** El CC debe responder **)»."));
    nota->setWordWrap(true);
    preguntas->addWidget(nota);
    for (const TPreguntaCC& p : F_Guardadas.DamePreguntas()->preguntas) {
        auto* texto = new QLabel(
            QStringLiteral("<b>%1</b>&nbsp;&nbsp;%2").arg(p.nNumero).arg(p.sTexto.toHtmlEscaped()));
        texto->setWordWrap(true);
        QWidget* editor = CreaEditor(p);
        editor->setObjectName(QStringLiteral("preg_%1").arg(p.nNumero));
        texto->setBuddy(editor);
        auto* aviso = new QLabel;
        aviso->setWordWrap(true);
        aviso->setStyleSheet(QStringLiteral("color: #b00000;"));
        aviso->hide();
        preguntas->addSpacing(6);
        preguntas->addWidget(texto);
        preguntas->addWidget(editor);
        preguntas->addWidget(aviso);
        QLabel* espacio = nullptr;
        if (p.tipo == trTexto) {
            espacio = new QLabel;
            espacio->setObjectName(QStringLiteral("espacio_%1").arg(p.nNumero));
            QPalette paleta = espacio->palette();
            paleta.setColor(QPalette::WindowText, QColor(0x60, 0x60, 0x60));
            espacio->setPalette(paleta);
            espacio->hide();
            preguntas->addWidget(espacio);
        }
        F_Campos[p.nNumero] = {&p, editor, aviso, espacio};
    }
    preguntas->addStretch(1);

    F_Desplazable = new QScrollArea;
    F_Desplazable->setWidgetResizable(true);
    F_Desplazable->setWidget(contenido);

    auto* botones = new QDialogButtonBox;
    QPushButton* guardar =
        botones->addButton(QStringLiteral("Guardar"), QDialogButtonBox::AcceptRole);
    QPushButton* exportar =
        botones->addButton(QStringLiteral("Exportar…"), QDialogButtonBox::ActionRole);
    QPushButton* importar =
        botones->addButton(QStringLiteral("Importar…"), QDialogButtonBox::ActionRole);
    importar->setToolTip(
        QStringLiteral("Sustituye solo las respuestas que trae el archivo; las demás preguntas "
                       "conservan lo que tienen."));
    QPushButton* cerrar =
        botones->addButton(QStringLiteral("Cerrar"), QDialogButtonBox::RejectRole);
    guardar->setObjectName("btnGuardar");
    exportar->setObjectName("btnExportar");
    importar->setObjectName("btnImportar");
    cerrar->setObjectName("btnCerrar");
    // "Guardar" keeps the form open: the user may go on, and the preview
    // behind it shows the answers at once.
    connect(guardar, &QPushButton::clicked, this, [this] { Guarda(); });
    connect(exportar, &QPushButton::clicked, this, [this] {
        const QString s = PideArchivoExportar();
        if (!s.isEmpty())
            Exporta(s);
    });
    connect(importar, &QPushButton::clicked, this, [this] {
        const QString s = PideArchivoImportar();
        if (!s.isEmpty())
            Importa(s);
    });
    connect(cerrar, &QPushButton::clicked, this, &TFormaRespuestasCC::reject);

    // What the last button did, in the window's green: news, not a warning.
    F_Estado = new QLabel;
    F_Estado->setObjectName("txEstado");
    F_Estado->setWordWrap(true);
    QPalette paleta = F_Estado->palette();
    paleta.setColor(QPalette::WindowText, ui::ColorExito());
    F_Estado->setPalette(paleta);

    auto* todo = new QVBoxLayout(this);
    todo->addWidget(F_Desplazable, 1);
    todo->addWidget(F_Estado);
    todo->addWidget(botones);
    resize(760, 640);
    Muestra(F_Guardadas);
}

QWidget* TFormaRespuestasCC::CreaEditor(const TPreguntaCC& p) {
    const int n = p.nNumero;
    if (p.tipo == trSiNo || p.tipo == trOpcion) {
        auto* combo = new QComboBox;
        combo->addItem(QString());  // not answered
        combo->addItems(p.tipo == trSiNo ? QStringList{"SI", "NO"} : p.opciones);
        connect(combo, &QComboBox::currentTextChanged, this, [this, n] { Revisa(n); });
        return combo;
    }
    if (p.tipo == trTexto) {
        auto* texto = new QPlainTextEdit;
        texto->setTabChangesFocus(true);
        texto->setFixedHeight(texto->fontMetrics().lineSpacing() * 3 + 12);
        connect(texto, &QPlainTextEdit::textChanged, this, [this, n] { Revisa(n); });
        return texto;
    }
    auto* linea = new QLineEdit;
    linea->setPlaceholderText(PistaDe(p));
    connect(linea, &QLineEdit::textChanged, this, [this, n] { Revisa(n); });
    return linea;
}

QWidget* TFormaRespuestasCC::DameCampo(int nPregunta) const {
    auto it = F_Campos.find(nPregunta);
    return it == F_Campos.end() ? nullptr : it->second.editor;
}

QString TFormaRespuestasCC::DameTexto(int nPregunta) const {
    QWidget* e = DameCampo(nPregunta);
    if (auto* linea = qobject_cast<QLineEdit*>(e))
        return linea->text();
    if (auto* combo = qobject_cast<QComboBox*>(e))
        return combo->currentText();
    if (auto* texto = qobject_cast<QPlainTextEdit*>(e))
        return texto->toPlainText();
    return {};
}

void TFormaRespuestasCC::PonTexto(int nPregunta, const QString& sTexto) {
    QWidget* e = DameCampo(nPregunta);
    if (auto* linea = qobject_cast<QLineEdit*>(e))
        linea->setText(sTexto);
    else if (auto* combo = qobject_cast<QComboBox*>(e)) {
        // A value that is none of the items stays visible, so its message
        // can say why.
        if (combo->findText(sTexto) < 0)
            combo->addItem(sTexto);
        combo->setCurrentText(sTexto);
    } else if (auto* texto = qobject_cast<QPlainTextEdit*>(e))
        texto->setPlainText(sTexto);
    Revisa(nPregunta);
}

void TFormaRespuestasCC::MuestraPregunta(int nPregunta) {
    QWidget* e = DameCampo(nPregunta);
    if (!e)
        return;
    // Once laid out, or the scroll area would not know where the field is.
    QMetaObject::invokeMethod(
        this,
        [this, e] {
            F_Desplazable->ensureWidgetVisible(e, 20, 120);
            e->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}

QString TFormaRespuestasCC::DameAviso(int nPregunta) const {
    auto it = F_Campos.find(nPregunta);
    return it == F_Campos.end() || it->second.aviso->isHidden() ? QString()
                                                                : it->second.aviso->text();
}

void TFormaRespuestasCC::Revisa(int nPregunta) {
    const TCampo& c = F_Campos.at(nPregunta);
    const TRespuestaValidada r = ValidaRespuestaCC(*c.pregunta, DameTexto(nPregunta));
    QString sQueda;
    const QString sFalta = r.bValida ? FaltaEspacio(nPregunta, r.sValor, &sQueda) : QString();
    c.aviso->setText(r.bValida ? sFalta : r.sMensaje);
    c.aviso->setVisible(!r.bValida || !sFalta.isEmpty());
    if (c.espacio) {
        c.espacio->setText(sQueda);
        c.espacio->setVisible(!sQueda.isEmpty());
    }
}

QString TFormaRespuestasCC::FaltaEspacio(int nPregunta, const QString& sValor,
                                         QString* sQueda) const {
    if (!F_Espacio)
        return {};
    const auto m = F_Espacio->Mide(QStringLiteral("preg_%1").arg(nPregunta), sValor);
    if (!m)
        return {};
    if (m->Cabe()) {
        if (sQueda)
            *sQueda = QStringLiteral("Espacio en el reporte: quedan unos %1 caracteres.")
                          .arg(std::max(0, m->nCaracteresLibres));
        return {};
    }
    return QStringLiteral(
               "Pregunta %1: la respuesta no cabe en su lugar del reporte; sobran unos %2 "
               "caracteres. Acórtela: el reporte no se imprime en letra más chica que la que "
               "se lee bien.")
        .arg(nPregunta)
        .arg(std::max(1, -m->nCaracteresLibres));
}

void TFormaRespuestasCC::PonEspacio(std::shared_ptr<const TEspacioRespuestas> espacio) {
    F_Espacio = std::move(espacio);
    for (const auto& [n, c] : F_Campos) Revisa(n);
}

QString TFormaRespuestasCC::DameEspacio(int nPregunta) const {
    auto it = F_Campos.find(nPregunta);
    return it == F_Campos.end() || !it->second.espacio || it->second.espacio->isHidden()
               ? QString()
               : it->second.espacio->text();
}

bool TFormaRespuestasCC::HayCambios() const {
    for (const auto& [n, c] : F_Campos) {
        const TRespuestaValidada r = ValidaRespuestaCC(*c.pregunta, DameTexto(n));
        if (!r.bValida || r.sValor != F_Guardadas.Dame(n))
            return true;
    }
    return false;
}

std::optional<TRespuestasCC> TFormaRespuestasCC::DameRespuestas() {
    TRespuestasCC r(F_Guardadas.DamePreguntas());
    for (const auto& [n, c] : F_Campos) {
        QString sMotivo = r.Asigna(n, DameTexto(n));
        if (sMotivo.isEmpty())
            sMotivo = FaltaEspacio(n, r.Dame(n));
        if (!sMotivo.isEmpty()) {
            F_Desplazable->ensureWidgetVisible(c.aviso);
            c.editor->setFocus();
            Avisa(QStringLiteral("Corrija la respuesta marcada en rojo.\n\n") + sMotivo);
            return std::nullopt;
        }
    }
    return r;
}

void TFormaRespuestasCC::Muestra(const TRespuestasCC& r) {
    for (const auto& [n, c] : F_Campos) PonTexto(n, r.Dame(n));
}

bool TFormaRespuestasCC::Guarda() {
    const auto r = DameRespuestas();
    if (!r)
        return false;
    QString sError;
    if (!F_Guarda(*r, sError)) {
        Avisa(sError);
        return false;
    }
    F_Guardadas = *r;
    Muestra(F_Guardadas);  // the answers as they were kept and are printed
    F_Estado->setText(QStringLiteral("Se guardaron las respuestas; el reporte ya las muestra."));
    return true;
}

bool TFormaRespuestasCC::Exporta(const QString& sRuta) {
    const auto r = DameRespuestas();
    if (!r)
        return false;
    QSaveFile archivo(sRuta);
    const QByteArray datos = r->ExportaCsv();
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(datos) != datos.size() ||
        !archivo.commit()) {
        Avisa(QStringLiteral("No fue posible exportar las respuestas a %1: %2")
                  .arg(QDir::toNativeSeparators(sRuta), archivo.errorString()));
        return false;
    }
    const auto n = r->DameTodas().size();
    F_Estado->setText(QStringLiteral("Se exportaron %1 %2 a %3.")
                          .arg(n)
                          .arg(n == 1 ? QStringLiteral("respuesta") : QStringLiteral("respuestas"))
                          .arg(QDir::toNativeSeparators(sRuta)));
    Informa(F_Estado->text());
    return true;
}

bool TFormaRespuestasCC::Importa(const QString& sRuta) {
    QFile archivo(sRuta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        Avisa(QStringLiteral("No fue posible leer %1: %2")
                  .arg(QDir::toNativeSeparators(sRuta), archivo.errorString()));
        return false;
    }
    QString sError;
    const auto r =
        TRespuestasCC::ImportaCsv(archivo.readAll(), sError, F_Guardadas.DamePreguntas());
    if (!r) {
        Avisa(QStringLiteral("No se importó ninguna respuesta de %1.\n\n%2")
                  .arg(QDir::toNativeSeparators(sRuta), sError));
        return false;
    }
    // The file replaces the answers it brings and no other. A field typed
    // and not saved that it would replace with something else is asked about
    // first; nothing is kept until "Guardar".
    QStringList perdidas;
    for (const auto& [n, sValor] : r->DameTodas()) {
        const TRespuestaValidada v = ValidaRespuestaCC(*F_Campos.at(n).pregunta, DameTexto(n));
        const bool bSinGuardar = !v.bValida || v.sValor != F_Guardadas.Dame(n);
        if (bSinGuardar && (!v.bValida || v.sValor != sValor))
            perdidas << QString::number(n);
    }
    if (!perdidas.isEmpty() &&
        !Confirma(QStringLiteral("Las respuestas escritas y sin guardar de %1 %2 se reemplazarán "
                                 "con las del archivo. ¿Desea importarlo de todos modos?")
                      .arg(perdidas.size() == 1 ? QStringLiteral("la pregunta")
                                                : QStringLiteral("las preguntas"),
                           perdidas.join(QStringLiteral(", ")))))
        return false;
    for (const auto& [n, sValor] : r->DameTodas()) PonTexto(n, sValor);
    const auto nTraidas = r->DameTodas().size();
    F_Estado->setText(
        nTraidas == 0
            ? QStringLiteral("El archivo %1 no trae ninguna respuesta; la forma no cambió.")
                  .arg(QDir::toNativeSeparators(sRuta))
            : QStringLiteral("Se importaron %1 %2 de %3; las demás preguntas conservan su "
                             "respuesta. Presione «Guardar» para conservarlas.")
                  .arg(nTraidas)
                  .arg(nTraidas == 1 ? QStringLiteral("respuesta") : QStringLiteral("respuestas"))
                  .arg(QDir::toNativeSeparators(sRuta)));
    Informa(F_Estado->text());
    return true;
}

QString TFormaRespuestasCC::DameEstado() const {
    return F_Estado->text();
}

void TFormaRespuestasCC::reject() {
    if (HayCambios()) {
        switch (PreguntaAlCerrar()) {
            case dcGuardar:
                if (!Guarda())
                    return;
                break;
            case dcDescartar:
                break;
            case dcCancelar:
                return;
        }
    }
    QDialog::reject();
}

TFormaRespuestasCC::TDecision TFormaRespuestasCC::PreguntaAlCerrar() {
    const auto r = QMessageBox::question(
        this, QString::fromLatin1(kTitulo),
        QStringLiteral("Hay respuestas sin guardar. ¿Desea guardarlas antes de cerrar?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return r == QMessageBox::Save      ? dcGuardar
           : r == QMessageBox::Discard ? dcDescartar
                                       : dcCancelar;
}

QString TFormaRespuestasCC::PideArchivoExportar() {
    const QString s = QFileDialog::getSaveFileName(
        this, QStringLiteral("Exportar respuestas del CC"),
        ui::ArchivoEnCarpetaDialogos(QStringLiteral("respuestas-cc.csv")),
        QStringLiteral("CSV (*.csv)"));
    ui::RecuerdaCarpetaDialogos(s);
    return s;
}

QString TFormaRespuestasCC::PideArchivoImportar() {
    const QString s = QFileDialog::getOpenFileName(
        this, QStringLiteral("Importar respuestas del CC (sustituye solo las que trae el archivo)"),
        ui::CarpetaDialogos(), QStringLiteral("CSV (*.csv);;Todos los archivos (*)"));
    ui::RecuerdaCarpetaDialogos(s);
    return s;
}

void TFormaRespuestasCC::Avisa(const QString& sTexto) {
    QMessageBox::warning(this, QString::fromLatin1(kTitulo), sTexto);
}

bool TFormaRespuestasCC::Confirma(const QString& sTexto) {
    return QMessageBox::question(this, QString::fromLatin1(kTitulo), sTexto,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void TFormaRespuestasCC::Informa(const QString& sTexto) {
    QMessageBox::information(this, QString::fromLatin1(kTitulo), sTexto);
}
