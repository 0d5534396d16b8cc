#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace norvex {

// A small deterministic generator (splitmix64): the same seed gives the
// same numbers on every machine and library, so the same seed gives the
// same file byte for byte.
class TAzarNorvex {
public:
    explicit TAzarNorvex(uint64_t nSemilla) : nEstado_(nSemilla) {}
    uint64_t Siguiente();
    // Uniform in [0, n).
    uint64_t Menor(uint64_t n) { return Siguiente() % n; }
    // Uniform in [0, 1).
    double Real() { return double(Siguiente() >> 11) / 9007199254740992.0; }
    bool Prob(double p) { return Real() < p; }
    // An index chosen by weight.
    size_t Pesado(const std::vector<int>& pesos);

private:
    uint64_t nEstado_;
};

}  // namespace norvex
