#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The program's CSV (RFC 4180), written and read in one place: the batch's
// answers and statements, the evidence, jetsql's results and exports and the
// centre's answers all use it.
namespace jet {

// A field, quoted (its quotes doubled) only when it holds a comma, a double
// quote or a line break.
std::string CampoCsv(std::string_view s);

// One line: the fields as CampoCsv writes them, commas between, CR LF at
// the end.
std::string FilaCsv(const std::vector<std::string>& campos);
std::string FilaCsv(std::initializer_list<std::string> campos);

// One record of a CSV text and the line it starts on (counted from 1), so
// that a message can name the line the user sees in an editor even when a
// quoted field spans several lines.
struct TRegistroCsv {
    int nLinea = 0;
    std::vector<std::string> campos;
};

// Reads CSV: fields between double quotes may hold commas, line breaks and
// doubled quotes; lines end in CR LF, LF or CR; blank lines are skipped. The
// bytes are taken as they come (the caller checks their encoding). On
// malformed text (a quote left open, text after a closing quote, a quote
// inside an unquoted field) returns nothing and a Spanish message that
// names the line.
std::optional<std::vector<TRegistroCsv>> LeeCsv(std::string_view texto, std::string& sError);

}  // namespace jet
