#pragma once

#include <string>
#include <utility>
#include <vector>

// The (question, statement) pairs of the CSV that `cuestionario-kova
// --consultas` writes, header left out.
std::vector<std::pair<std::string, std::string>> LeeConsultas(const std::string& sRuta);
