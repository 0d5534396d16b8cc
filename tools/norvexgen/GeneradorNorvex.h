#pragma once

#include <cstdint>
#include <filesystem>

namespace norvex {

struct TOpcionesNorvex {
    int64_t nLineas = 5000;  // operation lines over tMovtos and tProces together
    uint64_t nSemilla = 1;
    int64_t nClientes = 0;  // rows of tCliente; 0: one per 25 lines
    // 0: one folder. N: the same centre as N branches, folders
    // sucursal-1 (the head office) to sucursal-N, each with the whole
    // catalogues (companies, users, sectors, currencies, clients) and a
    // share of the operations (every line of one operation in one branch)
    // and of the alerts; together they hold exactly the one folder's rows.
    int64_t nSucursales = 0;
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
    // Fewest clients: the 14 named ones (the general public, the centre's
    // counterparts, the names that need care) and 60 drawn ones, so that
    // both companies have clients of every kind to draw operations from.
    static constexpr int64_t kMinClientes = 74;
    static void Genera(const std::filesystem::path& dir, const TOpcionesNorvex& opciones);
    static constexpr int64_t kMaxSucursales = 99;
    // The folder of branch n (1 to N) below dir.
    static std::filesystem::path CarpetaSucursal(const std::filesystem::path& dir, int64_t n);
};

}  // namespace norvex
