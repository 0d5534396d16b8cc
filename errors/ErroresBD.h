#pragma once

#include <memory>

#include "errors/LogErrores.h"

// The database catalogue: the one catalogue of the program.
class TErroresBD : public TManejadorErrores {
public:
    // A fresh presenter with its catalogue loaded; presenters are never shared.
    static std::shared_ptr<ILogErrores> Crea() { return TManejadorErrores::Crea<TErroresBD>(); }

protected:
    void CargaErrores() override;

private:
    TErroresBD() = default;
    friend class TManejadorErrores;
};
