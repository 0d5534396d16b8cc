#include "questionnaire/Edicion.h"

#include <cstdio>

namespace {

std::string Formatea(const char* sFormato, unsigned a, unsigned b, int c) {
    char s[32];
    std::snprintf(s, sizeof s, sFormato, a, b, c);
    return s;
}

}  // namespace

std::string FechaSQL(std::chrono::year_month_day dia) {
    return Formatea("%02u/%02u/%04d", static_cast<unsigned>(dia.month()),
                    static_cast<unsigned>(dia.day()), static_cast<int>(dia.year()));
}

std::string FechaLegible(std::chrono::year_month_day dia) {
    return Formatea("%02u/%02u/%04d", static_cast<unsigned>(dia.day()),
                    static_cast<unsigned>(dia.month()), static_cast<int>(dia.year()));
}

std::string FechaIso(std::chrono::year_month_day dia) {
    char s[32];
    std::snprintf(s, sizeof s, "%04d-%02u-%02u", static_cast<int>(dia.year()),
                  static_cast<unsigned>(dia.month()), static_cast<unsigned>(dia.day()));
    return s;
}

std::string DiaSiguienteSQL(const std::string& sFechaSQL) {
    unsigned nMes = 0, nDia = 0;
    int nAnio = 0;
    char cFin = 0;
    if (std::sscanf(sFechaSQL.c_str(), "%2u/%2u/%4d%c", &nMes, &nDia, &nAnio, &cFin) != 3)
        return sFechaSQL;
    const std::chrono::year_month_day dia{std::chrono::year(nAnio), std::chrono::month(nMes),
                                          std::chrono::day(nDia)};
    if (!dia.ok())
        return sFechaSQL;
    return FechaSQL(std::chrono::sys_days(dia) + std::chrono::days(1));
}

const TPreguntaEdicion* TEdicion::DamePregunta(int nNumero) const {
    if (nNumero < 1 || nNumero > DameTotalPreguntas())
        return nullptr;
    return &preguntas[static_cast<std::size_t>(nNumero - 1)];
}

std::optional<TCalculoRespuesta> TEdicion::DameCalculo(int nNumero) const {
    const TPreguntaEdicion* p = DamePregunta(nNumero);
    if (!p || p->eForma == fpCentro)
        return std::nullopt;
    if (p->eForma == fpConsulta)
        return p->evidencia;
    switch (p->calculo.nCalculo) {
        case cnExiste:
            return crExiste;
        case cnUsuarios:
        case cnOperaciones:
            return crConteo;
        case cnMonto:
            return crSuma;
        case cnPromedio:
            return crPromedio;
        case cnClienteFrecuente:
        case cnDivisaFrecuente:
        case cnActividadFrecuente:
            break;
    }
    return crMasFrecuente;
}

std::string TEdicion::DameFIniSQL() const {
    return FechaSQL(inicio);
}

std::string TEdicion::DameFFinSQL() const {
    return FechaSQL(fin);
}

std::string TEdicion::DameFDespuesSQL() const {
    return DiaSiguienteSQL(DameFFinSQL());
}

std::string TEdicion::DamePeriodo() const {
    return FechaLegible(inicio) + " al " + FechaLegible(fin);
}
