#include "platform/report/TVistaPrevia.h"

#include <QMouseEvent>

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QSvgRenderer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <map>

#include "platform/report/ImpresionReporte.h"
#include "platform/report/TDialogoPDF.h"
#include "platform/report/TExportadorPDF.h"
#include "platform/report/TLienzoPaginas.h"
#include "platform/ui/AjustesPrograma.h"
#include "platform/ui/ICajaMensajes.h"

// The resources of a static library are registered by name, outside any
// namespace.
static void RegistraIconosVista() {
    Q_INIT_RESOURCE(IconosVista);
}

namespace rpt {

namespace {
constexpr double kZoomMinimo = 0.25, kZoomMaximo = 4.0, kPasoZoom = 1.25;
constexpr int kAnchoMiniatura = 120;
}  // namespace

QIcon DameIconoVista(const QString& sAccion) {
    static const bool bRegistrados = (RegistraIconosVista(), true);
    (void)bRegistrados;
    const QString sRuta = QStringLiteral(":/vista/%1.svg").arg(sAccion);
    if (!QFile::exists(sRuta))
        return {};
    QSvgRenderer dibujo(sRuta);
    if (!dibujo.isValid())
        return {};
    QIcon icono;
    // Sharp at the toolbar's usual sizes and on high-density screens.
    for (int nLado : {16, 22, 24, 32, 48}) {
        QPixmap imagen(nLado, nLado);
        imagen.fill(Qt::transparent);
        QPainter pintor(&imagen);
        dibujo.render(&pintor);
        pintor.end();
        icono.addPixmap(imagen);
    }
    return icono;
}

TVistaPrevia::TVistaPrevia(TReporte& reporte, QWidget* padre) : QDialog(padre), F_Reporte(reporte) {
    if (F_Reporte.DameNumPaginas() == 0)
        F_Reporte.Prepara();
    setWindowTitle(QStringLiteral("Vista previa - ") + F_Reporte.DameNombreDocumento());
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setModal(true);

    // The system's default printer, the job named after the document.
    F_Impresora = std::make_unique<QPrinter>(QPrinter::HighResolution);
    F_Impresora->setDocName(F_Reporte.DameNombreDocumento());
    if (F_Reporte.DameNumPaginas() > 0)
        F_Impresora->setPageSize(QPageSize(F_Reporte.DamePagina(0).tamanoPt, QPageSize::Point));

    F_Lienzo = new TLienzoPaginas(F_Reporte);
    F_Desplazable = new QScrollArea;
    F_Desplazable->setWidget(F_Lienzo);
    F_Lienzo->installEventFilter(this);
    F_Lienzo->setMouseTracking(static_cast<bool>(F_Reporte.DameAlPulsarVariable()));
    F_Desplazable->setAlignment(Qt::AlignHCenter);
    F_Desplazable->setBackgroundRole(QPalette::Dark);
    connect(F_Desplazable->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &TVistaPrevia::PaginaPorDesplazamiento);

    F_Esquema = new QTreeWidget;
    F_Esquema->setHeaderHidden(true);
    auto* raiz = new QTreeWidgetItem(F_Esquema, {F_Reporte.DameNombreDocumento()});
    for (int n = 0; n < F_Reporte.DameNumPaginas(); ++n) {
        auto* item = new QTreeWidgetItem(raiz, {QStringLiteral("Página %1").arg(n + 1)});
        item->setData(0, Qt::UserRole, n);
    }
    raiz->setExpanded(true);
    connect(F_Esquema, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        QVariant v = item->data(0, Qt::UserRole);
        if (v.isValid())
            IrAPagina(v.toInt());
    });

    F_Miniaturas = new QListWidget;
    F_Miniaturas->setViewMode(QListView::IconMode);
    F_Miniaturas->setFlow(QListView::TopToBottom);
    F_Miniaturas->setMovement(QListView::Static);
    F_Miniaturas->setWrapping(false);  // one column of pages
    F_Miniaturas->setIconSize(QSize(kAnchoMiniatura, kAnchoMiniatura * 11 / 8));
    connect(F_Miniaturas, &QListWidget::currentRowChanged, this, [this](int n) {
        if (n >= 0)
            IrAPagina(n);
    });

