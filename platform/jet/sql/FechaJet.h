#pragma once

#include <cmath>
#include <cstdint>
#include <ctime>

// Jet's dates are day serials: days since 1899-12-30, the time of day as the
// fraction. Before the epoch the whole part counts back and the fraction
// still counts forward from midnight (-1.25 is 1899-12-29 06:00).
namespace jet::sql {

// Days from 1970-01-01 to a proleptic Gregorian date.
inline int64_t DiasCiviles(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr int64_t kDiasEpocaJet = -25569;  // 1899-12-30 counted from 1970-01-01

// Whether a serial is a day of Jet's years, 100 to 9999.
inline bool EsSerialJet(double dSerial) {
    return dSerial >= -657434.0 && dSerial < 2958466.0;
}

inline double SerialDeFecha(int64_t y, int64_t m, int64_t d, double dFraccion = 0) {
    const double dias = static_cast<double>(DiasCiviles(y, m, d) - kDiasEpocaJet);
    return dias >= 0 ? dias + dFraccion : dias - dFraccion;
}

inline int64_t DivPiso(int64_t a, int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Weeks counted from a fixed origin, each starting on firstdayofweek
// (1 Sunday .. 7 Saturday). Day 0 (1899-12-30) was a Saturday.
inline int64_t Semana(int64_t nDia, int nPrimerDia) {
    return DivPiso(nDia + 6 - (nPrimerDia - 1), 7);
}

// The day of the week, 1 being firstdayofweek.
inline int DiaSemana(int64_t nDia, int nPrimerDia) {
    return static_cast<int>(nDia + 6 - (nPrimerDia - 1) - Semana(nDia, nPrimerDia) * 7) + 1;
}

// The first day of week 1 of a year. firstweekofyear: 1 the week of
// January 1, 2 the first week with four days of the year, 3 the first
// whole week.
inline int64_t InicioSemanaUno(int64_t nAnio, int nPrimerDia, int nPrimeraSemana) {
    const int64_t nEnero1 = DiasCiviles(nAnio, 1, 1) - kDiasEpocaJet;
    const int64_t nInicio = nEnero1 - (DiaSemana(nEnero1, nPrimerDia) - 1);
    if (nPrimeraSemana == 2)
        return nEnero1 - nInicio > 3 ? nInicio + 7 : nInicio;
    if (nPrimeraSemana == 3)
        return nInicio < nEnero1 ? nInicio + 7 : nInicio;
    return nInicio;
}

// The week of the year of a day of year nAnio, as DatePart("ww") and
// Format's "ww" count it: a day before that year's week 1 belongs to the
// last week of the year before.
inline int64_t SemanaDelAnio(int64_t nDia, int64_t nAnio, int nPrimerDia, int nPrimeraSemana) {
    int64_t nInicio = InicioSemanaUno(nAnio, nPrimerDia, nPrimeraSemana);
    if (nDia < nInicio)
        nInicio = InicioSemanaUno(nAnio - 1, nPrimerDia, nPrimeraSemana);
    return (nDia - nInicio) / 7 + 1;
}

// The day serial of a date.
inline int64_t DiaDe(int64_t y, int64_t m, int64_t d) {
    return DiasCiviles(y, m, d) - kDiasEpocaJet;
}

inline int64_t DiasDelMes(int64_t y, int64_t m) {
    return DiasCiviles(m == 12 ? y + 1 : y, m == 12 ? 1 : m + 1, 1) - DiasCiviles(y, m, 1);
}

// A day and a time of day as a serial (the fraction counts forward from
// midnight whatever the day's sign).
inline double Serial(int64_t nDia, int64_t nSegundos) {
    const double f = static_cast<double>(nSegundos) / 86400.0;
    return nDia >= 0 ? static_cast<double>(nDia) + f : static_cast<double>(nDia) - f;
}

// The local clock: the one place it is read.
inline std::tm Ahora() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

struct PartesFecha {
    int64_t anio = 0, mes = 0, dia = 0;
    int hora = 0, minuto = 0, segundo = 0;
};

inline PartesFecha PartesDeSerial(double dSerial) {
    const double entero = std::trunc(dSerial);
    int64_t z = static_cast<int64_t>(entero) + kDiasEpocaJet + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    PartesFecha p;
    p.dia = doy - (153 * mp + 2) / 5 + 1;
    p.mes = mp < 10 ? mp + 3 : mp - 9;
    p.anio = yoe + era * 400 + (p.mes <= 2);
    int64_t segundos = std::llround(std::fabs(dSerial - entero) * 86400.0);
    if (segundos >= 86400)
        segundos = 86399;
    p.hora = static_cast<int>(segundos / 3600);
    p.minuto = static_cast<int>(segundos / 60 % 60);
    p.segundo = static_cast<int>(segundos % 60);
    return p;
}

}  // namespace jet::sql
