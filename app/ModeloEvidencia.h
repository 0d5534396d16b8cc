#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "platform/jet/MotorJet.h"

// The rows behind an answer for a table view. A million rows stay cheap: the
// view is handed them a block at a time as it scrolls (canFetchMore /
// fetchMore), and sorting reorders an index over every row, not only those
// shown so far.
class TModeloEvidencia : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kBloque = 1000;

    explicit TModeloEvidencia(std::shared_ptr<const jet::TResultado> filas,
                              QObject* padre = nullptr);

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

private:
    std::shared_ptr<const jet::TResultado> F_Filas;
    std::vector<int> F_Orden;  // view row -> data row
    int F_nCargadas = 0;
};
