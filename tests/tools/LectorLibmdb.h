#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/jet/TValorJet.h"

// An Access file as libmdb reads it, values exact: numbers and dates from
// their stored bytes, texts and memos as libmdb decodes them (UTF-8).
struct TTablaLibmdb {
    std::string sNombre;
    std::vector<std::string> columnas;
    std::vector<int> tipos;  // libmdb's type codes (Jet's)
    std::vector<int> tamanos;
    std::vector<std::vector<jet::TValor>> filas;
};

// User tables in catalogue order; throws std::runtime_error when libmdb
// cannot open the file.
std::vector<TTablaLibmdb> LeeConLibmdb(const std::string& sRuta);
