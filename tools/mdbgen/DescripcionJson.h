#pragma once

#include <istream>
#include <string>

#include <nlohmann/json.hpp>

namespace mdb {

// The JSON description of a database, written as an Access file:
//   {"password": "…", "creation_date": "YYYY-MM-DD[ HH:MM:SS]",
//    "tables": [{"name": "…", "columns": [{"name": "…", "type": "text", "size": 20}, …],
//                "rows": [[…], …]}]}
// Types: text, memo, byte, integer, long, single, double, currency (a number
// or a decimal string, at most 4 decimals), boolean, datetime.
//
// Rows are written while the text is read and then forgotten, so a
// description of millions of rows needs little memory (when a table's
// "rows" come after its "name" and "columns", as they usually do).
class TDescripcionJson {
public:
    // Throws EErrorMdb naming the table, row and column at fault (or the
    // place of a JSON syntax error); the file is then not created: it is
    // written aside and renamed when complete.
    static void Escribe(std::istream& entrada, const std::string& sSalida);
    static void Escribe(const nlohmann::json& descripcion, const std::string& sSalida);
};

}  // namespace mdb
