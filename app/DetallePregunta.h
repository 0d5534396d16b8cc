#pragma once

#include <QDialog>
#include <memory>

#include "questionnaire/EvidenciaPregunta.h"

class QTableView;
class TModeloEvidencia;

// "Detalle de la pregunta N": the answer of a computed question, its
// calculation in words and the rows behind it, sortable, with "Exportar
// CSV…" to hand them to an inspector.
class TDetallePregunta : public QDialog {
    Q_OBJECT
public:
    // sPregunta: the question as the report words it.
    TDetallePregunta(TEvidenciaPregunta evidencia, const QString& sPregunta,
                     const QString& sRespuesta, QWidget* padre = nullptr);

    QTableView* DameTabla() const { return F_Tabla; }
    // Writes the rows (in the data's order) to sArchivo; false with a
    // message box when it could not.
    bool ExportaCsv(const QString& sArchivo);

private:
    void PideArchivo();

    std::shared_ptr<jet::TResultado> F_Filas;
    int F_nPregunta = 0;
    QTableView* F_Tabla = nullptr;
    TModeloEvidencia* F_Modelo = nullptr;
};
