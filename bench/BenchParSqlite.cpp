// The naive peer's inputs: bench_par_sqlite ARCHIVO.mdb CONSULTAS.csv EXTENSION DESTINO
// writes DESTINO.db, the tables the run reads copied as the engine copies
// them (same declared types, same values), and DESTINO.sql, for the `sqlite3`
// program: `.load EXTENSION`, then the whole SQLite text of every answer
// statement, each computing its derived tables itself, one after another.
#include <sqlite3.h>

#include <fstream>
#include <iostream>
#include <string>

#include "bench/ConsultasCsv.h"
#include "platform/jet/ErroresJet.h"
#include "platform/jet/Instantanea.h"
#include "platform/jet/MotorJet.h"

namespace {

constexpr const char* kTablas[] = {"tEmpresa", "tEmps",    "tCompUsr", "tSector",
                                   "tDivisas", "tCliente", "tMovtos",  "tProces"};

void CopiaEnArchivo(sqlite3* origen, const std::string& sDestino) {
    std::remove(sDestino.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open(sDestino.c_str(), &db) != SQLITE_OK)
        throw jet::ErrorJet(jet::TErrorJet::Motor, {"no se pudo crear " + sDestino});
    sqlite3_backup* b = sqlite3_backup_init(db, "main", origen, "main");
    const int rc = b ? sqlite3_backup_step(b, -1) : SQLITE_ERROR;
    sqlite3_backup_finish(b);
    const std::string sError = sqlite3_errmsg(db);
    sqlite3_close(db);
    if (rc != SQLITE_DONE)
        throw jet::ErrorJet(jet::TErrorJet::Motor,
                            {"no se pudo copiar a " + sDestino + ": " + sError});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "uso: bench_par_sqlite ARCHIVO.mdb CONSULTAS.csv EXTENSION DESTINO\n";
        return 2;
    }
    const std::string sRuta = argv[1], sDestino = argv[4];
    auto abre = [&] { return jet::TArchivoAccess::Abre(sRuta, "quilon"); };  // norvexgen's
    try {
        jet::TInstantanea copia(abre, &jet::TArchivoAccess::FirmaEnDisco, [] {});
        copia.Actualiza();
        for (const char* t : kTablas) copia.DameTabla(t);
        CopiaEnArchivo(copia.Db(), sDestino + ".db");

        jet::TMotorJet motor(abre, &jet::TArchivoAccess::FirmaEnDisco);
        std::ofstream sql(sDestino + ".sql");
        sql << ".load " << argv[3] << "\n";
        int n = 0;
        for (const auto& [sPregunta, sSql] : LeeConsultas(argv[2]))
            if (sSql.starts_with("SELECT"))
                sql << motor.Traduce(sSql) << ";\n", ++n;
        std::cout << n << " consultas\n";
    } catch (const jet::EErrorJet& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
