#pragma once

#include <cstdint>
#include <vector>

#include "tools/mdbgen/ArchivoPaginas.h"

namespace mdb {

// The row that tells which pages belong to a table (or to a long-value
// column). Pages within one 512-page window fit in the row itself (map type
// 0); larger tables point from the row to bitmap pages of type 0x05, each
// covering 32,736 pages (map type 1), which are reserved and written here.
constexpr int kLargoMapa = 69;
std::vector<uint8_t> CreaMapaUso(const std::vector<uint32_t>& paginas, TArchivoPaginas& archivo);

}  // namespace mdb
