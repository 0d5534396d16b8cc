#pragma once

#include <optional>
#include <string>

namespace jet::sql {

// The one reader of a date written as text: a #date# literal of a statement
// and CDate, IsDate, DateValue, Format and a date argument given as text.
// Month/day/year (day first when that is no date), year-month-day, with "/",
// "-" or "." between them; a day with its month in letters ("15 de marzo de
// 2017", "March 15, 2017", "15-MAR-2017"; without a year, this year's); a time
// of day (hh:mm[:ss], AM/PM); or a date and a time. Years 0-29 are 2000-2029,
// 30-99 are 1930-1999; Jet's dates run from the year 100 to 9999. The day
// serial, or nothing when the text is no date.
std::optional<double> FechaDeTexto(const std::string& sTexto);

}  // namespace jet::sql
