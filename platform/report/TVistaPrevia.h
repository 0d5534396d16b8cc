#pragma once

#include <QDialog>
#include <QIcon>
#include <QStyle>
#include <memory>

#include "platform/report/TReporte.h"

class QAction;
class QLabel;
class QListWidget;
class QPrinter;
class QScrollArea;
class QSplitter;
class QToolBar;
class QTreeWidget;

namespace rpt {

class TLienzoPaginas;

// The preview's drawing for the toolbar action named sAccion ("acImprimir",
// …); a null icon when it has none.
QIcon DameIconoVista(const QString& sAccion);

// The modal preview of a prepared report: pages at 100 %, a toolbar to print,
// find, zoom, go full screen, show the outline or thumbnails, move between
// pages, export to PDF and close, every button reachable by Tab and by a key
// of its own. It never edits, opens or saves prepared reports, and offers no
// page setup: the report's paper is fixed.
class TVistaPrevia : public QDialog {
    Q_OBJECT
public:
    explicit TVistaPrevia(TReporte& reporte, QWidget* padre = nullptr);
    ~TVistaPrevia() override;

    // Shows the window maximised and returns when the user closes it.
    int Muestra();

    QToolBar* DameBarra() const { return F_Barra; }
    const TReporte& DameReporte() const { return F_Reporte; }
    int DamePaginaActual() const { return F_nPagina; }
    double DameZoom() const;
    void IrAPagina(int n);
    // Highlights the next occurrence of sTexto; false when there is none.
    bool Busca(const QString& sTexto);
    QPrinter& DameImpresora() { return *F_Impresora; }
    // Prepares the pages again from the report's current variables and
    // shows them, for a change made while the preview is open.
    void Reprepara();
    // The variable whose value is under the mouse pointer; empty when none.
    QString VariableBajoElPuntero() const;

protected:
    // A click on a variable's value on the paper runs the report's action.
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    QString VariableEn(const QPoint& punto) const;
    QAction* Accion(const char* sNombre, const QString& sTexto, QStyle::StandardPixmap icono,
                    const QList<QKeySequence>& atajos = {});
    void HazBarraAccesible();
    void CreaBarra();
    void Imprime();
    void PideBusqueda();
    void ExportaPDF();
    void CambiaZoom(double dFactor);
    void AlternaPantallaCompleta();
    void MuestraPanel(QWidget* panel, bool bVisible);
    void LlenaMiniaturas();
    void ActualizaEstado();
    void PaginaPorDesplazamiento();

    TReporte& F_Reporte;
    std::unique_ptr<QPrinter> F_Impresora;
    QToolBar* F_Barra = nullptr;
    QScrollArea* F_Desplazable = nullptr;
    TLienzoPaginas* F_Lienzo = nullptr;
    QTreeWidget* F_Esquema = nullptr;
    QListWidget* F_Miniaturas = nullptr;
    QWidget* F_Lateral = nullptr;
    QSplitter* F_Divisor = nullptr;
    QLabel* F_Estado = nullptr;
    QAction* F_acEsquema = nullptr;
    QAction* F_acMiniaturas = nullptr;
    int F_nPagina = 0;
    QString F_sBuscado;
    TCoincidencia F_Hallazgo;
};

}  // namespace rpt
