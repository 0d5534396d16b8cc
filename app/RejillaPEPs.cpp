#include "app/RejillaPEPs.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "app/ModeloPEPs.h"

namespace {

// Draws each cell as usual, the tick as a centred platform check box, and a
// line on the right edge of every cell (no row lines).
class TDelegadoPEPs : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* pintor, const QStyleOptionViewItem& opcion,
               const QModelIndex& index) const override {
        if (index.column() == TModeloPEPs::kColPEP) {
            QStyleOptionViewItem fondo = opcion;
            initStyleOption(&fondo, index);
            fondo.features &= ~QStyleOptionViewItem::HasCheckIndicator;
            fondo.text.clear();
            const QWidget* w = opcion.widget;
            QStyle* estilo = w ? w->style() : QApplication::style();
            estilo->drawControl(QStyle::CE_ItemViewItem, &fondo, pintor, w);

            QStyleOptionButton casilla;
            casilla.state = opcion.state & QStyle::State_Enabled;
            casilla.state |= index.data(Qt::CheckStateRole).toInt() == Qt::Checked
                                 ? QStyle::State_On
                                 : QStyle::State_Off;
            const QSize tam(estilo->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w),
                            estilo->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, w));
            casilla.rect = QStyle::alignedRect(opcion.direction, Qt::AlignCenter, tam,
                                               opcion.rect.adjusted(1, 1, -1, -1));
            estilo->drawPrimitive(QStyle::PE_IndicatorCheckBox, &casilla, pintor, w);
        } else {
            QStyledItemDelegate::paint(pintor, opcion, index);
        }
        pintor->save();
        pintor->setPen(opcion.palette.color(QPalette::Mid));
        pintor->drawLine(opcion.rect.topRight(), opcion.rect.bottomRight());
        pintor->restore();
    }
};

}  // namespace

TRejillaPEPs::TRejillaPEPs(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new TDelegadoPEPs(this));
    setShowGrid(false);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setTabKeyNavigation(true);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setStretchLastSection(false);
}

void TRejillaPEPs::FijaModelo(TModeloPEPs* Modelo) {
    F_Modelo = Modelo;
    setModel(Modelo);
    AjustaColumnas();
    connect(Modelo, &QAbstractItemModel::modelReset, this, &TRejillaPEPs::AjustaColumnas);
    // A single click on a tick cell toggles that row at once, current or not.
    connect(this, &QTableView::clicked, Modelo, &TModeloPEPs::CambiaPEP);
}

void TRejillaPEPs::AjustaColumnas() {
    const bool bSucursales = model() && model()->columnCount() > TModeloPEPs::kColSucursales;
    // The tick's and the name's widths of the design, the key taking its
    // room from the name.
    setColumnWidth(TModeloPEPs::kColPEP, 84);
    setColumnWidth(TModeloPEPs::kColClave, 80);
    setColumnWidth(TModeloPEPs::kColNombre, bSucursales ? 191 : 311);
    if (bSucursales)
        setColumnWidth(TModeloPEPs::kColSucursales, 120);
}

bool TRejillaPEPs::EnElBorde(bool bAtras) const {
    const QModelIndex actual = currentIndex();
    if (!model() || !actual.isValid())
        return true;
    return bAtras ? actual.row() == 0 && actual.column() == 0
                  : actual.row() == model()->rowCount() - 1 &&
                        actual.column() == model()->columnCount() - 1;
}

void TRejillaPEPs::keyPressEvent(QKeyEvent* event) {
    // Tab walks the cells, as the grid's design asks, but never traps the
    // keyboard: past the last cell (before the first with Shift) it leaves
    // the grid, and Ctrl+Tab always leaves it, the toolkit's convention for
    // controls that use Tab themselves.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        const bool bAtras =
            event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        if (event->modifiers() & Qt::ControlModifier) {
            QWidget::focusNextPrevChild(!bAtras);
            event->accept();
            return;
        }
        if (EnElBorde(bAtras)) {
            // Ignored, the item view hands the move to the window's focus chain.
            event->ignore();
            return;
        }
    }
    if (event->key() == Qt::Key_Space && F_Modelo &&
        currentIndex().column() == TModeloPEPs::kColPEP) {
        F_Modelo->CambiaPEP(currentIndex());
        return;
    }
    QTableView::keyPressEvent(event);
}
