// Fills the questionnaire report with sample answers and exports it to PDF,
// without showing anything:  reporte_demo salida.pdf ["Nombre del CC"]
// With KOVA_CAPTURA=archivo.png it also saves a picture of the preview window.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "platform/report/TVistaPrevia.h"
#include "report/DataModule.h"
#include "report/ManejadorReportes.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: reporte_demo salida.pdf [\"Nombre del CC\"]\n");
        return 2;
    }
    TdmMain dm;
    TManejadorReportes manejador(dm.repGeneral, "Encuesta ANDU 2018");
    manejador.AgregaDatoReporte("Cuestionario", "NombreCC",
                                argc > 2 ? argv[2] : "CASA DE CAMBIO O'BRIEN, S.A. DE C.V.");
    for (int n = 1; n <= 195; ++n) {
        bool bManual = n == 1 || (n >= 3 && n <= 32) || n >= 192;
        manejador.AgregaDatoReporte("Cuestionario", "preg_" + std::to_string(n),
                                    bManual ? "(** El CC debe responder **)"
                                            : "Respuesta: " + std::to_string(n * 37 % 1000));
    }
    QElapsedTimer reloj;
    reloj.start();
    dm.repGeneral.SetNombreDocumento(QStringLiteral("Encuesta ANDU 2018"));
    dm.repGeneral.Prepara();
    const qint64 nPreparar = reloj.restart();
    if (!dm.repGeneral.ExportaPDF(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "%s\n", qPrintable(dm.repGeneral.DameError()));
        return 1;
    }
    std::printf("%d páginas; preparar %lld ms, exportar %lld ms\n", dm.repGeneral.DameNumPaginas(),
                static_cast<long long>(nPreparar), static_cast<long long>(reloj.elapsed()));
    // How full each page's body is: the questions must never run off its object.
    for (int n = 0; n < dm.repGeneral.DameNumPaginas(); ++n) {
        const auto& cuerpo = dm.repGeneral.DamePagina(n).objetos.at(0);
        std::printf("página %2d: %3.0f %% del objeto\n", n + 1,
                    100 * cuerpo.documento->size().height() / cuerpo.DameRectTexto().height());
    }
    reloj.restart();
    dm.repGeneral.Prepara();
    std::printf("segunda preparación %lld ms\n", static_cast<long long>(reloj.elapsed()));

    if (qEnvironmentVariableIsSet("KOVA_CAPTURA")) {
        rpt::TVistaPrevia vista(dm.repGeneral);
        vista.resize(1280, 900);
        vista.show();
        for (const char* s : {"acEsquema", "acMiniaturas"}) vista.findChild<QAction*>(s)->trigger();
        vista.Busca(QStringLiteral("Respuesta: 476"));
        QApplication::processEvents();
        vista.grab().save(qEnvironmentVariable("KOVA_CAPTURA"));
    }
    return 0;
}
