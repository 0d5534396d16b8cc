#include <QApplication>
#include <memory>

#include "app/Arranque.h"
#include "app/DatosVentana.h"
#include "app/Principal.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    PreparaAplicacion(app);
    // Order of creation: the connection registry, the data module, the window.
    TfrmPrincipal frmPrincipal(std::make_shared<TDatosVentana>());
    frmPrincipal.show();
    return app.exec();
}