    F_Lateral = new QWidget;
    auto* lateral = new QVBoxLayout(F_Lateral);
    lateral->setContentsMargins(0, 0, 0, 0);
    lateral->addWidget(F_Esquema);
    lateral->addWidget(F_Miniaturas);
    F_Esquema->hide();
    F_Miniaturas->hide();
    F_Lateral->hide();

    F_Divisor = new QSplitter;
    auto* divisor = F_Divisor;
    divisor->addWidget(F_Lateral);
    divisor->addWidget(F_Desplazable);
    divisor->setStretchFactor(1, 1);

    F_Estado = new QLabel;
    CreaBarra();
    // Find again without a button of its own.
    auto* buscaOtra = new QShortcut(QKeySequence::FindNext, this);
    connect(buscaOtra, &QShortcut::activated, this, [this] {
        if (!F_sBuscado.isEmpty())
            Busca(F_sBuscado);
    });
    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(0, 0, 0, 0);
    todo->setSpacing(0);
    todo->addWidget(F_Barra);
    todo->addWidget(divisor, 1);
    todo->addWidget(F_Estado);
    ActualizaEstado();
}

TVistaPrevia::~TVistaPrevia() = default;

int TVistaPrevia::Muestra() {
    setWindowState(windowState() | Qt::WindowMaximized);
    return exec();
}

double TVistaPrevia::DameZoom() const {
    return F_Lienzo->DameZoom();
}

QAction* TVistaPrevia::Accion(const char* sNombre, const QString& sTexto,
                              QStyle::StandardPixmap icono, const QList<QKeySequence>& atajos) {
    // The preview's own drawing of the action (the desktop's theme may lack
    // one, and the style's fallbacks mean other things); the style's icon only
    // for an action without a drawing.
    QIcon imagen = DameIconoVista(QString::fromLatin1(sNombre));
    if (imagen.isNull())
        imagen = style()->standardIcon(icono);
    QAction* a = F_Barra->addAction(imagen, sTexto);
    a->setObjectName(QString::fromLatin1(sNombre));
    a->setShortcuts(atajos);
    return a;
}

void TVistaPrevia::HazBarraAccesible() {
    // Every button of the toolbar, those added by the program's own
    // actions included, takes the focus with Tab and acts on Space, and
    // its tooltip names its key.
    for (QAction* a : F_Barra->actions()) {
        if (a->isSeparator())
            continue;
        if (QWidget* boton = F_Barra->widgetForAction(a))
            boton->setFocusPolicy(Qt::TabFocus);
        const QString sTecla = a->shortcut().toString(QKeySequence::NativeText);
        if (!sTecla.isEmpty() && !a->toolTip().contains(sTecla))
            a->setToolTip(QStringLiteral("%1 (%2)").arg(a->toolTip(), sTecla));
    }
}

void TVistaPrevia::showEvent(QShowEvent* evento) {
    HazBarraAccesible();
    QDialog::showEvent(evento);
    // The keys move the pages from the start; Tab leads to the toolbar.
    F_Desplazable->setFocus(Qt::OtherFocusReason);
}

