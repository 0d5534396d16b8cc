#include "app/DialogoSucursales.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CarpetaNorvex.h"
#include "app/CompuertaAcceso.h"
#include "app/UnionSucursales.h"
#include "platform/ui/AjustesPrograma.h"

namespace fs = std::filesystem;

namespace {

fs::path Canonica(const fs::path& s) {
    std::error_code ec;
    const fs::path r = fs::weakly_canonical(fs::absolute(s, ec), ec);
    return ec ? s : r;
}

// The program's folder comes with a closing separator; it shows without.
fs::path SinSeparador(const fs::path& s) {
    return s.has_filename() ? s : s.parent_path();
}

QString Texto(const fs::path& s) {
    return QString::fromStdString(s.string());
}

}  // namespace

TDialogoSucursales::TDialogoSucursales(fs::path sMatriz, std::vector<fs::path> sucursales,
                                       QWidget* padre, TPideCarpeta pide)
    : QDialog(padre),
      F_sMatriz(std::move(sMatriz)),
      F_Sucursales(std::move(sucursales)),
      F_Pide(std::move(pide)) {
    setObjectName("dlgSucursales");
    setWindowTitle("Sucursales");
    if (!F_Pide)
        F_Pide = [](QWidget* p) -> std::optional<fs::path> {
            const QString s = QFileDialog::getExistingDirectory(
                p, "Carpeta del Norvex de la sucursal", ui::CarpetaDialogos());
            if (s.isEmpty())
                return std::nullopt;
            ui::RecuerdaCarpetaDialogos(s);
            return fs::path(s.toStdString());
        };
    auto* caja = new QVBoxLayout(this);
    auto* txExplica = new QLabel(
        "El reporte se hará una sola vez sobre los datos de la matriz y de estas sucursales "
        "juntas. Agregue la carpeta del Norvex de cada sucursal.",
        this);
    txExplica->setWordWrap(true);
    caja->addWidget(txExplica);
    lsCarpetas = new QListWidget(this);
    lsCarpetas->setObjectName("lsCarpetas");
    caja->addWidget(lsCarpetas);
    txAviso = new QLabel(this);
    txAviso->setObjectName("txAviso");
    txAviso->setWordWrap(true);
    txAviso->setStyleSheet("color: #a00000");
    caja->addWidget(txAviso);
    auto* botones = new QDialogButtonBox(this);
    auto* bnAgregar = botones->addButton("Agregar...", QDialogButtonBox::ActionRole);
    bnAgregar->setObjectName("bnAgregar");
    bnQuitar = botones->addButton("Quitar", QDialogButtonBox::ActionRole);
    bnQuitar->setObjectName("bnQuitar");
    auto* bnCerrar = botones->addButton("Cerrar", QDialogButtonBox::AcceptRole);
    bnCerrar->setObjectName("bnCerrar");
    caja->addWidget(botones);
    connect(bnAgregar, &QPushButton::clicked, this, [this] {
        if (const auto s = F_Pide(this))
            Agrega(*s);
    });
    connect(bnQuitar, &QPushButton::clicked, this, [this] {
        // The head office's line comes first and cannot go.
        const int n = lsCarpetas->currentRow() - 1;
        if (n < 0 || n >= static_cast<int>(F_Sucursales.size()))
            return;
        F_Sucursales.erase(F_Sucursales.begin() + n);
        txAviso->clear();
        Muestra();
    });
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    resize(520, 300);
    Muestra();
}

bool TDialogoSucursales::Agrega(const fs::path& sElegida) {
    // The DataBase folder itself stands for its Norvex folder, as at start.
    const fs::path sCarpeta = TCarpetaNorvex::CarpetaDeLaBase(
        sElegida.has_filename() ? sElegida : sElegida.parent_path());
    if (!TCompuertaAcceso::DameRutaBD(sCarpeta)) {
        txAviso->setText(QString::fromUtf8(sTxSinBD).arg(Texto(sCarpeta)));
        return false;
    }
    const fs::path sNueva = Canonica(sCarpeta);
    if (!F_sMatriz.empty() && Canonica(F_sMatriz) == sNueva) {
        txAviso->setText(QString::fromUtf8(sTxMatriz).arg(Texto(sCarpeta)));
        return false;
    }
    bool bRepetida = false;
    for (const fs::path& s : F_Sucursales) bRepetida |= Canonica(s) == sNueva;
    if (bRepetida) {
        txAviso->setText(QString::fromUtf8(sTxRepetida).arg(Texto(sCarpeta)));
        return false;
    }
    F_Sucursales.push_back(sCarpeta);
    txAviso->clear();
    Muestra();
    return true;
}

QString TDialogoSucursales::Aviso() const {
    return txAviso->text();
}

QStringList TDialogoSucursales::Lineas() const {
    QStringList lineas;
    for (int i = 0; i < lsCarpetas->count(); ++i) lineas << lsCarpetas->item(i)->text();
    return lineas;
}

void TDialogoSucursales::Muestra() {
    lsCarpetas->clear();
    std::vector<fs::path> carpetas{F_sMatriz};
    carpetas.insert(carpetas.end(), F_Sucursales.begin(), F_Sucursales.end());
    const auto nombres = TUnionSucursales::NombresSucursales(carpetas);
    for (size_t i = 0; i < carpetas.size(); ++i) {
        auto* linea = new QListWidgetItem(
            QStringLiteral("%1%2 — %3")
                .arg(i == 0 ? QStringLiteral("Matriz: ") : QString(),
                     QString::fromStdString(nombres[i]),
                     QDir::toNativeSeparators(Texto(SinSeparador(carpetas[i])))),
            lsCarpetas);
        // The head office is shown, never chosen for removal.
        if (i == 0)
            linea->setFlags(Qt::ItemIsEnabled);
    }
    if (!F_Sucursales.empty())
        lsCarpetas->setCurrentRow(lsCarpetas->count() - 1);
    bnQuitar->setEnabled(!F_Sucursales.empty());
}
