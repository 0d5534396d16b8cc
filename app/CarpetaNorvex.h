#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/IIPideCarpeta.h"

class QSettings;

// Which Norvex folder the window works on. Copied into a Norvex folder the
// program works there, as it always did; installed elsewhere it takes the
// folder of its command line, or asks for one and remembers the last folder
// chosen for the next time. A folder is a Norvex folder when it holds
// "DataBase/Norvex.mdb" (in any letter case); the "DataBase" folder itself
// stands for its parent, as users often pick the folder they can see the
// file in; any other is refused with a message and the question comes again,
// so the window never opens on a folder where every job would fail. The
// first question, with no folder remembered, is explained beforehand.
class TCarpetaNorvex {
public:
    // Key of the settings that holds the last folder chosen.
    static constexpr const char* sClaveUltima = "carpetaNorvex";

    enum TOrigen { orPrograma, orArgumento, orElegida };
    struct TEleccion {
        std::filesystem::path sCarpeta;  // absolute
        TOrigen eOrigen;
    };

    // Pide asks for a folder; Ajustes keeps the last one chosen.
    TCarpetaNorvex(std::shared_ptr<IPideCarpeta> Pide, QSettings& Ajustes);

    // sDirProg is the program's own folder; sArgumento the folder of the
    // command line, if any. None when the user cancelled the question.
    std::optional<TEleccion> Elige(const std::filesystem::path& sDirProg,
                                   const std::optional<std::filesystem::path>& sArgumento);

    static bool EsCarpetaNorvex(const std::filesystem::path& sCarpeta);
    // What the user reads when sCarpeta is not a Norvex folder.
    static std::string TextoNoEsNorvex(const std::filesystem::path& sCarpeta);
    // The Norvex folder a chosen folder stands for: its parent when the
    // chosen one is "DataBase" itself (any letter case) below a Norvex
    // folder; the chosen one otherwise.
    static std::filesystem::path CarpetaDeLaBase(const std::filesystem::path& sCarpeta);
    // What the user reads before the first question, when no folder is
    // remembered: what to choose and why.
    static std::string TextoPrimeraVez();

private:
    std::optional<TEleccion> Pregunta(std::filesystem::path sInicial);
    std::filesystem::path DameUltima() const;

    std::shared_ptr<IPideCarpeta> F_Pide;
    QSettings& F_Ajustes;
};
