#pragma once

#include <memory>
#include <string>

#include "errors/IILogErrores.h"

class IInterfacedPadre : public ILogErrores {};

// Base of small service objects that may carry a presenter; without one, its
// error operations are silent and return empty text.
class TInterfacedPadre : public IInterfacedPadre {
public:
    explicit TInterfacedPadre(std::shared_ptr<ILogErrores> LogErrores = nullptr)
        : F_Errores(std::move(LogErrores)) {}

    void MuestraError(const std::string& sClaveErr, const std::string& sNomClase,
                      const std::string& sMsjAdicional) override {
        if (F_Errores) F_Errores->MuestraError(sClaveErr, sNomClase, sMsjAdicional);
    }
    std::string DameErrorMsj(const std::string& sClaveErr, const std::string& sMsjAdicional,
                             bool bIncluyeClave) override {
        return F_Errores ? F_Errores->DameErrorMsj(sClaveErr, sMsjAdicional, bIncluyeClave) : "";
    }

protected:
    std::shared_ptr<ILogErrores> F_Errores;
};