void TVistaPrevia::CreaBarra() {
    F_Barra = new QToolBar;
    F_Barra->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const auto ctrl = [](int nTecla) { return QKeySequence(Qt::CTRL | nTecla); };
    connect(Accion("acImprimir", QStringLiteral("Imprimir"), QStyle::SP_DialogSaveButton,
                   {QKeySequence::Print}),
            &QAction::triggered, this, &TVistaPrevia::Imprime);
    connect(Accion("acBuscar", QStringLiteral("Buscar"), QStyle::SP_FileDialogContentsView,
                   {QKeySequence::Find}),
            &QAction::triggered, this, &TVistaPrevia::PideBusqueda);
    F_Barra->addSeparator();
    // Ctrl+= too: on most keyboards "+" needs Shift.
    connect(Accion("acAcercar", QStringLiteral("Acercar"), QStyle::SP_ArrowUp,
                   {QKeySequence::ZoomIn, ctrl(Qt::Key_Equal)}),
            &QAction::triggered, this, [this] { CambiaZoom(kPasoZoom); });
    connect(
        Accion("acAlejar", QStringLiteral("Alejar"), QStyle::SP_ArrowDown, {QKeySequence::ZoomOut}),
        &QAction::triggered, this, [this] { CambiaZoom(1 / kPasoZoom); });
    connect(Accion("acPantallaCompleta", QStringLiteral("Pantalla completa"),
                   QStyle::SP_TitleBarMaxButton, {QKeySequence(Qt::Key_F11)}),
            &QAction::triggered, this, &TVistaPrevia::AlternaPantallaCompleta);
    F_Barra->addSeparator();
    F_acEsquema = Accion("acEsquema", QStringLiteral("Esquema"), QStyle::SP_FileDialogListView,
                         {QKeySequence(Qt::Key_F7)});
    F_acEsquema->setCheckable(true);
    connect(F_acEsquema, &QAction::toggled, this, [this](bool b) { MuestraPanel(F_Esquema, b); });
    F_acMiniaturas = Accion("acMiniaturas", QStringLiteral("Miniaturas"),
                            QStyle::SP_FileDialogDetailedView, {QKeySequence(Qt::Key_F8)});
    F_acMiniaturas->setCheckable(true);
    connect(F_acMiniaturas, &QAction::toggled, this,
            [this](bool b) { MuestraPanel(F_Miniaturas, b); });
    F_Barra->addSeparator();
    connect(Accion("acPrimera", QStringLiteral("Primera página"), QStyle::SP_MediaSkipBackward,
                   {ctrl(Qt::Key_Home)}),
            &QAction::triggered, this, [this] { IrAPagina(0); });
    connect(Accion("acAnterior", QStringLiteral("Página anterior"), QStyle::SP_MediaSeekBackward,
                   {QKeySequence(Qt::Key_PageUp)}),
            &QAction::triggered, this, [this] { IrAPagina(F_nPagina - 1); });
    connect(Accion("acSiguiente", QStringLiteral("Página siguiente"), QStyle::SP_MediaSeekForward,
                   {QKeySequence(Qt::Key_PageDown)}),
            &QAction::triggered, this, [this] { IrAPagina(F_nPagina + 1); });
    connect(Accion("acUltima", QStringLiteral("Última página"), QStyle::SP_MediaSkipForward,
                   {ctrl(Qt::Key_End)}),
            &QAction::triggered, this, [this] { IrAPagina(F_Reporte.DameNumPaginas() - 1); });
    F_Barra->addSeparator();
    connect(
        Accion("acPDF", QStringLiteral("Exportar a PDF"), QStyle::SP_FileIcon, {ctrl(Qt::Key_E)}),
        &QAction::triggered, this, &TVistaPrevia::ExportaPDF);
    F_Barra->addSeparator();
    // Escape closes the dialog as any dialog, without a shortcut of its own.
    auto* cerrar = Accion("acCerrar", QStringLiteral("Cerrar"), QStyle::SP_DialogCloseButton);
    cerrar->setToolTip(QStringLiteral("Cerrar (Esc)"));
    connect(cerrar, &QAction::triggered, this, &QDialog::reject);
}

void TVistaPrevia::Reprepara() {
    F_Reporte.LimpiaPaginas();
    F_Reporte.Prepara();
    F_Hallazgo = {};
    F_Lienzo->SetResaltado({});
    F_Lienzo->update();
    F_Miniaturas->clear();
    if (F_Miniaturas->isVisible())
        LlenaMiniaturas();
    IrAPagina(F_nPagina);
}

