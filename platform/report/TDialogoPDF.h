#pragma once

#include <QDialog>

#include "platform/report/TOpcionesPDF.h"

class QCheckBox;
class QLineEdit;

namespace rpt {

// Lets the user confirm the PDF options and choose the file before exporting.
class TDialogoPDF : public QDialog {
    Q_OBJECT
public:
    TDialogoPDF(const TOpcionesPDF& opciones, const QString& sCarpeta, QWidget* padre = nullptr);

    TOpcionesPDF DameOpciones() const;
    QString DameArchivo() const;

private:
    void EligeArchivo();

    TOpcionesPDF F_Opciones;
    QLineEdit* F_Archivo;
    QLineEdit* F_Titulo;
    QLineEdit* F_Autor;
    QLineEdit* F_Asunto;
    QCheckBox* F_BarraHerramientas;
    QCheckBox* F_Menu;
    QCheckBox* F_ControlesVentana;
    QCheckBox* F_AjustarVentana;
    QCheckBox* F_CentrarVentana;
    QCheckBox* F_EscalarImpresion;
};

}  // namespace rpt
