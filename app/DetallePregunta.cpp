#include "app/DetallePregunta.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QVBoxLayout>
#include <sstream>

#include "app/ModeloEvidencia.h"
#include "platform/ui/AjustesPrograma.h"
#include "platform/ui/ICajaMensajes.h"

TDetallePregunta::TDetallePregunta(TEvidenciaPregunta evidencia, const QString& sPregunta,
                                   const QString& sRespuesta, QWidget* padre)
    : QDialog(padre), F_nPregunta(evidencia.nPregunta) {
    setWindowTitle(QStringLiteral("Detalle de la pregunta %1").arg(F_nPregunta));
    const QString sCalculo = QString::fromStdString(DescribeCalculo(evidencia));
    const std::string sColumna = evidencia.sColumna;
    F_Filas = std::make_shared<jet::TResultado>(std::move(evidencia.filas));

    auto* pregunta = new QLabel(sPregunta);
    pregunta->setWordWrap(true);
    QFont negrita = pregunta->font();
    negrita.setBold(true);
    pregunta->setFont(negrita);
    auto* respuesta = new QLabel(sRespuesta);
    respuesta->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* calculo = new QLabel(sCalculo);

    F_Modelo = new TModeloEvidencia(F_Filas, sColumna, this);
    F_Tabla = new QTableView;
    F_Tabla->setModel(F_Modelo);
    F_Tabla->setSortingEnabled(true);
    F_Tabla->horizontalHeader()->setSortIndicatorShown(true);
    F_Tabla->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    F_Tabla->setSelectionBehavior(QAbstractItemView::SelectRows);
    F_Tabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    F_Tabla->resizeColumnsToContents();

    auto* botones = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* exporta =
        botones->addButton(QStringLiteral("Exportar CSV…"), QDialogButtonBox::ActionRole);
    connect(exporta, &QPushButton::clicked, this, &TDetallePregunta::PideArchivo);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* caja = new QVBoxLayout(this);
    caja->addWidget(pregunta);
    caja->addWidget(respuesta);
    caja->addWidget(calculo);
    caja->addWidget(F_Tabla, 1);
    caja->addWidget(botones);
    resize(900, 600);
}

void TDetallePregunta::PideArchivo() {
    const QString sArchivo = QFileDialog::getSaveFileName(
        this, QStringLiteral("Exportar CSV"),
        ui::ArchivoEnCarpetaDialogos(
            QStringLiteral("pregunta-%1.csv").arg(F_nPregunta, 3, 10, QLatin1Char('0'))),
        QStringLiteral("Archivos CSV (*.csv)"));
    ui::RecuerdaCarpetaDialogos(sArchivo);
    if (!sArchivo.isEmpty())
        ExportaCsv(sArchivo);
}

bool TDetallePregunta::ExportaCsv(const QString& sArchivo) {
    std::ostringstream s;
    EscribeCsvEvidencia(*F_Filas, s);
    const std::string sTexto = s.str();
    // Whole or not at all: an earlier file of that name stays until the new
    // one is complete.
    QSaveFile archivo(sArchivo);
    if (archivo.open(QIODevice::WriteOnly) &&
        archivo.write(sTexto.data(), static_cast<qint64>(sTexto.size())) ==
            static_cast<qint64>(sTexto.size()) &&
        archivo.commit()) {
        ui::DameCajaMensajes()->MuestraMensaje("Se exportaron las filas a " +
                                               sArchivo.toStdString() + ".");
        return true;
    }
    ui::DameCajaMensajes()->MuestraMensaje("No fue posible escribir " + sArchivo.toStdString() +
                                           ".");
    return false;
}
