#pragma once

#include "errors/InterfacedPadre.h"
#include "questionnaire/IIBoolPersist.h"

// Once moved away from its initial value it stays there until Inicializa:
// the run uses it to remember that some question failed.
class TBoolPersist : public TInterfacedPadre, public IBoolPersist {
public:
    explicit TBoolPersist(bool bValor) : F_ValorIni(bValor), F_Valor(bValor) {}

    void Inicializa(bool bValor) override;
    void AsignaValor(bool bValor) override;
    bool DameValor() const override { return F_Valor; }

private:
    bool F_ValorIni;
    bool F_Valor;
};
