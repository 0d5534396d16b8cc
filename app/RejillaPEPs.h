#pragma once

#include <QTableView>

class TModeloPEPs;

// The PEP grid: the tick column drawn with the platform's check box, vertical
// lines only, titles in teal. A click on a tick cell toggles it at once; Space
// toggles the focused tick cell; Tab moves between the columns and leaves the
// grid past its last cell, Ctrl+Tab leaves it at once.
class TRejillaPEPs : public QTableView {
    Q_OBJECT

public:
    explicit TRejillaPEPs(QWidget* parent = nullptr);
    void FijaModelo(TModeloPEPs* Modelo);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // With the branches' column the name makes room for it, so that both
    // show without scrolling.
    void AjustaColumnas();
    // True when Tab (Shift+Tab with bAtras) has no cell left to move to.
    bool EnElBorde(bool bAtras) const;

    TModeloPEPs* F_Modelo = nullptr;
};
