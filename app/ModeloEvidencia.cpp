#include "app/ModeloEvidencia.h"

#include <algorithm>
#include <numeric>

#include "platform/jet/TextoValor.h"

namespace {

// The value's place in the sort: nulls, then numbers (dates and currency
// among them), then text.
int Clase(const jet::TValor& v) {
    if (jet::EsNulo(v))
        return 0;
    return std::holds_alternative<std::string>(v) ? 2 : 1;
}

double ComoNumero(const jet::TValor& v) {
    return std::visit(
        [](const auto& x) -> double {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, bool>)
                return x ? -1 : 0;
            else if constexpr (std::is_same_v<T, int64_t> || std::is_same_v<T, double>)
                return static_cast<double>(x);
            else if constexpr (std::is_same_v<T, jet::TMoneda>)
                return static_cast<double>(x.nDiezMilesimos) / 10000.0;
            else if constexpr (std::is_same_v<T, jet::TFecha>)
                return x.dSerial;
            else
                return 0;
        },
        v);
}

bool Menor(const jet::TValor& a, const jet::TValor& b) {
    const int ca = Clase(a), cb = Clase(b);
    if (ca != cb)
        return ca < cb;
    if (ca == 1)
        return ComoNumero(a) < ComoNumero(b);
    if (ca == 2)
        return QString::fromStdString(std::get<std::string>(a))
                   .localeAwareCompare(QString::fromStdString(std::get<std::string>(b))) < 0;
    return false;
}

}  // namespace

TModeloEvidencia::TModeloEvidencia(std::shared_ptr<const jet::TResultado> filas, QObject* padre)
    : QAbstractTableModel(padre), F_Filas(std::move(filas)) {
    F_Orden.resize(F_Filas->filas.size());
    std::iota(F_Orden.begin(), F_Orden.end(), 0);
    F_nCargadas = std::min<int>(kBloque, static_cast<int>(F_Orden.size()));
}

int TModeloEvidencia::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : F_nCargadas;
}

int TModeloEvidencia::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(F_Filas->columnas.size());
}

const std::vector<jet::TValor>& TModeloEvidencia::Fila(int nFila) const {
    return F_Filas->filas[F_Orden[nFila]];
}

QVariant TModeloEvidencia::data(const QModelIndex& indice, int nRol) const {
    if (!indice.isValid() || indice.row() >= F_nCargadas)
        return {};
    const jet::TValor& v = Fila(indice.row())[indice.column()];
    if (nRol == Qt::DisplayRole)
        return QString::fromStdString(jet::TextoValor(v, '.'));
    if (nRol == Qt::TextAlignmentRole && Clase(v) == 1)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TModeloEvidencia::headerData(int nSeccion, Qt::Orientation orientacion, int nRol) const {
    if (nRol != Qt::DisplayRole)
        return {};
    if (orientacion == Qt::Vertical)
        return nSeccion + 1;
    if (nSeccion < 0 || nSeccion >= static_cast<int>(F_Filas->columnas.size()))
        return {};
    return QString::fromStdString(F_Filas->columnas[nSeccion]);
}

bool TModeloEvidencia::canFetchMore(const QModelIndex& padre) const {
    return !padre.isValid() && F_nCargadas < static_cast<int>(F_Orden.size());
}

void TModeloEvidencia::fetchMore(const QModelIndex& padre) {
    if (!canFetchMore(padre))
        return;
    const int nHasta = std::min<int>(F_nCargadas + kBloque, static_cast<int>(F_Orden.size()));
    beginInsertRows({}, F_nCargadas, nHasta - 1);
    F_nCargadas = nHasta;
    endInsertRows();
}

void TModeloEvidencia::sort(int nColumna, Qt::SortOrder orden) {
    if (nColumna < 0 || nColumna >= columnCount())
        return;
    beginResetModel();
    const auto& filas = F_Filas->filas;
    std::stable_sort(F_Orden.begin(), F_Orden.end(), [&](int a, int b) {
        return orden == Qt::AscendingOrder ? Menor(filas[a][nColumna], filas[b][nColumna])
                                           : Menor(filas[b][nColumna], filas[a][nColumna]);
    });
    // Back to the first block: the view starts again from the top.
    F_nCargadas = std::min<int>(kBloque, static_cast<int>(F_Orden.size()));
    endResetModel();
}
