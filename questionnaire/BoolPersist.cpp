#include "questionnaire/BoolPersist.h"

void TBoolPersist::Inicializa(bool bValor) {
    F_ValorIni = bValor;
    F_Valor = bValor;
}

void TBoolPersist::AsignaValor(bool bValor) {
    if (bValor != F_ValorIni)
        F_Valor = bValor;
}
