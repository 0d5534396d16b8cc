#pragma once

#include <QAbstractTableModel>

class TTablaPEPs;

// The grid's view of the PEP table: column 0 the tick ("Marcar PEP"),
// column 1 the name. Read-only for the grid; ticks change only through
// CambiaPEP, which stores them in the table at once.
class TModeloPEPs : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kColPEP = 0;
    static constexpr int kColNombre = 1;

    explicit TModeloPEPs(TTablaPEPs& vtPEPs, QObject* parent = nullptr);
    ~TModeloPEPs() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Toggles the tick of a row; any other cell is left alone.
    void CambiaPEP(const QModelIndex& index);

private:
    void TablaCambiada();

    TTablaPEPs& F_vtPEPs;
    int F_nFilas = 0;
};
