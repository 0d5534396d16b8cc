#pragma once

#include <cstdint>
#include <filesystem>

namespace norvex {

struct TOpcionesNorvex {
    int64_t nLineas = 5000;  // operation lines over tMovtos and tProces together
    uint64_t nSemilla = 1;
};

// Writes a Norvex folder as the back office leaves it: DataBase/Norvex.mdb
// (database password "quilon") and Norvex.INI (section Control,
// EmpresaActiva=1). The data look like a Mexican exchange centre's over
// 2015-2018: two companies; natural and legal, national and foreign
// clients; the general public; exchange centres, financial entities,
// exchange houses and banks; cash currencies, sight documents, the peso
// and a currency without symbol; cancelled lines, other kinds of lines,
// operations split over lines and tables; PEP and other alerts. The same
// seed and number of lines give the same bytes. Rows are streamed, so a
// million lines need little memory. Throws mdb::EErrorMdb or
// std::filesystem::filesystem_error.
class TGeneradorNorvex {
public:
    static constexpr const char* kContrasena = "quilon";
    static void Genera(const std::filesystem::path& dir, const TOpcionesNorvex& opciones);
};

}  // namespace norvex
