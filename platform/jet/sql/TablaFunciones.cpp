#include "platform/jet/sql/TablaFunciones.h"

#include <map>

namespace jet::sql {

namespace {

using F = FormaFuncion;
using T = TipoResultado;

const FilaFuncion kFunciones[] = {
    // name          arity  aggregate  result           form        SQLite
    {"IIF", 3, 3, false, T::Iif, F::Iif, ""},
    {"ISNULL", 1, 1, false, T::Otro, F::EsNulo, ""},
    {"NZ", 1, 2, false, T::Otro, F::Nz, ""},
    {"COUNT", 1, 1, true, T::Otro, F::Llamada, "COUNT"},
    {"SUM", 1, 1, true, T::SumaMoneda, F::Llamada, "SUM", false, "jet_summoneda"},
    {"AVG", 1, 1, true, T::Otro, F::Llamada, "AVG"},
    {"MIN", 1, 1, true, T::ComoArgumento, F::Llamada, "MIN", true},
    {"MAX", 1, 1, true, T::ComoArgumento, F::Llamada, "MAX", true},
    {"FIRST", 1, 1, true, T::ComoArgumento, F::Llamada, "jet_first"},
    {"LAST", 1, 1, true, T::ComoArgumento, F::Llamada, "jet_last"},
    {"UCASE", 1, 1, false, T::Otro, F::Llamada, "jet_ucase"},
    {"LCASE", 1, 1, false, T::Otro, F::Llamada, "jet_lcase"},
    {"STR", 1, 1, false, T::Otro, F::Llamada, "jet_str"},
    {"ROUND", 1, 2, false, T::Otro, F::Llamada, "jet_round"},
    {"INT", 1, 1, false, T::Otro, F::Llamada, "jet_int"},
    {"FIX", 1, 1, false, T::Otro, F::Llamada, "jet_fix"},
    {"ABS", 1, 1, false, T::Otro, F::Llamada, "jet_abs"},
    {"SGN", 1, 1, false, T::Otro, F::Llamada, "jet_sgn"},
    {"LEN", 1, 1, false, T::Otro, F::Llamada, "jet_len"},
    {"LEFT", 2, 2, false, T::Otro, F::Llamada, "jet_left"},
    {"RIGHT", 2, 2, false, T::Otro, F::Llamada, "jet_right"},
    {"MID", 2, 3, false, T::Otro, F::Llamada, "jet_mid"},
    {"TRIM", 1, 1, false, T::Otro, F::Llamada, "jet_trim"},
    {"LTRIM", 1, 1, false, T::Otro, F::Llamada, "jet_ltrim"},
    {"RTRIM", 1, 1, false, T::Otro, F::Llamada, "jet_rtrim"},
    {"INSTR", 2, 4, false, T::Otro, F::Llamada, "jet_instr"},
    {"CSTR", 1, 1, false, T::Otro, F::Llamada, "jet_cstr"},
    {"CLNG", 1, 1, false, T::Otro, F::Llamada, "jet_clng"},
    {"CINT", 1, 1, false, T::Otro, F::Llamada, "jet_cint"},
    {"CDBL", 1, 1, false, T::Otro, F::Llamada, "jet_cdbl"},
    {"CSNG", 1, 1, false, T::Otro, F::Llamada, "jet_cdbl"},
    {"CCUR", 1, 1, false, T::Otro, F::Llamada, "jet_cdbl"},
    {"VAL", 1, 1, false, T::Otro, F::Llamada, "jet_val"},
    {"YEAR", 1, 1, false, T::Otro, F::Llamada, "jet_year"},
    {"MONTH", 1, 1, false, T::Otro, F::Llamada, "jet_month"},
    {"DAY", 1, 1, false, T::Otro, F::Llamada, "jet_day"},
    {"HOUR", 1, 1, false, T::Otro, F::Llamada, "jet_hour"},
    {"MINUTE", 1, 1, false, T::Otro, F::Llamada, "jet_minute"},
    {"SECOND", 1, 1, false, T::Otro, F::Llamada, "jet_second"},
    {"DATESERIAL", 3, 3, false, T::Fecha, F::Llamada, "jet_dateserial"},
    {"SPACE", 1, 1, false, T::Otro, F::Llamada, "jet_space"},
    {"SQR", 1, 1, false, T::Otro, F::Llamada, "jet_sqr"},
};

}  // namespace

std::span<const FilaFuncion> TodasLasFunciones() {
    return kFunciones;
}

const FilaFuncion* BuscaFuncion(const std::string& sNombre) {
    static const std::map<std::string, const FilaFuncion*> indice = [] {
        std::map<std::string, const FilaFuncion*> m;
        for (const auto& f : kFunciones) m.emplace(f.sNombre, &f);
        return m;
    }();
    auto it = indice.find(sNombre);
    return it == indice.end() ? nullptr : it->second;
}

}  // namespace jet::sql
