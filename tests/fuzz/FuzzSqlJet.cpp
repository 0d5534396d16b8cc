// libFuzzer harness: arbitrary text through the Jet SQL tokenizer, parser,
// binder, rewrites and printer, then prepared and run on the snapshot of a real Norvex
// database. Only EErrorJet may come out; anything else (another exception, a
// crash, a sanitizer report) is a finding. KOVA_FUZZ_BD names the database
// (written by norvexgen), KOVA_FUZZ_CONTRASENA its password.
#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/jet/EErrorJet.h"
#include "platform/jet/Instantanea.h"
#include "platform/jet/TArchivoAccess.h"
#include "platform/jet/sql/Compilador.h"
#include "platform/jet/sql/Parser.h"
#include "platform/jet/sql/Tokenizer.h"

namespace {

std::unique_ptr<jet::TInstantanea> gInstantanea;
int gPasos = 0;

// A statement may legitimately take long (a cross join of big tables); the
// fuzzer looks for faults, not for slow queries, so a run is cut short.
int Corta(void*) {
    return ++gPasos > 2000;
}

std::string Entorno(const char* s) {
    const char* v = std::getenv(s);
    return v ? v : "";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string sRuta = Entorno("KOVA_FUZZ_BD");
    const std::string sContrasena = Entorno("KOVA_FUZZ_CONTRASENA");
    if (sRuta.empty())
        return 0;
    gInstantanea = std::make_unique<jet::TInstantanea>(
        [=] { return jet::TArchivoAccess::Abre(sRuta, sContrasena); },
        [](const std::string& s) { return jet::TArchivoAccess::FirmaEnDisco(s); }, [] {});
    gInstantanea->Actualiza();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string sSql(reinterpret_cast<const char*>(data), size);
    try {
        jet::sql::Tokenizer::Divide(sSql);
        if (!gInstantanea) {
            jet::sql::Parser::Analiza(sSql);
            return 0;
        }
        // Derived tables are not kept: each input runs on its own.
        jet::sql::TOpciones opciones;
        opciones.Pon("guarda", false);
        const jet::sql::TTraduccion generado = jet::sql::Compila(sSql, *gInstantanea, opciones);
        sqlite3* db = gInstantanea->Db();
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, generado.sSql.c_str(), static_cast<int>(generado.sSql.size()),
                               &st, nullptr) == SQLITE_OK) {
            gPasos = 0;
            sqlite3_progress_handler(db, 1000, Corta, nullptr);
            while (sqlite3_step(st) == SQLITE_ROW) {
                for (int i = 0; i < sqlite3_column_count(st); ++i) sqlite3_column_text(st, i);
            }
            sqlite3_progress_handler(db, 0, nullptr, nullptr);
        }
        sqlite3_finalize(st);
    } catch (const jet::EErrorJet&) {
        // A refused statement: what the user sees as a BD-101 box.
    }
    return 0;
}
