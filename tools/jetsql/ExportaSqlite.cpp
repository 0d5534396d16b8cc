#include "tools/jetsql/ExportaSqlite.h"

#include <sqlite3.h>

#include <memory>

#include "platform/jet/ErroresJet.h"
#include "platform/jet/TextoValor.h"
#include "tools/jetsql/ColumnasExportables.h"
#include "tools/jetsql/DestinoExportacion.h"
#include "tools/jetsql/ValoresJetsql.h"

namespace {

struct TCierraBase {
    void operator()(sqlite3* p) const { sqlite3_close(p); }
};
struct TFinaliza {
    void operator()(sqlite3_stmt* p) const { sqlite3_finalize(p); }
};
using PBase = std::unique_ptr<sqlite3, TCierraBase>;
using PSentencia = std::unique_ptr<sqlite3_stmt, TFinaliza>;

[[noreturn]] void FallaSqlite(sqlite3* db, const std::string& sQue) {
    throw jet::ErrorJet(jet::TErrorJet::Exportacion, {sQue + ": " + sqlite3_errmsg(db)});
}

void Ejecuta(sqlite3* db, const std::string& sSql) {
    if (sqlite3_exec(db, sSql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        FallaSqlite(db, "SQLite no aceptó '" + sSql.substr(0, 80) + "'");
}

std::string Nombre(const std::string& s) {
    std::string r = "\"";
    for (const char c : s) r += c == '"' ? std::string("\"\"") : std::string(1, c);
    return r + "\"";
}

std::string TipoSqlite(jet::TTipoColumna eTipo) {
    switch (eTipo) {
        case jet::TTipoColumna::tcBooleano:
        case jet::TTipoColumna::tcByte:
        case jet::TTipoColumna::tcEntero:
        case jet::TTipoColumna::tcEnteroLargo:
        case jet::TTipoColumna::tcEnteroGrande:
            return " INTEGER";
        case jet::TTipoColumna::tcBinario:
            return " BLOB";
        case jet::TTipoColumna::tcSimple:
        case jet::TTipoColumna::tcDoble:
            return " REAL";
        case jet::TTipoColumna::tcMoneda:
        case jet::TTipoColumna::tcFechaHora:
        case jet::TTipoColumna::tcTexto:
        case jet::TTipoColumna::tcMemo:
        case jet::TTipoColumna::tcDecimal:
        case jet::TTipoColumna::tcGuid:
        case jet::TTipoColumna::tcAdjunto:
            return " TEXT";
        default:
            return "";
    }
}

int EnlazaTexto(sqlite3_stmt* st, int i, const std::string& s) {
    return sqlite3_bind_text64(st, i, s.data(), s.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

// One value into its parameter; one function per kind.
int Enlaza(sqlite3_stmt* st, int i, const jet::TValor& valor) {
    return std::visit(
        TSobrecarga{
            [&](std::monostate) { return sqlite3_bind_null(st, i); },
            [&](bool b) { return sqlite3_bind_int(st, i, b ? 1 : 0); },
            [&](int64_t n) { return sqlite3_bind_int64(st, i, n); },
            [&](double d) { return sqlite3_bind_double(st, i, d); },
            [&](const jet::TMoneda& m) { return EnlazaTexto(st, i, TextoMonedaExacto(m)); },
            [&](const jet::TFecha& f) { return EnlazaTexto(st, i, jet::TextoValor(f)); },
            [&](const std::string& s) { return EnlazaTexto(st, i, s); },
            [&](const jet::TSimple& f) { return sqlite3_bind_double(st, i, f.fValor); },
            [&](const jet::TDecimal& d) { return EnlazaTexto(st, i, jet::TextoValor(d)); },
            [&](const jet::TBytes& b) {
                return sqlite3_bind_blob64(st, i, b.bytes.data(), b.bytes.size(), SQLITE_TRANSIENT);
            },
            [&](const jet::TAdjuntos& a) { return EnlazaTexto(st, i, jet::TextoAdjuntos(a)); },
        },
        valor);
}

int64_t ExportaTabla(const jet::TArchivoAccess& archivo, const jet::TTabla& tabla, sqlite3* db,
                     const TDestinoExportacion& destino, const std::vector<size_t>& columnas) {
    std::string sCrea = "CREATE TABLE " + Nombre(tabla.sNombre) + " (";
    std::string sInserta = "INSERT INTO " + Nombre(tabla.sNombre) + " VALUES (";
    for (size_t i = 0; i < columnas.size(); ++i) {
        const jet::TColumna& col = tabla.columnas[columnas[i]];
        sCrea += (i ? ", " : "") + Nombre(col.sNombre) + TipoSqlite(col.eTipo);
        sInserta += i ? ", ?" : "?";
    }
    Ejecuta(db, "BEGIN");
    Ejecuta(db, sCrea + ")");
    sqlite3_stmt* pSt = nullptr;
    if (sqlite3_prepare_v2(db, (sInserta + ")").c_str(), -1, &pSt, nullptr) != SQLITE_OK)
        FallaSqlite(db, "No se pudo preparar la copia de '" + tabla.sNombre + "'");
    PSentencia st(pSt);
    int64_t nFilas = 0;
    archivo.LeeFilas(tabla.sNombre, [&](const std::vector<jet::TValor>& fila) {
        destino.Comprueba();
        for (size_t i = 0; i < columnas.size(); ++i)
            if (Enlaza(st.get(), static_cast<int>(i + 1), fila[columnas[i]]) != SQLITE_OK)
                FallaSqlite(db, "No se pudo copiar un valor de '" + tabla.sNombre + "'");
        if (sqlite3_step(st.get()) != SQLITE_DONE)
            FallaSqlite(db, "No se pudo copiar una fila de '" + tabla.sNombre + "'");
        sqlite3_reset(st.get());
        ++nFilas;
    });
    st.reset();
    Ejecuta(db, "COMMIT");
    return nFilas;
}

}  // namespace

void ExportaSqlite(const jet::TArchivoAccess& archivo, const std::string& sDestino,
                   bool bSobrescribir, std::ostream& progreso, bool bOmitirIlegibles) {
    RevisaColumnasExportables(archivo, bOmitirIlegibles);
    TDestinoExportacion destino(sDestino, archivo.Ruta(), bSobrescribir, false);
    {
        sqlite3* pDb = nullptr;
        const int nAbre = sqlite3_open_v2(destino.Temporal().c_str(), &pDb,
                                          SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        PBase db(pDb);
        if (nAbre != SQLITE_OK)
            FallaSqlite(db.get(), "No se pudo crear '" + sDestino + "'");
        // The file is thrown away on any failure: no journal needed, and
        // it reaches the disk once, when it is whole.
        Ejecuta(db.get(), "PRAGMA journal_mode=OFF");
        Ejecuta(db.get(), "PRAGMA synchronous=OFF");
        for (const auto& sNombre : archivo.DameNombresTablas()) {
            const jet::TTabla* tabla = archivo.BuscaTabla(sNombre);
            destino.Comprueba();
            const int64_t nFilas =
                ExportaTabla(archivo, *tabla, db.get(), destino,
                             ColumnasExportables(*tabla, bOmitirIlegibles, progreso));
            progreso << sNombre << ": " << nFilas << (nFilas == 1 ? " fila\n" : " filas\n");
            progreso.flush();
        }
        if (sqlite3_close(db.release()) != SQLITE_OK)
            throw jet::ErrorJet(jet::TErrorJet::Exportacion,
                                {"No se pudo cerrar '" + sDestino + "'."});
    }
    destino.Confirma();
}
