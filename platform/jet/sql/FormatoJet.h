#pragma once

#include <optional>
#include <string>

namespace jet::sql {

// The value Format works on: a number, a date (its day serial), text that
// is neither, or Null.
struct ValorFormato {
    enum Tipo { Nulo, Numero, Fecha, Texto } eTipo = Texto;
    double d = 0;
    std::string sTexto;
};

// VBA's Format: named formats ("Currency", "Fixed", "Standard", "Percent",
// "Scientific", "General Number", "Yes/No", "Short Date", "Long Date",
// "Medium Date", "General Date", "Long Time", "Medium Time", "Short Time")
// and patterns of numbers ("#,##0.00;(#,##0.00);\"cero\"") and dates
// ("yyyy-mm-dd hh:nn"). Numbers round half away from zero, as Format does;
// separators, names of months and days and the order of day and month
// come from the process's locale. Nothing when the answer is Null. The
// tokens "w" and "ww" count from firstdayofweek (1 Sunday .. 7 Saturday)
// and firstweekofyear (1 the week of January 1, 2 the first with four
// days, 3 the first whole week), as DatePart does.
std::optional<std::string> FormatoJet(const ValorFormato& v, const std::string& sFormato,
                                      int nPrimerDia = 1, int nPrimeraSemana = 1);

// The name of a month (1..12) or of a day of the week (1 Sunday .. 7).
std::string NombreMes(int nMes, bool bCorto);
std::string NombreDia(int nDia, bool bCorto);

}  // namespace jet::sql
