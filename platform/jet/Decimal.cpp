#include "platform/jet/Decimal.h"

#include <charconv>
#include <cstdlib>

namespace jet {

namespace {

constexpr int nDigitosMaximos = 38;

__int128 Potencia10(int n) {
    __int128 p = 1;
    for (int i = 0; i < n; ++i) p *= 10;
    return p;
}

// Strips the trailing zeros of the fraction: the same value, fewest decimals.
TDecimal Reducido(TDecimal d) {
    while (d.nEscala > 0 && d.nValor % 10 == 0) {
        d.nValor /= 10;
        --d.nEscala;
    }
    return d;
}

bool Cabe(__int128 n) {
    const __int128 nMaximo = Potencia10(nDigitosMaximos);
    return n < nMaximo && n > -nMaximo;
}

}  // namespace

bool TDecimal::operator==(const TDecimal& o) const {
    const TDecimal a = Reducido(*this), b = Reducido(o);
    return a.nValor == b.nValor && a.nEscala == b.nEscala;
}

std::string TextoDecimal(const TDecimal& dOriginal, char cSeparador) {
    const TDecimal d = Reducido(dOriginal);
    unsigned __int128 n = d.nValor < 0 ? -static_cast<unsigned __int128>(d.nValor)
                                       : static_cast<unsigned __int128>(d.nValor);
    std::string digitos;
    do {
        digitos.insert(digitos.begin(), static_cast<char>('0' + static_cast<int>(n % 10)));
        n /= 10;
    } while (n != 0);
    if (d.nEscala < 0)
        digitos.append(static_cast<size_t>(-d.nEscala), '0');
    else if (d.nEscala > 0) {
        const auto nEscala = static_cast<size_t>(d.nEscala);
        if (digitos.size() <= nEscala)
            digitos.insert(0, nEscala - digitos.size() + 1, '0');
        digitos.insert(digitos.size() - nEscala, 1, cSeparador);
    }
    return d.nValor < 0 ? "-" + digitos : digitos;
}

std::optional<TDecimal> DecimalDeTexto(const std::string& s) {
    size_t i = 0;
    const bool bNegativo = i < s.size() && s[i] == '-';
    if (bNegativo || (i < s.size() && s[i] == '+'))
        ++i;
    TDecimal d;
    int nDigitos = 0;
    bool bAlguno = false, bPunto = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '.' && !bPunto) {
            bPunto = true;
            continue;
        }
        if (c < '0' || c > '9')
            break;
        bAlguno = true;
        if (nDigitos == 0 && c == '0') {
            if (bPunto)
                ++d.nEscala;
            continue;
        }
        if (++nDigitos > nDigitosMaximos)
            return std::nullopt;
        d.nValor = d.nValor * 10 + (c - '0');
        if (bPunto)
            ++d.nEscala;
    }
    if (!bAlguno)
        return std::nullopt;
    if (i < s.size()) {
        if (s[i] != 'e' && s[i] != 'E')
            return std::nullopt;
        int nExponente = 0;
        const char* pFin = s.data() + s.size();
        const char* pInicio = s.data() + i + 1;
        if (pInicio < pFin && *pInicio == '+')
            ++pInicio;
        const auto r = std::from_chars(pInicio, pFin, nExponente);
        if (r.ec != std::errc() || r.ptr != pFin || nExponente > 1000 || nExponente < -1000)
            return std::nullopt;
        d.nEscala -= nExponente;
    }
    if (d.nEscala < 0) {
        if (nDigitos - d.nEscala > nDigitosMaximos)
            return std::nullopt;
        d.nValor *= Potencia10(-d.nEscala);
        d.nEscala = 0;
    }
    if (d.nEscala > nDigitosMaximos + 300)
        return std::nullopt;
    if (bNegativo)
        d.nValor = -d.nValor;
    return d;
}

std::optional<TDecimal> DecimalDeDoble(double x, int nEscala) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, x);
    if (r.ec != std::errc())
        return std::nullopt;
    auto d = DecimalDeTexto(std::string(buf, r.ptr));
    if (!d)
        return std::nullopt;
    if (nEscala >= 0)
        return ConEscala(*d, nEscala);
    // A tiny double has a long fraction; a Decimal never keeps more than 28.
    return d->nEscala > nDigitosDecimal ? ConEscala(*d, nDigitosDecimal) : d;
}

double DobleDeDecimal(const TDecimal& d) {
    return std::strtod(TextoDecimal(d).c_str(), nullptr);
}

std::optional<TDecimal> ConEscala(const TDecimal& d, int nEscala) {
    if (nEscala == d.nEscala)
        return d;
    if (nEscala > d.nEscala) {
        const int nMas = nEscala - d.nEscala;
        if (nMas > nDigitosMaximos)
            return d.nValor == 0 ? std::optional<TDecimal>(TDecimal{0, nEscala}) : std::nullopt;
        __int128 n;
        if (__builtin_mul_overflow(d.nValor, Potencia10(nMas), &n) || !Cabe(n))
            return std::nullopt;
        return TDecimal{n, nEscala};
    }
    const int nMenos = d.nEscala - nEscala;
    if (nMenos > nDigitosMaximos)
        return TDecimal{0, nEscala};
    const __int128 p = Potencia10(nMenos);
    __int128 q = d.nValor / p;
    const __int128 resto = d.nValor % p;
    // Half away from zero, as Jet rounds a value into a Decimal column
    // (compared without doubling the remainder, which could overflow).
    if (resto > 0 && resto >= p - resto)
        ++q;
    else if (resto < 0 && -resto >= p + resto)
        --q;
    return TDecimal{q, nEscala};
}

std::optional<TDecimal> SumaDecimal(const TDecimal& a, const TDecimal& b) {
    const int nEscala = std::max(a.nEscala, b.nEscala);
    const auto x = ConEscala(a, nEscala), y = ConEscala(b, nEscala);
    if (!x || !y)
        return std::nullopt;
    __int128 n;
    if (__builtin_add_overflow(x->nValor, y->nValor, &n) || !Cabe(n))
        return std::nullopt;
    return TDecimal{n, nEscala};
}

}  // namespace jet
