#include "tools/norvexgen/AzarNorvex.h"

#include <numeric>

namespace norvex {

uint64_t TAzarNorvex::Siguiente() {
    uint64_t z = (nEstado_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

size_t TAzarNorvex::Pesado(const std::vector<int>& pesos) {
    const uint64_t nTotal = uint64_t(std::accumulate(pesos.begin(), pesos.end(), 0));
    uint64_t n = Menor(nTotal);
    for (size_t i = 0; i < pesos.size(); ++i) {
        if (n < uint64_t(pesos[i]))
            return i;
        n -= uint64_t(pesos[i]);
    }
    return pesos.size() - 1;
}

}  // namespace norvex
