#include "app/EdicionVentana.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/DatosVentana.h"
#include "app/EtiquetaCarpeta.h"
#include "app/Utilerias.h"
#include "platform/ui/ICajaMensajes.h"
#include "questionnaire/AlmacenRespuestasCC.h"
#include "questionnaire/EleccionEdicion.h"
#include "questionnaire/PreguntasCC.h"
#include "report/DataModule.h"

namespace {

// Under the title, above the first step's frame: no control of the window is
// there, and the edition is what every step answers about.
const QRect kLugar(62, 43, 566, 14);

QString Periodo(const TEdicion& e) {
    return QStringLiteral("operaciones del %1").arg(QString::fromStdString(e.DamePeriodo()));
}

}  // namespace

std::shared_ptr<TEdicionVentana> CreaEdicionVentana() {
    auto estado = std::make_shared<TEdicionVentana>();
    estado->edicion = EdicionPredeterminada();
    estado->almacen =
        std::make_shared<TAlmacenRespuestasCC>(QString(), PreguntasCCDe(*estado->edicion));
    return estado;
}

void CambiaEdicion(TEdicionVentana& estado, std::shared_ptr<const TEdicion> edicion, TdmMain& dm,
                   TDatosVentana& datos) {
    dm.CargaEdicion(*edicion);  // throws before anything changed
    datos.PonEdicion(edicion);
    estado.almacen = std::make_shared<TAlmacenRespuestasCC>(QString(), PreguntasCCDe(*edicion));
    estado.edicion = std::move(edicion);
}

TDialogoEdicion::TDialogoEdicion(const std::vector<TEdicionHallada>& halladas,
                                 const std::string& sClaveActual, QWidget* padre)
    : QDialog(padre) {
    setWindowTitle(QStringLiteral("Edición del cuestionario"));
    setModal(true);
    auto* capas = new QVBoxLayout(this);
    auto* nota = new QLabel(QStringLiteral(
        "Elija la edición del cuestionario que va a responder. Las preguntas, el periodo de las "
        "operaciones y el reporte son los de la edición."));
    nota->setWordWrap(true);
    capas->addWidget(nota);

    F_Lista = new QListWidget;
    F_Lista->setObjectName(QStringLiteral("lsEdiciones"));
    QString sRotas;
    for (const TEdicionHallada& h : halladas) {
        const auto& e = h.lectura.edicion;
        if (!e) {
            sRotas += QString::fromStdString(h.sCarpeta.string()) + u'\n';
            for (const TProblemaEdicion& p : h.lectura.problemas)
                sRotas += QStringLiteral("  ") + QString::fromStdString(p.Texto()) + u'\n';
            continue;
        }
        auto* item = new QListWidgetItem(QString::fromStdString(e->sNombre) +
                                         QStringLiteral(" — ") + Periodo(*e));
        item->setToolTip(QString::fromStdString(h.sCarpeta.string()));
        F_Lista->addItem(item);
        F_Ediciones.push_back(e);
        if (e->sClave == sClaveActual)
            F_Lista->setCurrentItem(item);
    }
    if (!F_Lista->currentItem() && F_Lista->count() > 0)
        F_Lista->setCurrentRow(0);
    capas->addWidget(F_Lista);
    // Enter or a double click on an edition chooses it.
    connect(F_Lista, &QListWidget::itemActivated, this, &QDialog::accept);

    if (!sRotas.isEmpty()) {
        auto* aviso = new QLabel(QStringLiteral(
            "Estas carpetas tienen ediciones que no pasan la revisión y no se ofrecen:"));
        aviso->setWordWrap(true);
        capas->addWidget(aviso);
        auto* detalle = new QPlainTextEdit(sRotas.trimmed());
        detalle->setObjectName(QStringLiteral("txEdicionesRotas"));
        detalle->setReadOnly(true);
        detalle->setLineWrapMode(QPlainTextEdit::NoWrap);
        capas->addWidget(detalle);
    }

    auto* botones = new QDialogButtonBox;
    QPushButton* usar =
        botones->addButton(QStringLiteral("Usar esta edición"), QDialogButtonBox::AcceptRole);
    usar->setDefault(true);
    usar->setEnabled(F_Lista->count() > 0);
    botones->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    capas->addWidget(botones);
    resize(560, sRotas.isEmpty() ? 260 : 420);
    F_Lista->setFocus();
}

std::shared_ptr<const TEdicion> TDialogoEdicion::Elegida() const {
    const int n = F_Lista->currentRow();
    if (result() != QDialog::Accepted || n < 0 || n >= static_cast<int>(F_Ediciones.size()))
        return nullptr;
    return F_Ediciones[static_cast<std::size_t>(n)];
}

TEtiquetaEdicion::TEtiquetaEdicion(QWidget* ventana, std::function<bool()> bOcupada,
                                   std::function<void(std::shared_ptr<const TEdicion>)> alCambiar)
    : QLabel(ventana), F_bOcupada(std::move(bOcupada)), F_AlCambiar(std::move(alCambiar)) {
    setObjectName("lkEdicion");
    PreparaLineaPie(*this, kLugar);
    setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    setTextFormat(Qt::RichText);
    // The line is reached with Tab like any control and Enter or Space
    // follow its link (keyPressEvent); the mouse clicks the link itself.
    // While it has the focus it shows so.
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    setFocusPolicy(Qt::StrongFocus);
    setStyleSheet(QStringLiteral("QLabel:focus { background: #d8ecec; }"));
    setToolTip(QStringLiteral("Elegir la edición del cuestionario que se responde"));
    connect(this, &QLabel::linkActivated, this, [this] { Elige(); });
}

void TEtiquetaEdicion::Muestra(const TEdicion& edicion) {
    F_sClave = edicion.sClave;
    const QString sEnlace = QStringLiteral("  <a href=\"#\">Cambiar...</a>");
    const QString sPeriodo = QStringLiteral(", ") + Periodo(edicion) + u'.';
    // A long name gives way; the period and the link always show.
    const int nAncho = kLugar.width() -
                       fontMetrics().horizontalAdvance(QStringLiteral("Edición: ") + sPeriodo +
                                                       QStringLiteral("  Cambiar...")) -
                       8;
    const QString sNombre = fontMetrics().elidedText(QString::fromStdString(edicion.sNombre),
                                                     Qt::ElideRight, std::max(nAncho, 40));
    setText(QStringLiteral("Edición: <b>%1</b>%2%3")
                .arg(sNombre.toHtmlEscaped(), sPeriodo.toHtmlEscaped(), sEnlace));
}

void TEtiquetaEdicion::keyPressEvent(QKeyEvent* evento) {
    switch (evento->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            Elige();
            return;
        default:
            QLabel::keyPressEvent(evento);
    }
}

void TEtiquetaEdicion::Elige() {
    if (F_bOcupada && F_bOcupada())
        return;
    // Another user's editions are checked whole before they are offered;
    // it takes a moment per edition.
    TUtilerias::CursorEspera();
    const std::vector<TEdicionHallada> halladas = EdicionesConocidas();
    TUtilerias::CursorNormal();
    TDialogoEdicion dialogo(halladas, F_sClave, window());
    if (dialogo.exec() != QDialog::Accepted)
        return;
    const auto elegida = dialogo.Elegida();
    if (!elegida || elegida->sClave == F_sClave)
        return;
    try {
        F_AlCambiar(elegida);
    } catch (const std::exception& e) {
        ui::DameCajaMensajes()->MuestraMensaje(e.what());
        return;
    }
    Muestra(*elegida);
}
