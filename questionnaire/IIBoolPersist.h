#pragma once

// A Boolean that keeps the first value different from its initial one.
class IBoolPersist {
public:
    virtual ~IBoolPersist() = default;
    virtual void Inicializa(bool bValor) = 0;
    virtual void AsignaValor(bool bValor) = 0;
    virtual bool DameValor() const = 0;
};
