#include "app/ModeloPEPs.h"

#include <QCollator>
#include <QColor>
#include <QLocale>
#include <algorithm>

#include "report/TablaPEPs.h"

TModeloPEPs::TModeloPEPs(TTablaPEPs& vtPEPs, QObject* parent)
    : QAbstractTableModel(parent), F_vtPEPs(vtPEPs), F_Orden(Ordena()) {
    F_vtPEPs.FijaAvisoCambio([this] { TablaCambiada(); });
}

std::vector<std::size_t> TModeloPEPs::Ordena() const {
    QCollator orden{QLocale(QLocale::Spanish, QLocale::Mexico)};
    orden.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> claves;
    std::vector<std::size_t> filas(F_vtPEPs.Cuenta());
    for (std::size_t i = 0; i < filas.size(); ++i) {
        filas[i] = i;
        claves.push_back(
            orden.sortKey(QString::fromStdString(F_vtPEPs.Fila(i).sNombre).simplified()));
    }
    std::stable_sort(filas.begin(), filas.end(), [&](std::size_t a, std::size_t b) {
        const int n = claves[a].compare(claves[b]);
        if (n != 0)
            return n < 0;
        return F_vtPEPs.Fila(a).sClaveCliente < F_vtPEPs.Fila(b).sClaveCliente;
    });
    return filas;
}

TModeloPEPs::~TModeloPEPs() {
    F_vtPEPs.FijaAvisoCambio(nullptr);
}

void TModeloPEPs::TablaCambiada() {
    // The table says only that something changed: a new list (other rows or
    // another order) is a reset, a tick is a change of data.
    std::vector<std::size_t> orden = Ordena();
    if (orden != F_Orden) {
        beginResetModel();
        F_Orden = std::move(orden);
        endResetModel();
    } else if (!F_Orden.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

int TModeloPEPs::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(F_Orden.size());
}

int TModeloPEPs::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return F_Sucursales ? 4 : 3;
}

QVariant TModeloPEPs::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TFilaPEP& fila = F_vtPEPs.Fila(FilaDeTabla(index.row()));
    if (index.column() == kColPEP) {
        if (role == Qt::CheckStateRole)
            return fila.bEsPEP ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }
    if (index.column() == kColClave) {
        if (role == Qt::DisplayRole)
            return QString::fromStdString(fila.sClaveCliente);
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
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
               : section == kColClave      ? "Clave"
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
    if (index.row() >= rowCount())
        return;
    const std::size_t nFila = FilaDeTabla(index.row());
    F_vtPEPs.MarcaPEP(nFila, !F_vtPEPs.Fila(nFila).bEsPEP);
}

void TModeloPEPs::PonSucursales(TSucursales Sucursales) {
    // The number of columns changes: views must ask again.
    beginResetModel();
    F_Sucursales = std::move(Sucursales);
    endResetModel();
}
