// Export to SQLite and to CSV folders: every shared file that opens, read
// back and compared value by value with what jetsql itself answers.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "TDirTemporal.h"
#include "platform/ado/TADOConnection.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/MotorJet.h"
#include "platform/jet/TArchivoAccess.h"
#include "platform/jet/TextoValor.h"
#include "tests/tools/JetsqlPrograma.h"
#include "tools/jetsql/ExportaCsv.h"
#include "tools/jetsql/ExportaSqlite.h"
#include "tools/jetsql/ValoresJetsql.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<ado::TADOConnection> Abre(const std::string& sRuta) {
    auto c = std::make_unique<ado::TADOConnection>();
    c->SetConnectionString(std::string("Provider=") + ado::sProveedorJet + ";Data Source=" + sRuta +
                           ";Jet OLEDB:Database Password=");
    c->SetLoginPrompt(false);
    try {
        c->SetConnected(true);
    } catch (const jet::EErrorJet&) {
        return nullptr;
    }
    return c;
}

std::vector<std::string> Nombres(const fs::path& dir) {
    std::vector<std::string> r;
    for (const auto& e : fs::directory_iterator(dir)) r.push_back(e.path().filename().string());
    std::sort(r.begin(), r.end());
    return r;
}

// One SQLite cell against the value the engine gives for the same field.
void Compara(sqlite3_stmt* st, int c, const jet::TValor& esperado, const std::string& sDonde) {
    const int nTipo = sqlite3_column_type(st, c);
    auto texto = [&] {
        return std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                           sqlite3_column_bytes(st, c));
    };
    std::visit(TSobrecarga{
                   [&](std::monostate) { EXPECT_EQ(nTipo, SQLITE_NULL) << sDonde; },
                   [&](bool b) {
                       ASSERT_EQ(nTipo, SQLITE_INTEGER) << sDonde;
                       EXPECT_EQ(sqlite3_column_int64(st, c), b ? 1 : 0) << sDonde;
                   },
                   [&](int64_t n) {
                       ASSERT_EQ(nTipo, SQLITE_INTEGER) << sDonde;
                       EXPECT_EQ(sqlite3_column_int64(st, c), n) << sDonde;
                   },
                   [&](double d) {
                       ASSERT_EQ(nTipo, SQLITE_FLOAT) << sDonde;
                       const double x = sqlite3_column_double(st, c);
                       EXPECT_EQ(std::memcmp(&x, &d, sizeof d), 0) << sDonde << ": " << x;
                   },
                   [&](const jet::TMoneda& m) {
                       ASSERT_EQ(nTipo, SQLITE_TEXT) << sDonde;
                       EXPECT_EQ(texto(), TextoMonedaExacto(m)) << sDonde;
                   },
                   [&](const jet::TFecha& f) {
                       ASSERT_EQ(nTipo, SQLITE_TEXT) << sDonde;
                       EXPECT_EQ(texto(), jet::TextoValor(f)) << sDonde;
                   },
                   [&](const std::string& s) {
                       ASSERT_EQ(nTipo, SQLITE_TEXT) << sDonde;
                       EXPECT_EQ(texto(), s) << sDonde;
                   },
                   [&](const jet::TSimple& f) {
                       ASSERT_EQ(nTipo, SQLITE_FLOAT) << sDonde;
                       EXPECT_EQ(sqlite3_column_double(st, c), static_cast<double>(f.fValor))
                           << sDonde;
                   },
                   [&](const jet::TDecimal& d) {
                       ASSERT_EQ(nTipo, SQLITE_TEXT) << sDonde;
                       EXPECT_EQ(texto(), jet::TextoValor(d)) << sDonde;
                   },
                   [&](const jet::TBytes& b) {
                       ASSERT_EQ(nTipo, SQLITE_BLOB) << sDonde;
                       EXPECT_EQ(std::string(static_cast<const char*>(sqlite3_column_blob(st, c)),
                                             sqlite3_column_bytes(st, c)),
                                 b.bytes)
                           << sDonde;
                   },
                   [&](const jet::TAdjuntos& a) {
                       ASSERT_EQ(nTipo, SQLITE_TEXT) << sDonde;
                       EXPECT_EQ(texto(), jet::TextoAdjuntos(a)) << sDonde;
                   },
               },
               esperado);
}

