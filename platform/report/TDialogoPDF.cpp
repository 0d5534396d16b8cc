#include "platform/report/TDialogoPDF.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace rpt {

TDialogoPDF::TDialogoPDF(const TOpcionesPDF& opciones, const QString& sCarpeta, QWidget* padre)
    : QDialog(padre), F_Opciones(opciones) {
    setWindowTitle(QStringLiteral("Exportar a PDF"));
    auto* forma = new QFormLayout;

    F_Archivo = new QLineEdit(QDir(sCarpeta).filePath(opciones.sArchivoPropuesto + ".pdf"));
    F_Archivo->setObjectName(QStringLiteral("archivo"));
    // Wide enough to read the proposed path whole, within reason.
    const int nX = F_Archivo->fontMetrics().horizontalAdvance(QLatin1Char('x'));
    F_Archivo->setMinimumWidth(std::clamp(
        F_Archivo->fontMetrics().horizontalAdvance(F_Archivo->text()) + 3 * nX, 64 * nX, 110 * nX));
    auto* elegir = new QPushButton(QStringLiteral("..."));
    elegir->setObjectName(QStringLiteral("elegir"));
    elegir->setToolTip(QStringLiteral("Elegir la carpeta y el nombre del archivo"));
    // Enter exports, from any field: only a click or Space opens the chooser.
    elegir->setAutoDefault(false);
    connect(elegir, &QPushButton::clicked, this, &TDialogoPDF::EligeArchivo);
    auto* filaArchivo = new QHBoxLayout;
    filaArchivo->addWidget(F_Archivo);
    filaArchivo->addWidget(elegir);
    forma->addRow(QStringLiteral("Archivo:"), filaArchivo);

    F_Titulo = new QLineEdit(opciones.sTitulo);
    F_Autor = new QLineEdit(opciones.sAutor);
    F_Asunto = new QLineEdit(opciones.sAsunto);
    forma->addRow(QStringLiteral("Título:"), F_Titulo);
    forma->addRow(QStringLiteral("Autor:"), F_Autor);
    forma->addRow(QStringLiteral("Asunto:"), F_Asunto);

    auto casilla = [&](const char* sTexto, bool bMarcada) {
        auto* c = new QCheckBox(QString::fromUtf8(sTexto));
        c->setChecked(bMarcada);
        forma->addRow(c);
        return c;
    };
    F_BarraHerramientas =
        casilla("Mostrar la barra de herramientas del visor", !opciones.bOcultarBarraHerramientas);
    F_Menu = casilla("Mostrar la barra de menú del visor", !opciones.bOcultarMenu);
    F_ControlesVentana =
        casilla("Mostrar los controles de la ventana", !opciones.bOcultarControlesVentana);
    F_AjustarVentana = casilla("Ajustar la ventana a la página", opciones.bAjustarVentana);
    F_CentrarVentana = casilla("Centrar la ventana", opciones.bCentrarVentana);
    F_EscalarImpresion = casilla("Escalar al imprimir", opciones.bEscalarAlImprimir);

    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    botones->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Exportar"));
    botones->button(QDialogButtonBox::Ok)->setDefault(true);
    botones->button(QDialogButtonBox::Cancel)->setAutoDefault(false);
    botones->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* todo = new QVBoxLayout(this);
    todo->addLayout(forma);
    todo->addWidget(botones);
}

void TDialogoPDF::EligeArchivo() {
    // An existing file is replaced without asking, as the export promises.
    QString s = QFileDialog::getSaveFileName(this, QStringLiteral("Exportar a PDF"),
                                             F_Archivo->text(), QStringLiteral("PDF (*.pdf)"),
                                             nullptr, QFileDialog::DontConfirmOverwrite);
    if (!s.isEmpty())
        F_Archivo->setText(QDir::toNativeSeparators(s));
}

QString TDialogoPDF::DameArchivo() const {
    return F_Archivo->text().trimmed();
}

TOpcionesPDF TDialogoPDF::DameOpciones() const {
    TOpcionesPDF o = F_Opciones;
    o.sTitulo = F_Titulo->text();
    o.sAutor = F_Autor->text();
    o.sAsunto = F_Asunto->text();
    o.bOcultarBarraHerramientas = !F_BarraHerramientas->isChecked();
    o.bOcultarMenu = !F_Menu->isChecked();
    o.bOcultarControlesVentana = !F_ControlesVentana->isChecked();
    o.bAjustarVentana = F_AjustarVentana->isChecked();
    o.bCentrarVentana = F_CentrarVentana->isChecked();
    o.bEscalarAlImprimir = F_EscalarImpresion->isChecked();
    return o;
}

}  // namespace rpt
