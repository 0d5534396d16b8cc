#include "app/CarpetaNorvex.h"

#include <QSettings>
#include <QString>
#include <cctype>

#include "app/CompuertaAcceso.h"
#include "platform/ui/ICajaMensajes.h"

namespace fs = std::filesystem;

namespace {

// Absolute and without "." or "..", so the folder shown and remembered is
// the one the user named; links are kept as named, not resolved.
fs::path Absoluta(const fs::path& sCarpeta) {
    std::error_code ec;
    fs::path sAbs = fs::absolute(sCarpeta, ec).lexically_normal();
    // "/x/y/" and "/x/y" are the same folder; keep one spelling.
    if (sAbs.has_relative_path() && sAbs.filename().empty())
        sAbs = sAbs.parent_path();
    return sAbs;
}

bool EsCarpeta(const fs::path& sRuta) {
    std::error_code ec;
    return !sRuta.empty() && fs::is_directory(sRuta, ec);
}

}  // namespace

fs::path TCarpetaNorvex::CarpetaDeLaBase(const fs::path& sCarpeta) {
    std::string sNombre = sCarpeta.filename().string();
    for (char& c : sNombre) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (sNombre == "database" && sCarpeta.has_parent_path() &&
        EsCarpetaNorvex(sCarpeta.parent_path()))
        return sCarpeta.parent_path();
    return sCarpeta;
}

TCarpetaNorvex::TCarpetaNorvex(std::shared_ptr<IPideCarpeta> Pide, QSettings& Ajustes)
    : F_Pide(std::move(Pide)), F_Ajustes(Ajustes) {}

bool TCarpetaNorvex::EsCarpetaNorvex(const fs::path& sCarpeta) {
    return EsCarpeta(sCarpeta) && TCompuertaAcceso::DameRutaBD(sCarpeta).has_value();
}

std::string TCarpetaNorvex::TextoNoEsNorvex(const fs::path& sCarpeta) {
    return "La carpeta \"" + sCarpeta.string() +
           "\" no es la carpeta del Norvex: no contiene el archivo DataBase/Norvex.mdb.\n\n"
           "Elija la carpeta donde está instalado el Norvex (la que contiene la carpeta "
           "DataBase).";
}

std::string TCarpetaNorvex::TextoPrimeraVez() {
    return "Elija a continuación la carpeta donde está instalado el Norvex: la que contiene la "
           "carpeta DataBase con el archivo Norvex.mdb (por lo general, «Norvex Software»).\n\n"
           "El programa solo lee la base de datos del Norvex, nunca la modifica, y recordará la "
           "carpeta para la próxima vez.";
}

std::optional<TCarpetaNorvex::TEleccion> TCarpetaNorvex::Elige(
    const fs::path& sDirProg, const std::optional<fs::path>& sArgumento) {
    if (sArgumento) {
        const fs::path sCarpeta = CarpetaDeLaBase(Absoluta(*sArgumento));
        if (EsCarpetaNorvex(sCarpeta))
            return TEleccion{sCarpeta, orArgumento};
        ui::DameCajaMensajes()->MuestraMensaje(TextoNoEsNorvex(sCarpeta));
        // The dialog opens where the user meant to be, when that place exists.
        return Pregunta(EsCarpeta(sCarpeta) ? sCarpeta : DameUltima());
    }
    if (EsCarpetaNorvex(sDirProg))
        return TEleccion{Absoluta(sDirProg), orPrograma};
    const fs::path sUltima = DameUltima();
    if (sUltima.empty())
        ui::DameCajaMensajes()->MuestraMensaje(TextoPrimeraVez());
    return Pregunta(sUltima);
}

std::optional<TCarpetaNorvex::TEleccion> TCarpetaNorvex::Pregunta(fs::path sInicial) {
    for (;;) {
        const std::optional<fs::path> sElegida = F_Pide->PideCarpeta(sInicial);
        if (!sElegida || sElegida->empty())
            return std::nullopt;
        const fs::path sCarpeta = CarpetaDeLaBase(Absoluta(*sElegida));
        if (EsCarpetaNorvex(sCarpeta)) {
            F_Ajustes.setValue(sClaveUltima, QString::fromStdString(sCarpeta.string()));
            F_Ajustes.sync();
            return TEleccion{sCarpeta, orElegida};
        }
        ui::DameCajaMensajes()->MuestraMensaje(TextoNoEsNorvex(sCarpeta));
        sInicial = sCarpeta;
    }
}

fs::path TCarpetaNorvex::DameUltima() const {
    const fs::path sUltima = F_Ajustes.value(sClaveUltima).toString().toStdString();
    // A folder since removed or renamed is no place to start from.
    return EsCarpeta(sUltima) ? sUltima : fs::path();
}