void TVistaPrevia::IrAPagina(int n) {
    if (F_Reporte.DameNumPaginas() == 0)
        return;
    n = std::clamp(n, 0, F_Reporte.DameNumPaginas() - 1);
    F_Desplazable->verticalScrollBar()->setValue(F_Lienzo->DameRectPagina(n).top() - 8);
    F_nPagina = n;  // also when the scroll bar could not move (last pages)
    ActualizaEstado();
}

void TVistaPrevia::PaginaPorDesplazamiento() {
    int nY = F_Desplazable->verticalScrollBar()->value();
    F_nPagina = F_Lienzo->DamePaginaEn(nY + 8);
    ActualizaEstado();
}

void TVistaPrevia::ActualizaEstado() {
    F_Estado->setText(QStringLiteral("  Página %1 de %2    Zoom %3 %")
                          .arg(F_nPagina + 1)
                          .arg(F_Reporte.DameNumPaginas())
                          .arg(qRound(DameZoom() * 100)));
}

void TVistaPrevia::CambiaZoom(double dFactor) {
    const int nPagina = F_nPagina;
    F_Lienzo->SetZoom(std::clamp(DameZoom() * dFactor, kZoomMinimo, kZoomMaximo));
    IrAPagina(nPagina);
}

void TVistaPrevia::AlternaPantallaCompleta() {
    setWindowState(windowState() ^ Qt::WindowFullScreen);
}

void TVistaPrevia::MuestraPanel(QWidget* panel, bool bVisible) {
    if (panel == F_Miniaturas && bVisible)
        LlenaMiniaturas();
    panel->setVisible(bVisible);
    const bool bLateral = F_acEsquema->isChecked() || F_acMiniaturas->isChecked();
    if (bLateral && !F_Lateral->isVisible()) {
        // A splitter keeps a hidden pane at width 0; give it room again.
        const int nAncho = kAnchoMiniatura + 60;
        F_Divisor->setSizes({nAncho, std::max(nAncho, F_Divisor->width() - nAncho)});
    }
    F_Lateral->setVisible(bLateral);
}

void TVistaPrevia::LlenaMiniaturas() {
    if (F_Miniaturas->count() > 0)
        return;
    for (int n = 0; n < F_Reporte.DameNumPaginas(); ++n) {
        const QSizeF tamano = F_Reporte.DamePagina(n).tamanoPt;
        const double f = kAnchoMiniatura / tamano.width();
        QImage imagen((tamano * f).toSize(), QImage::Format_RGB32);
        imagen.fill(Qt::white);
        QPainter pintor(&imagen);
        pintor.setRenderHint(QPainter::Antialiasing);
        pintor.scale(f, f);
        F_Reporte.DibujaPagina(pintor, n);
        pintor.end();
        F_Miniaturas->addItem(
            new QListWidgetItem(QPixmap::fromImage(imagen), QString::number(n + 1)));
    }
}

bool TVistaPrevia::Busca(const QString& sTexto) {
    if (sTexto != F_sBuscado)
        F_Hallazgo = {};
    F_sBuscado = sTexto;
    TCoincidencia c = F_Reporte.Busca(sTexto, F_Hallazgo);
    if (!c.EsValida() && F_Hallazgo.EsValida())
        c = F_Reporte.Busca(sTexto);  // wrap around
    F_Hallazgo = c;
    F_Lienzo->SetResaltado(c);
    if (!c.EsValida()) {
        F_Estado->setText(QStringLiteral("  No se encontró «%1».").arg(sTexto));
        return false;
    }
    QRectF r = F_Reporte.DameRectCoincidencia(c);
    QPoint p = F_Lienzo->DamePuntoEnPagina(c.nPagina, r.topLeft());
    F_Desplazable->ensureVisible(p.x(), p.y(), 50, F_Desplazable->viewport()->height() / 3);
    F_nPagina = c.nPagina;
    ActualizaEstado();
    return true;
}

void TVistaPrevia::PideBusqueda() {
    bool bOk = false;
    QString s =
        QInputDialog::getText(this, QStringLiteral("Buscar"), QStringLiteral("Texto a buscar:"),
                              QLineEdit::Normal, F_sBuscado, &bOk);
    if (bOk && !s.isEmpty())
        Busca(s);
}

