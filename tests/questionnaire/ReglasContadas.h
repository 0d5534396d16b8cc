#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "data/UnionNorvex.h"

// Norvex's rules, counting the rows each file hands the union: which files a
// reload read again, and how much of them.
class TReglasContadas : public jet::IReglasUnion {
public:
    // The active company of each branch, head office first.
    explicit TReglasContadas(std::vector<int64_t> empresas)
        : filas(empresas.size()), reglas_(std::move(empresas)) {}
    void Prepara(const std::vector<const jet::TArchivoAccess*>& partes) override {
        reglas_.Prepara(partes);
    }
    bool Adapta(size_t n, const jet::TTabla& tabla, std::vector<jet::TValor>& fila) override {
        ++filas.at(n);
        return reglas_.Adapta(n, tabla, fila);
    }
    std::set<size_t> Reprepara(const std::vector<const jet::TArchivoAccess*>& partes,
                               const std::set<size_t>& cambiadas) override {
        return reglas_.Reprepara(partes, cambiadas);
    }

    std::vector<int64_t> filas;  // per file, since the count was last set to 0

private:
    TUnionNorvex reglas_;
};
