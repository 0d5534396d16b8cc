#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/IIMjVentana.h"

class QAbstractButton;

// A job: a callable without arguments and without result.
using TProcedimiento = std::function<void()>;

class IUtilerias {
public:
    virtual ~IUtilerias() = default;
    virtual std::string DameDirProg() = 0;
    virtual std::string DameNomExeProg() = 0;
    virtual std::string DameRutaCompProg() = 0;
    virtual void MuestraForm(std::shared_ptr<IMjVentana> sFormulario) = 0;
    virtual void ProcesayEspera(const TProcedimiento& Proc) = 0;
    virtual void ProcesayEspera(const TProcedimiento& Proc, QAbstractButton* bnBoton) = 0;
    virtual void HazPausa(uint32_t nSegs) = 0;
    // The text in Windows-1252, zero-terminated; throws when it cannot hold it.
    virtual std::string StringToPAnsiChar(const std::string& sStringVar) = 0;
};
