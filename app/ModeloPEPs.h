#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <vector>

class TTablaPEPs;
struct TFilaPEP;

// The grid's view of the PEP table: column 0 the tick ("Marcar PEP"),
// column 1 the name, column 2 the client's key (homonyms read alike but for
// it) and, in a run over several branches only, column 3 the branches whose
// alerts name the candidate. Rows in Spanish order of the name as read
// (blanks around it and doubled inside ignored), homonyms by key. Read-only
// for the grid; ticks change only through CambiaPEP, which stores them in the
// table at once.
class TModeloPEPs : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kColPEP = 0;
    static constexpr int kColNombre = 1;
    static constexpr int kColClave = 2;
    static constexpr int kColSucursales = 3;
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
    // The table's row shown at row nFila of the grid.
    std::size_t FilaDeTabla(int nFila) const { return F_Orden.at(static_cast<std::size_t>(nFila)); }
    // With Sucursales the grid gains the branches' column; without it
    // (one folder), the grid is the two columns alone.
    void PonSucursales(TSucursales Sucursales);

private:
    void TablaCambiada();
    // The table's rows in the grid's order.
    std::vector<std::size_t> Ordena() const;

    TTablaPEPs& F_vtPEPs;
    std::vector<std::size_t> F_Orden;  // grid row -> table row
    TSucursales F_Sucursales;
};