TEST(JetsqlExporta, CadaArchivoCompartidoSeLeeIgualEnSqlite) {
    int nExportados = 0;
    for (const auto& entrada : fs::directory_iterator(std::string(KOVA_FIXTURES) + "/mdb")) {
        const std::string sArchivo = entrada.path().string();
        const auto conexion = Abre(sArchivo);
        if (!conexion)
            continue;  // not every shared file opens yet
        SCOPED_TRACE(sArchivo);
        const std::string sAntes = Lee(sArchivo);
        const auto tAntes = fs::last_write_time(sArchivo);
        TDirTemporal tmp;
        const auto destino = tmp / "copia.db";
        const auto r = EjecutaJetsqlCon({sArchivo, "--exportar-sqlite", destino.string()}, "");
        ASSERT_EQ(r.nSalida, 0) << r.sErrores;
        EXPECT_EQ(r.sSalida, "");
        EXPECT_EQ(Nombres(tmp.ruta()), std::vector<std::string>{"copia.db"});
        EXPECT_EQ(Lee(sArchivo), sAntes);
        EXPECT_EQ(fs::last_write_time(sArchivo), tAntes);
        ++nExportados;

        sqlite3* pDb = nullptr;
        ASSERT_EQ(sqlite3_open_v2(destino.c_str(), &pDb, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(pDb, sqlite3_close);
        std::string sProgreso;
        for (const auto& sTabla : conexion->Archivo().DameNombresTablas()) {
            const auto esperado = conexion->Motor().Ejecuta("SELECT * FROM [" + sTabla + "]");
            const size_t nFilas = esperado.filas.size();
            sProgreso +=
                sTabla + ": " + std::to_string(nFilas) + (nFilas == 1 ? " fila\n" : " filas\n");
            sqlite3_stmt* pSt = nullptr;
            ASSERT_EQ(sqlite3_prepare_v2(
                          db.get(), ("SELECT * FROM \"" + sTabla + "\" ORDER BY rowid").c_str(), -1,
                          &pSt, nullptr),
                      SQLITE_OK)
                << sqlite3_errmsg(db.get());
            std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> st(pSt, sqlite3_finalize);
            ASSERT_EQ(sqlite3_column_count(st.get()), static_cast<int>(esperado.columnas.size()));
            for (size_t c = 0; c < esperado.columnas.size(); ++c)
                EXPECT_EQ(sqlite3_column_name(st.get(), c), esperado.columnas[c]);
            size_t f = 0;
            for (; sqlite3_step(st.get()) == SQLITE_ROW && f < nFilas; ++f)
                for (size_t c = 0; c < esperado.columnas.size(); ++c)
                    Compara(st.get(), static_cast<int>(c), esperado.filas[f][c],
                            sTabla + "." + esperado.columnas[c] + " fila " + std::to_string(f));
            EXPECT_EQ(f, nFilas) << sTabla;
        }
        EXPECT_EQ(r.sErrores, sProgreso);
    }
    EXPECT_GE(nExportados, 4);
}

// The declared types tell SQLite how to keep each kind: exact currency and
// dates as text, Yes/No as 0/1, floating point as REAL.
TEST(JetsqlExporta, LosTiposDeclaradosGuardanCadaValorSinPerderlo) {
    TDirTemporal tmp;
    const auto destino = tmp / "t.db";
    ASSERT_EQ(
        EjecutaJetsqlCon({FixtureMdb("jet4-types.mdb"), "--exportar-sqlite", destino.string()}, "")
            .nSalida,
        0);
    sqlite3* pDb = nullptr;
    ASSERT_EQ(sqlite3_open_v2(destino.c_str(), &pDb, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(pDb, sqlite3_close);
    std::string s;
    auto fila = [](void* p, int n, char** v, char**) {
        auto& t = *static_cast<std::string*>(p);
        for (int i = 0; i < n; ++i) t += std::string(i ? "|" : "") + (v[i] ? v[i] : "NULL");
        t += "\n";
        return 0;
    };
    ASSERT_EQ(sqlite3_exec(db.get(),
                           "SELECT type FROM pragma_table_info('Table1');"
                           "SELECT typeof(H), H, typeof(I), I, typeof(G), G, typeof(F), F FROM "
                           "Table1 ORDER BY rowid",
                           fila, &s, nullptr),
              SQLITE_OK);
    EXPECT_EQ(s,
              "TEXT\nTEXT\nINTEGER\nINTEGER\nINTEGER\nREAL\nTEXT\nTEXT\nINTEGER\n"
              "text|3.5|integer|1|text|1974-09-21 00:00:00|real|444.555\n"
              "text|0|integer|0|text|1981-12-12 00:00:00|real|0.0\n");
}

TEST(JetsqlExporta, UnaSalidaQueYaExisteSoloSeReemplazaSiSePide) {
    TDirTemporal tmp;
    const std::string sOrigen = FixtureMdb("jet4-no-password.mdb");
    // A copy of the Access file stands for the user's file next to the output.
    fs::copy_file(sOrigen, tmp / "norvex.mdb");
    const std::string sCopia = (tmp / "norvex.mdb").string();
    const std::string sAccess = Lee(sCopia);
    std::ofstream(tmp / "salida.db") << "anterior";
    fs::create_directory(tmp / "carpeta");
    std::ofstream(tmp / "carpeta" / "vieja.csv") << "x";

    struct {
        std::vector<std::string> args;
        int nSalida;
        std::string sErrores;
    } casos[] = {
        {{sCopia, "--exportar-sqlite", (tmp / "salida.db").string()},
         1,
         "EExportacion - Ya existe '" + (tmp / "salida.db").string() +
             "'; --sobrescribir lo reemplaza.\n"},
        {{sCopia, "--exportar-csv", (tmp / "carpeta").string()},
         1,
         "EExportacion - Ya existe '" + (tmp / "carpeta").string() +
             "'; --sobrescribir lo reemplaza.\n"},
        // Never over the Access file, nor over the folder that holds it.
        {{sCopia, "--exportar-sqlite", sCopia, "--sobrescribir"},
         1,
         "EExportacion - La exportación reemplazaría el propio archivo de Access '" + sCopia +
             "'.\n"},
        {{sCopia, "--exportar-csv", tmp.ruta().string(), "--sobrescribir"},
         1,
         "EExportacion - La exportación reemplazaría el propio archivo de Access '" + sCopia +
             "'.\n"},
        {{sCopia, "--exportar-csv", (tmp / "salida.db").string(), "--sobrescribir"},
         1,
         "EExportacion - '" + (tmp / "salida.db").string() + "' ya existe y no es una carpeta.\n"},
        {{sCopia, "--exportar-sqlite", (tmp / "no" / "hay.db").string()},
         1,
         "EExportacion - No se puede escribir junto a '" + (tmp / "no" / "hay.db").string() +
             "'.\n"},
    };
    for (const auto& c : casos) {
        const auto r = EjecutaJetsqlCon(c.args, "");
        EXPECT_EQ(r.nSalida, c.nSalida) << c.args[2];
        EXPECT_EQ(r.sErrores, c.sErrores);
        // Nothing half-written is left, and nothing was replaced.
        EXPECT_EQ(Nombres(tmp.ruta()),
                  (std::vector<std::string>{"carpeta", "norvex.mdb", "salida.db"}));
        EXPECT_EQ(Lee(tmp / "salida.db"), "anterior");
        EXPECT_EQ(Nombres(tmp / "carpeta"), std::vector<std::string>{"vieja.csv"});
        EXPECT_EQ(Lee(sCopia), sAccess);
    }

    auto r = EjecutaJetsqlCon(
        {sCopia, "--exportar-sqlite", (tmp / "salida.db").string(), "--sobrescribir"}, "");
    EXPECT_EQ(r.nSalida, 0) << r.sErrores;
    EXPECT_EQ(Lee(tmp / "salida.db").substr(0, 16), std::string("SQLite format 3\0", 16));
    r = EjecutaJetsqlCon({sCopia, "--exportar-csv", (tmp / "carpeta").string(), "--sobrescribir"},
                         "");
    EXPECT_EQ(r.nSalida, 0) << r.sErrores;
    EXPECT_EQ(r.sErrores, "Table1: 3 filas\n");
    EXPECT_EQ(Nombres(tmp / "carpeta"), std::vector<std::string>{"Table1.csv"});
    EXPECT_EQ(Nombres(tmp.ruta()),
              (std::vector<std::string>{"carpeta", "norvex.mdb", "salida.db"}));
    EXPECT_EQ(Lee(sCopia), sAccess);
}

// Each table's file holds what jetsql answers for SELECT * on that table.
TEST(JetsqlExporta, UnCsvPorTablaComoLoEscribeJetsql) {
    for (const std::string sNombre : {"jet4-types.mdb", "jet4-dates.mdb", "jet3-types.mdb"}) {
        TDirTemporal tmp;
        const auto carpeta = tmp / "csv";
        const std::string sArchivo = FixtureMdb(sNombre);
        const auto r = EjecutaJetsqlCon({sArchivo, "--exportar-csv", carpeta.string()}, "");
        ASSERT_EQ(r.nSalida, 0) << r.sErrores;
        const auto conexion = Abre(sArchivo);
        ASSERT_TRUE(conexion);
        std::vector<std::string> esperados;
        for (const auto& sTabla : conexion->Archivo().DameNombresTablas()) {
            esperados.push_back(sTabla + ".csv");
            const auto consulta =
                EjecutaPrograma(ProgramaJetsql(), {sArchivo, "SELECT * FROM [" + sTabla + "]"});
            EXPECT_EQ(Lee(carpeta / (sTabla + ".csv")), consulta.sSalida)
                << sNombre << " " << sTabla;
        }
        std::sort(esperados.begin(), esperados.end());
        EXPECT_EQ(Nombres(carpeta), esperados);
    }
}

// Ctrl-C while the first table's progress line is written: the export
// stops at the next row or table and leaves nothing behind.
class TInterrumpeAlEscribir : public std::streambuf {
protected:
    int overflow(int c) override {
        raise(SIGINT);
        return c;
    }
};

TEST(JetsqlExporta, UnaInterrupcionNoDejaNadaEscrito) {
    const auto conexion = Abre(FixtureMdb("jet4-types.mdb"));
    ASSERT_TRUE(conexion);
    for (const bool bSqlite : {true, false}) {
        TDirTemporal tmp;
        TInterrumpeAlEscribir buf;
        std::ostream progreso(&buf);
        const std::string sDestino = (tmp / "salida").string();
        try {
            if (bSqlite)
                ExportaSqlite(conexion->Archivo(), sDestino, false, progreso);
            else
                ExportaCsv(conexion->Archivo(), sDestino, false, progreso);
            ADD_FAILURE() << "la exportación no se detuvo";
        } catch (const jet::EErrorJet& e) {
            EXPECT_EQ(e.Clase(), "EExportacion");
            EXPECT_EQ(e.Mensaje(), "Exportación interrumpida; no queda nada escrito.");
        }
        EXPECT_EQ(Nombres(tmp.ruta()), std::vector<std::string>{});
    }
}

// A column the reader cannot read never reaches an export as Null: the export
// fails naming it, or leaves it out when asked and says so.
TEST(JetsqlExporta, UnaColumnaIlegibleFallaOSeOmiteAvisando) {
    TDirTemporal tmp;
    std::string sBytes = Lee(FixtureMdb("jet4-types.mdb"));
    // Table1's definition (page 24): column C, a Byte, takes a type code
    // Access keeps for its own storage, which jetsql cannot read. The column
    // entries follow the real indexes' (12 bytes each, their count at 51).
    const size_t nDefinicion = 24 * 4096;
    const size_t nColumnaC = nDefinicion + 63 + 12 * size_t(sBytes[nDefinicion + 51]) + 2 * 25;
    ASSERT_EQ(sBytes[nColumnaC], '\x02');
    sBytes[nColumnaC] = '\x0d';
    const std::string sArchivo = (tmp / "ilegible.mdb").string();
    std::ofstream(sArchivo, std::ios::binary) << sBytes;

    const std::string sFalla =
        "ETipoNoSoportado - No se puede leer la columna 'C' de la tabla 'Table1': es de tipo "
        "desconocido (código 13), que este programa no lee.\n"
        "Nada se exportó; --omitir-ilegibles exporta las demás columnas.\n";
    for (const char* sExporta : {"--exportar-csv", "--exportar-sqlite"}) {
        const auto r = EjecutaJetsqlCon({sArchivo, sExporta, (tmp / "salida").string()}, "");
        EXPECT_EQ(r.nSalida, 1) << sExporta;
        EXPECT_EQ(r.sErrores, sFalla) << sExporta;
        EXPECT_FALSE(fs::exists(tmp / "salida")) << sExporta;
    }

    const auto r = EjecutaJetsqlCon(
        {sArchivo, "--exportar-csv", (tmp / "csv").string(), "--omitir-ilegibles"}, "");
    EXPECT_EQ(r.nSalida, 0) << r.sErrores;
    EXPECT_NE(r.sErrores.find("Aviso: se omite la columna 'C' de la tabla 'Table1': es de tipo "
                              "desconocido (código 13)"),
              std::string::npos)
        << r.sErrores;
    const std::string sCsv = Lee(tmp / "csv" / "Table1.csv");
    EXPECT_TRUE(sCsv.starts_with("A,B,D,E,F,G,H,I\r\n")) << sCsv;
}

}  // namespace
