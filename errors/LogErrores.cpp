#include "errors/LogErrores.h"

#include <stdexcept>

#include "platform/ui/ICajaMensajes.h"

namespace {

bool EsSoloBlancos(const std::string& s) {
    return s.find_first_not_of(" \t\r\n") == std::string::npos;
}

}  // namespace

void TManejadorErrores::AgregaError(const std::string& sClave, const std::string& sMsjUsuario,
                                    const std::string& sMsjLog, bool bMostrarMsj) {
    if (!F_ListaErrores.emplace(sClave, TMsjError{sMsjUsuario, sMsjLog, bMostrarMsj}).second)
        throw std::logic_error("Código de error duplicado: " + sClave);
}

void TManejadorErrores::MuestraError(const std::string& sClaveErr, const std::string& sNomClase,
                                     const std::string& sMsjAdicional) {
    // The presenter reports nothing to its caller: a failure to show the box
    // must not turn a handled database error into a crash.
    try {
        std::string sClase = EsSoloBlancos(sNomClase) ? "" : "." + sNomClase;
        std::string sTexto;
        auto it = F_ListaErrores.find(sClaveErr);
        if (it == F_ListaErrores.end())
            sTexto = "Error #" + sClaveErr + sClase + " " + sMsjAdicional;
        else if (it->second.bMostrarMsj)
            sTexto = "Error #" + sClaveErr + sClase + ": " + it->second.sMsjUsuario + " " +
                     sMsjAdicional;
        else
            return;
        ui::DameCajaMensajes()->MuestraMensaje(sTexto);
    } catch (...) {
    }
}

std::string TManejadorErrores::DameErrorMsj(const std::string& sClaveErr,
                                            const std::string& sMsjAdicional,
                                            bool bIncluyeClave) {
    std::string sTexto;
    auto it = F_ListaErrores.find(sClaveErr);
    if (it != F_ListaErrores.end())
        sTexto = it->second.sMsjUsuario + " " + sMsjAdicional;
    else if (!sMsjAdicional.empty())
        sTexto = sMsjAdicional;
    else
        sTexto = "Error desconocido";
    if (bIncluyeClave) sTexto = "Error #" + sClaveErr + ": " + sTexto;
    return sTexto;
}
