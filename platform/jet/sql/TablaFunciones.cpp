#include "platform/jet/sql/TablaFunciones.h"

#include <map>

#include "platform/jet/sql/FuncionesVba.h"

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
    {"SUM", 1, 1, true, T::SumaMoneda, F::Llamada, "SUM", false, "jet_summoneda", false, 0,
     "jet_sumdecimal"},
    {"AVG", 1, 1, true, T::Otro, F::Llamada, "AVG", false, nullptr, false, 0, "jet_avgdecimal"},
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
    {"CSNG", 1, 1, false, T::Otro, F::Llamada, "jet_csng"},
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
    // The VBA functions Jet lends to SQL (FuncionesVba, Format in FormatoJet).
    {"CHR", 1, 1, false, T::Otro, F::Llamada, "jet_chr"},
    {"ASC", 1, 1, false, T::Otro, F::Llamada, "jet_asc"},
    {"STRING", 2, 2, false, T::Otro, F::Llamada, "jet_string"},
    {"STRCOMP", 2, 3, false, T::Otro, F::Llamada, "jet_strcomp"},
    {"INSTRREV", 2, 4, false, T::Otro, F::Llamada, "jet_instrrev"},
    {"STRREVERSE", 1, 1, false, T::Otro, F::Llamada, "jet_strreverse"},
    {"REPLACE", 3, 6, false, T::Otro, F::Llamada, "jet_replace"},
    {"MONTHNAME", 1, 2, false, T::Otro, F::Llamada, "jet_monthname"},
    {"ATN", 1, 1, false, T::Otro, F::Llamada, "jet_atn"},
    {"LOG", 1, 1, false, T::Otro, F::Llamada, "jet_log"},
    {"EXP", 1, 1, false, T::Otro, F::Llamada, "jet_exp"},
    {"RND", 0, 1, false, T::Otro, F::Llamada, "jet_rnd", false, nullptr, true},
    {"HEX", 1, 1, false, T::Otro, F::Llamada, "jet_hex"},
    {"OCT", 1, 1, false, T::Otro, F::Llamada, "jet_oct"},
    {"ISNUMERIC", 1, 1, false, T::Otro, F::EsNumerico, "jet_isnumeric"},
    {"ISDATE", 1, 1, false, T::Otro, F::EsFecha, "jet_isdate"},
    {"CBOOL", 1, 1, false, T::Otro, F::Llamada, "jet_cbool"},
    {"CBYTE", 1, 1, false, T::Otro, F::Llamada, "jet_cbyte"},
    {"CVAR", 1, 1, false, T::ComoArgumento, F::Llamada, "jet_cvar"},
    {"CCUR", 1, 1, false, T::Moneda, F::Llamada, "jet_ccur"},
    {"CDATE", 1, 1, false, T::Fecha, F::Llamada, "jet_cdate"},
    {"CVDATE", 1, 1, false, T::Fecha, F::Llamada, "jet_cvdate"},
    {"DATEVALUE", 1, 1, false, T::Fecha, F::Llamada, "jet_datevalue"},
    {"TIMEVALUE", 1, 1, false, T::Fecha, F::Llamada, "jet_timevalue"},
    {"TIMESERIAL", 3, 3, false, T::Fecha, F::Llamada, "jet_timeserial"},
    {"NOW", 0, 0, false, T::Fecha, F::Llamada, "jet_now", false, nullptr, true},
    {"DATE", 0, 0, false, T::Fecha, F::Llamada, "jet_date", false, nullptr, true},
    {"TIME", 0, 0, false, T::Fecha, F::Llamada, "jet_time", false, nullptr, true},
    {"WEEKDAY", 1, 2, false, T::Otro, F::Llamada, "jet_weekday"},
    {"DATEADD", 3, 3, false, T::Fecha, F::Llamada, "jet_dateadd"},
    {"DATEDIFF", 3, 5, false, T::Otro, F::Llamada, "jet_datediff"},
    {"DATEPART", 2, 4, false, T::Otro, F::Llamada, "jet_datepart"},
    {"SWITCH", 2, kMaxArgumentos, false, T::Otro, F::Llamada, "jet_switch"},
    {"CHOOSE", 2, kMaxArgumentos, false, T::Otro, F::Llamada, "jet_choose"},
    {"FORMAT", 1, 4, false, T::Otro, F::Formato, "jet_format", false, nullptr, false, 5},
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
