#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <string>

class TTablaPEPs;
struct TFilaPEP;

// The grid's view of the PEP table: column 0 the tick ("Marcar PEP"),
// column 1 the name and, in a run over several branches only, column 2 the
// branches whose alerts name the candidate. Read-only for the grid; ticks
// change only through CambiaPEP, which stores them in the table at once.
class TModeloPEPs : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kColPEP = 0;
    static constexpr int kColNombre = 1;
    static constexpr int kColSucursales = 2;
    // Says which branches a candidate comes from.
    using TSucursales = std::function<std::string(const TFilaPEP&)>;

    explicit TModeloPEPs(TTablaPEPs& vtPEPs, QObject* parent = nullptr);
    ~TModeloPEPs() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Toggles the tick of a row; any other cell is left alone.
    void CambiaPEP(const QModelIndex& index);
    // With Sucursales the grid gains the branches' column; without it
    // (one folder), the grid is the two columns alone.
    void PonSucursales(TSucursales Sucursales);

private:
    void TablaCambiada();

    TTablaPEPs& F_vtPEPs;
    int F_nFilas = 0;
    TSucursales F_Sucursales;
};
