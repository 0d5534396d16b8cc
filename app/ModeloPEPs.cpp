#include "app/ModeloPEPs.h"

#include <QColor>

#include "report/TablaPEPs.h"

TModeloPEPs::TModeloPEPs(TTablaPEPs& vtPEPs, QObject* parent)
    : QAbstractTableModel(parent), F_vtPEPs(vtPEPs), F_nFilas(static_cast<int>(vtPEPs.Cuenta())) {
    F_vtPEPs.FijaAvisoCambio([this] { TablaCambiada(); });
}

TModeloPEPs::~TModeloPEPs() {
    F_vtPEPs.FijaAvisoCambio(nullptr);
}

void TModeloPEPs::TablaCambiada() {
    // The table says only that something changed: a new list is a reset, a
    // tick is a change of data.
    const int nFilas = static_cast<int>(F_vtPEPs.Cuenta());
    if (nFilas != F_nFilas) {
        beginResetModel();
        F_nFilas = nFilas;
        endResetModel();
    } else if (nFilas > 0) {
        emit dataChanged(index(0, 0), index(nFilas - 1, columnCount() - 1));
    }
}

int TModeloPEPs::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : F_nFilas;
}

int TModeloPEPs::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return F_Sucursales ? 3 : 2;
}

QVariant TModeloPEPs::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(F_vtPEPs.Cuenta()))
        return {};
    const TFilaPEP& fila = F_vtPEPs.Fila(static_cast<std::size_t>(index.row()));
    if (index.column() == kColPEP) {
        if (role == Qt::CheckStateRole)
            return fila.bEsPEP ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }
    if (index.column() == kColSucursales) {
        // Folders are long: the whole text also comes as the tooltip.
        if ((role == Qt::DisplayRole || role == Qt::ToolTipRole) && F_Sucursales)
            return QString::fromStdString(F_Sucursales(fila));
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return {};
    }
    if (role == Qt::DisplayRole)
        return QString::fromStdString(fila.sNombre);
    // Homonyms look alike in the list; the key and the alerts tell them apart.
    // Observations are Norvex's free text: shown as written, never as markup.
    if (role == Qt::ToolTipRole)
        return QStringLiteral("<p style='white-space:pre'>%1</p>")
            .arg(QString::fromStdString(DameDetallePEP(fila))
                     .toHtmlEscaped()
                     .replace(u'\n', QStringLiteral("<br>")));
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant TModeloPEPs::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return section == kColPEP          ? "Marcar PEP"
               : section == kColSucursales ? "Sucursales"
                                           : "Nombre del Usuario";
    if (role == Qt::ForegroundRole)
        return QColor(0x00, 0x80, 0x80);
    if (role == Qt::TextAlignmentRole)
        return int((section == kColPEP ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TModeloPEPs::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void TModeloPEPs::CambiaPEP(const QModelIndex& index) {
    if (!index.isValid() || index.column() != kColPEP)
        return;
    const auto nFila = static_cast<std::size_t>(index.row());
    F_vtPEPs.MarcaPEP(nFila, !F_vtPEPs.Fila(nFila).bEsPEP);
}

void TModeloPEPs::PonSucursales(TSucursales Sucursales) {
    // The number of columns changes: views must ask again.
    beginResetModel();
    F_Sucursales = std::move(Sucursales);
    endResetModel();
}
