#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

// The branches a run adds to the head office's folder: a list of folders
// under their Norvex names, the head office first and always there, each
// other checked when added (it must hold the Norvex database, and be neither
// the head office's nor one already listed), with the reason shown at once
// when it is refused.
class TDialogoSucursales : public QDialog {
    Q_OBJECT
public:
    using TPideCarpeta = std::function<std::optional<std::filesystem::path>(QWidget*)>;
    static constexpr const char* sTxSinBD =
        "La carpeta %1 no tiene la base de datos del Norvex (DataBase\\Norvex.mdb).";
    static constexpr const char* sTxRepetida = "La carpeta %1 ya está en la lista.";
    static constexpr const char* sTxMatriz =
        "La carpeta %1 es la de la matriz: siempre entra en el reporte.";

    // sMatriz: the head office's folder. pide: asks for a folder (a folder
    // dialog unless given).
    TDialogoSucursales(std::filesystem::path sMatriz, std::vector<std::filesystem::path> sucursales,
                       QWidget* padre, TPideCarpeta pide = nullptr);
    const std::vector<std::filesystem::path>& Sucursales() const { return F_Sucursales; }
    // Checks a folder and lists it; false (with the reason shown) when refused.
    bool Agrega(const std::filesystem::path& sCarpeta);
    QString Aviso() const;
    // The lines of the list as shown, the head office's first.
    QStringList Lineas() const;

private:
    std::filesystem::path F_sMatriz;
    std::vector<std::filesystem::path> F_Sucursales;
    TPideCarpeta F_Pide;
    QListWidget* lsCarpetas;
    QLabel* txAviso;
    QPushButton* bnQuitar;

    void Muestra();
};
