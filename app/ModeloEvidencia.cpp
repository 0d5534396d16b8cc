#include "app/ModeloEvidencia.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "platform/jet/TextoValor.h"
#include "platform/jet/sql/FechaJet.h"

namespace {

// The columns Norvex users know, by the names the evidence gives them; any
// other column keeps its name and reads by its values.
struct TColumnaConocida {
    const char* sNombre;
    const char* sEncabezado;
    TModeloEvidencia::TForma forma;
};
constexpr TColumnaConocida kConocidas[] = {
    {"Tipo", "Tipo", TModeloEvidencia::foTal},
    {"Folio", "Folio", TModeloEvidencia::foTal},
    {"Fecha", "Fecha", TModeloEvidencia::foFecha},
    {"NumeroDivisa", "Núm. de divisa", TModeloEvidencia::foTal},
    {"Moneda", "Moneda", TModeloEvidencia::foTal},
    {"Divisa", "Divisa", TModeloEvidencia::foTal},
    {"CantidadDivisa", "Cantidad en la divisa", TModeloEvidencia::foMonto},
    {"Cotizacion", "Cotización", TModeloEvidencia::foTal},
    {"Cantidad", "Cantidad en dólares", TModeloEvidencia::foDolares},
    {"ClaveCliente", "Clave del cliente", TModeloEvidencia::foTal},
    {"Cliente", "Cliente", TModeloEvidencia::foTal},
    {"Actividad", "Actividad", TModeloEvidencia::foTal},
};

const TColumnaConocida* Conocida(const std::string& sNombre) {
    for (const auto& c : kConocidas)
        if (sNombre == c.sNombre)
            return &c;
    return nullptr;
}

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

// Thousands with ",", decimals with ".": the way the questionnaire writes
// amounts, whatever the desktop's locale.
QString ConMiles(double d, int nDecimales) {
    QLocale local(QLocale::English, QLocale::UnitedStates);
    return local.toString(d, 'f', nDecimales);
}

QString Texto(const jet::TValor& v, TModeloEvidencia::TForma forma) {
    if (jet::EsNulo(v))
        return {};
    if (const auto* f = std::get_if<jet::TFecha>(&v)) {
        const auto p = jet::sql::PartesDeSerial(f->dSerial);
        return QStringLiteral("%1/%2/%3 %4:%5")
            .arg(p.dia, 2, 10, QLatin1Char('0'))
            .arg(p.mes, 2, 10, QLatin1Char('0'))
            .arg(p.anio, 4, 10, QLatin1Char('0'))
            .arg(p.hora, 2, 10, QLatin1Char('0'))
            .arg(p.minuto, 2, 10, QLatin1Char('0'));
    }
    if (Clase(v) == 1 && !std::holds_alternative<bool>(v)) {
        // The answer rounds dollars with Jet's ROUND, half to even, as the
        // processor's default rounding does.
        if (forma == TModeloEvidencia::foDolares)
            return ConMiles(std::nearbyint(ComoNumero(v)), 0);
        if (forma == TModeloEvidencia::foMonto)
            return ConMiles(ComoNumero(v), 2);
    }
    return QString::fromStdString(jet::TextoValor(v, '.'));
}

}  // namespace

TModeloEvidencia::TModeloEvidencia(std::shared_ptr<const jet::TResultado> filas,
                                   const std::string& sColumnaCalculo, QObject* padre)
    : QAbstractTableModel(padre), F_Filas(std::move(filas)) {
    const auto& columnas = F_Filas->columnas;
    for (int i = 0; i < static_cast<int>(columnas.size()); ++i) {
        const TColumnaConocida* c = Conocida(columnas[i]);
        F_Formas.push_back(c ? c->forma : foTal);
        if (columnas[i] == sColumnaCalculo)
            F_Columnas.insert(F_Columnas.begin(), i);
        else
            F_Columnas.push_back(i);
    }
    // Another column summed or averaged is an amount of dollars too.
    if (!F_Columnas.empty() && columnas[F_Columnas.front()] == sColumnaCalculo &&
        F_Formas[F_Columnas.front()] == foTal && !F_Filas->filas.empty() &&
        Clase(F_Filas->filas.front()[F_Columnas.front()]) == 1)
        F_Formas[F_Columnas.front()] = foDolares;
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
    const int nColumna = ColumnaDeDatos(indice.column());
    const jet::TValor& v = Fila(indice.row())[nColumna];
    if (nRol == Qt::DisplayRole)
        return Texto(v, F_Formas[nColumna]);
    // A rounded amount keeps its whole value at hand.
    if (nRol == Qt::ToolTipRole && F_Formas[nColumna] != foTal && F_Formas[nColumna] != foFecha &&
        !jet::EsNulo(v))
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
    const std::string& sNombre = F_Filas->columnas[ColumnaDeDatos(nSeccion)];
    const TColumnaConocida* c = Conocida(sNombre);
    return c ? QString::fromUtf8(c->sEncabezado) : QString::fromStdString(sNombre);
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

void TModeloEvidencia::sort(int nVista, Qt::SortOrder orden) {
    if (nVista < 0 || nVista >= columnCount())
        return;
    const int nColumna = ColumnaDeDatos(nVista);
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