void TVistaPrevia::Imprime() {
    QPrintDialog dialogo(F_Impresora.get(), this);
    dialogo.setMinMax(1, F_Reporte.DameNumPaginas());
    if (dialogo.exec() != QDialog::Accepted)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool bOk = ImprimeReporte(F_Reporte, *F_Impresora);
    QApplication::restoreOverrideCursor();
    if (!bOk)
        QMessageBox::warning(this, windowTitle(), F_Reporte.DameError());
}

void TVistaPrevia::ExportaPDF() {
    TDialogoPDF dialogo(F_Reporte.DameOpcionesPDF(), ui::CarpetaDialogos(), this);
    if (dialogo.exec() != QDialog::Accepted || dialogo.DameArchivo().isEmpty())
        return;
    const TOpcionesPDF opciones = dialogo.DameOpciones();

    std::unique_ptr<QProgressDialog> progreso;
    if (opciones.bMostrarProgreso) {
        progreso = std::make_unique<QProgressDialog>(QStringLiteral("Exportando a PDF..."),
                                                     QStringLiteral("Cancelar"), 0,
                                                     F_Reporte.DameNumPaginas(), this);
        progreso->setWindowModality(Qt::WindowModal);
        progreso->setMinimumDuration(0);
    }
    QString sError;
    bool bOk = rpt::ExportaPDF(
        F_Reporte, dialogo.DameArchivo(), opciones,
        [&](int nHechas, int) {
            if (!progreso)
                return true;
            progreso->setValue(nHechas);
            return !progreso->wasCanceled();
        },
        &sError);
    progreso.reset();
    if (!bOk) {
        QMessageBox::warning(this, windowTitle(), sError);
        return;
    }
    ui::RecuerdaCarpetaDialogos(dialogo.DameArchivo());
    ui::DameCajaMensajes()->MuestraMensaje(QStringLiteral("Se exportó el reporte a %1.")
                                               .arg(QDir::toNativeSeparators(dialogo.DameArchivo()))
                                               .toStdString());
}

QString TVistaPrevia::VariableEn(const QPoint& punto) const {
    if (F_Reporte.DameNumPaginas() == 0)
        return {};
    const int n = F_Lienzo->DamePaginaEn(punto.y());
    const QRect rect = F_Lienzo->DameRectPagina(n);
    if (n < 0 || rect.width() <= 0)
        return {};
    const double dPorPunto = rect.width() / F_Reporte.DamePagina(n).tamanoPt.width();
    return F_Reporte.DameVariableEn(n, QPointF(punto - rect.topLeft()) / dPorPunto);
}

QString TVistaPrevia::VariableBajoElPuntero() const {
    const QPoint punto = F_Lienzo->mapFromGlobal(QCursor::pos());
    if (!F_Lienzo->rect().contains(punto) ||
        !F_Desplazable->viewport()->rect().contains(
            F_Desplazable->viewport()->mapFromGlobal(QCursor::pos())))
        return {};
    return VariableEn(punto);
}

bool TVistaPrevia::eventFilter(QObject* objeto, QEvent* evento) {
    const auto& alPulsar = F_Reporte.DameAlPulsarVariable();
    if (objeto != F_Lienzo || !alPulsar)
        return QDialog::eventFilter(objeto, evento);
    if (evento->type() == QEvent::MouseMove) {
        // The hand says which values open something.
        const auto* raton = static_cast<QMouseEvent*>(evento);
        F_Lienzo->setCursor(F_Reporte.AbreVariable(VariableEn(raton->position().toPoint()))
                                ? Qt::PointingHandCursor
                                : Qt::ArrowCursor);
    } else if (evento->type() == QEvent::MouseButtonRelease) {
        const auto* raton = static_cast<QMouseEvent*>(evento);
        const QString sVariable = VariableEn(raton->position().toPoint());
        if (raton->button() == Qt::LeftButton && F_Reporte.AbreVariable(sVariable)) {
            alPulsar(sVariable, this);
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

}  // namespace rpt
