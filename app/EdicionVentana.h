#pragma once

#include <QDialog>
#include <QLabel>
#include <functional>
#include <memory>
#include <vector>

#include "questionnaire/CatalogoEdiciones.h"

class QListWidget;
class TAlmacenRespuestasCC;
class TDatosVentana;
class TdmMain;

// The edition of the questionnaire the window answers (the default one at
// start), and what follows it: the report's template and PDF information, the
// question sets its jobs create, the centre's answers kept for it.
struct TEdicionVentana {
    std::shared_ptr<const TEdicion> edicion;
    std::shared_ptr<TAlmacenRespuestasCC> almacen;
};

// The window's state for the default edition.
std::shared_ptr<TEdicionVentana> CreaEdicionVentana();

// Makes edicion the one in use: the data module's report (its variables start
// empty again), the question sets datos creates from now on, the store of the
// centre's answers. Throws std::runtime_error, changing nothing, when the
// report cannot take its template.
void CambiaEdicion(TEdicionVentana& estado, std::shared_ptr<const TEdicion> edicion, TdmMain& dm,
                   TDatosVentana& datos);

// The choice of an edition: those that can be used, each with its period (its
// folder as tooltip); below, the editions found that cannot be used, with
// their problems, so that whoever dropped one sees why it is not offered.
class TDialogoEdicion : public QDialog {
    Q_OBJECT

public:
    TDialogoEdicion(const std::vector<TEdicionHallada>& halladas, const std::string& sClaveActual,
                    QWidget* padre = nullptr);
    // The edition chosen; null when the dialog was cancelled.
    std::shared_ptr<const TEdicion> Elegida() const;

private:
    std::vector<std::shared_ptr<const TEdicion>> F_Ediciones;
    QListWidget* F_Lista = nullptr;
};

// The edition in use, on one line at the foot of the main window, in the free
// strip left of "Generar reporte": its name and period, and the link
// "Cambiar..." (the line is reached with Tab, and Enter or Space follow the
// link), which lists the known editions and hands the one chosen to
// alCambiar. While bOcupada() says a job is running, the link does nothing.
class TEtiquetaEdicion : public QLabel {
    Q_OBJECT

public:
    TEtiquetaEdicion(QWidget* ventana, std::function<bool()> bOcupada,
                     std::function<void(std::shared_ptr<const TEdicion>)> alCambiar);

    void Muestra(const TEdicion& edicion);
    // The link's action: the dialog, then alCambiar when another edition
    // was chosen.
    void Elige();

protected:
    void keyPressEvent(QKeyEvent* evento) override;

private:
    std::function<bool()> F_bOcupada;
    std::function<void(std::shared_ptr<const TEdicion>)> F_AlCambiar;
    std::string F_sClave;
};
