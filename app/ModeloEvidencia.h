#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "platform/jet/MotorJet.h"

// The rows behind an answer for a table view, as a person reads them:
// Spanish headers, dates as dd/mm/aaaa hh:mm, dollar amounts whole as the
// answer rounds them and other amounts with two decimals, both with thousands
// separators (the full value in the cell's tooltip), and the column the
// calculation reads first. A million rows stay cheap: the view is handed them
// a block at a time as it scrolls (canFetchMore / fetchMore), and sorting
// reorders an index over every row, not only those shown so far, by the
// values themselves.
class TModeloEvidencia : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kBloque = 1000;

    // sColumnaCalculo: the column the answer sums, averages or ranks (first
    // in the view); empty when the answer only counts rows.
    explicit TModeloEvidencia(std::shared_ptr<const jet::TResultado> filas,
                              const std::string& sColumnaCalculo = {}, QObject* padre = nullptr);

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int nRol = Qt::DisplayRole) const override;
    QVariant headerData(int nSeccion, Qt::Orientation orientacion,
                        int nRol = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& padre) const override;
    void fetchMore(const QModelIndex& padre) override;
    // Numbers and dates by value, text by its letters; nulls first.
    void sort(int nColumna, Qt::SortOrder orden = Qt::AscendingOrder) override;

    // The row of the data shown at row nFila of the view.
    const std::vector<jet::TValor>& Fila(int nFila) const;
    // The data's column shown at column nColumna of the view.
    int ColumnaDeDatos(int nColumna) const { return F_Columnas.at(nColumna); }

    // How a column's values read.
    enum TForma { foTal, foDolares, foMonto, foFecha };

private:
    std::shared_ptr<const jet::TResultado> F_Filas;
    std::vector<int> F_Columnas;   // view column -> data column
    std::vector<TForma> F_Formas;  // by data column
    std::vector<int> F_Orden;      // view row -> data row
    int F_nCargadas = 0;
};
