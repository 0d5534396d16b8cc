#pragma once

#include <memory>
#include <string>

#include "app/IIMensajero.h"
#include "questionnaire/IIRepCuestionarioKOVA.h"

// What the main window needs of the data side, in one place so that the
// window can be driven in tests without a database.
class IDatosVentana {
public:
    virtual ~IDatosVentana() = default;
    // Registers the Access file at sRutaBD under "BDPrincipal" (once), connects
    // it and hands the connection out; true when that connection is open.
    virtual bool ConectaBDPrinc(const std::string& sRutaBD) = 0;
    // A fresh question-set object on the connection handed out last; it
    // reports its progress through Mensajero.
    virtual std::shared_ptr<IRepCuestionarioKOVA> CreaCuestionario(
        int nNumEmp, double dTCambio, std::shared_ptr<IMensajero> Mensajero) = 0;
};
