#include <gtest/gtest.h>

#include <filesystem>

#include "TAjustesTemporales.h"
#include "platform/ui/AjustesPrograma.h"

namespace {

namespace fs = std::filesystem;

QString Q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

// Every dialog starts in the folder chosen last while it exists, else in the
// documents folder when there is one, else at home; a file chosen names its
// folder, a folder chosen itself.
TEST(AjustesPrograma, LosDialogosEmpiezanDondeSeEligioLaUltimaVez) {
    TAjustesTemporales ajustes;
    const fs::path home = ajustes.Home(), documentos = home / "Documents", otra = home / "otra";
    EXPECT_EQ(ui::CarpetaDialogos(), Q(home)) << "no documents folder: home";
    EXPECT_EQ(ui::ArchivoEnCarpetaDialogos("CuestionarioKOVA.pdf"),
              Q(home / "CuestionarioKOVA.pdf"));
    fs::create_directories(documentos);
    EXPECT_EQ(ui::CarpetaDialogos(), Q(documentos));

    fs::create_directories(otra / "sub");
    ui::RecuerdaCarpetaDialogos(Q(otra / "reporte.pdf"));
    EXPECT_EQ(ui::CarpetaDialogos(), Q(otra));
    ui::RecuerdaCarpetaDialogos(Q(otra / "sub"));
    EXPECT_EQ(ui::CarpetaDialogos(), Q(otra / "sub"));
    ui::RecuerdaCarpetaDialogos({});  // a dialog cancelled changes nothing
    EXPECT_EQ(ui::CarpetaDialogos(), Q(otra / "sub"));

    // Kept in the settings for the next start.
    ajustes.Reabre();
    EXPECT_EQ(ui::CarpetaDialogos(), Q(otra / "sub"));
    fs::remove_all(otra);
    EXPECT_EQ(ui::CarpetaDialogos(), Q(documentos)) << "a folder since removed";
}

}  // namespace
