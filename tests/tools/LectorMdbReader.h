#pragma once

#include <string>

#include <nlohmann/json.hpp>

// The JSON that lee_mdb_reader.mjs prints for a file: what the npm package
// mdb-reader reads. Throws std::runtime_error (with the reason) when node
// or mdb-reader is missing or the reader fails.
// bSistema lists the system tables too; binary values come as hex text.
nlohmann::json LeeConMdbReader(const std::string& sRuta, const std::string& sContrasena,
                               bool bSistema = false);
