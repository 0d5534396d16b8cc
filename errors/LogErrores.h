#pragma once

#include <map>
#include <memory>
#include <string>

#include "errors/IILogErrores.h"

// One catalogue entry.
struct TMsjError {
    std::string sMsjUsuario;
    std::string sMsjLog;  // kept with the entry; nothing reads it
    bool bMostrarMsj = true;
};

// Presenter with a catalogue of codes. Concrete catalogues fill it in
// CargaErrores; Crea<T>() builds one and loads it, so no presenter is ever
// handed out with an empty catalogue.
class TManejadorErrores : public ILogErrores {
public:
    template <class T>
    static std::shared_ptr<ILogErrores> Crea() {
        auto presentador = std::shared_ptr<T>(new T());
        presentador->CargaErrores();
        return presentador;
    }

    void MuestraError(const std::string& sClaveErr, const std::string& sNomClase,
                      const std::string& sMsjAdicional) override;
    std::string DameErrorMsj(const std::string& sClaveErr, const std::string& sMsjAdicional,
                             bool bIncluyeClave) override;

protected:
    TManejadorErrores() = default;
    virtual void CargaErrores() = 0;
    // Adds one entry; a code already present is a programming error and throws.
    void AgregaError(const std::string& sClave, const std::string& sMsjUsuario,
                     const std::string& sMsjLog, bool bMostrarMsj);

private:
    std::map<std::string, TMsjError> F_ListaErrores;
};
