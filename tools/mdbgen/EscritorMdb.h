#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/jet/TValorJet.h"
#include "tools/mdbgen/CifradorAgil.h"
#include "tools/mdbgen/ColumnaMdb.h"

namespace mdb {

class TArchivoPaginas;
class TTablaMdb;
class TPaginaDatos;

// Writes a Jet 4 (Access 2000) database, or an .accdb of the same layout
// (TOpciones::nVersion): header page with the masked
// database password, the MSysObjects catalogue and the other system tables
// Access expects, then the user tables. Tables are written one after the
// other and their rows streamed, so files of any size need little memory.
//
//   TEscritorMdb e("x.mdb", {.sContrasena = "secreto"});
//   e.CreaTabla("tCliente", {{"Clave", TTipoMdb::tmTexto, 20}});
//   e.AgregaFila({std::string("C001")});
//   e.Cierra();
//
// Every failure is an EErrorMdb. A writer that is destroyed without Cierra
// leaves an unusable file behind; the caller removes it.
class TEscritorMdb {
public:
    // 2000-01-01 00:00:00, so that output is reproducible unless asked otherwise.
    static constexpr double kFechaFija = 36526.0;
    // The header's version byte: Jet 4 (Access 2000), or the .accdb of
    // Access 2007 (2), 2010 (3), 2016 (5): the same pages, a few more types.
    static constexpr int kJet4 = 1, kAccess2007 = 2, kAccess2010 = 3, kAccess2016 = 5;
    struct TOpciones {
        std::string sContrasena;  // up to 20 characters; empty: none
        double dFechaCreacion = kFechaFija;
        int nVersion = kJet4;
        // Files of Access 2010 and later with a password: every page but the
        // first encrypted as Access does (Office's agile encryption); the
        // header then keeps no password.
        std::optional<TCifradorAgil::TParametros> cifrado{};
    };

    TEscritorMdb(const std::string& sRuta, TOpciones opciones);
    ~TEscritorMdb();
    TEscritorMdb(const TEscritorMdb&) = delete;
    TEscritorMdb& operator=(const TEscritorMdb&) = delete;

    // Password and date go to the header and catalogue only when closing, so
    // they may still change until then.
    void FijaOpciones(TOpciones opciones);
    // Starts a table; the previous one is finished.
    void CreaTabla(const std::string& sNombre, const std::vector<TColumnaMdb>& columnas);
    // A row of the table last created, one value per column: text, memo and
    // binary as std::string (UTF-8), byte/integer/long as int64_t, single
    // and double as double, currency as TMoneda, date/time as TFecha,
    // yes/no as bool (never null); std::monostate is null. A multi-valued
    // field's place is left null: its values, one list per such column in
    // the columns' order, come in multivalores (none given: no values).
    void AgregaFila(const std::vector<jet::TValor>& valores,
                    const std::vector<std::vector<jet::TValor>>& multivalores = {});
    void Cierra();

private:
    void CreaTablaSistema(const std::string& sNombre, const std::vector<TColumnaMdb>& columnas,
                          uint32_t nPagina);
    void TerminaActual();
    uint32_t GuardaMapa(const std::vector<uint32_t>& paginas);
    void EscribePermisos();
    void EscribeCatalogo();
    void EscribeMapaGlobal();
    void EscribeCabecera(TCifradorAgil* cifrador);
    void CifraPaginas(TCifradorAgil& cifrador);
    void EscribeMultivalores();

    // A multi-valued field of a user table, its values keyed by the number
    // each row holds.
    struct TMultivalor {
        std::string sTabla;
        uint32_t nPaginaTabla;
        TColumnaMdb columna;
        std::vector<std::pair<int64_t, jet::TValor>> valores;
        int64_t nFilas = 0;
    };
    std::vector<TMultivalor> multivalores_;
    size_t nMultivaloresActual_ = 0;  // the first of the current table's
    // MSysObjects flags of tables that are not the user's nor Jet's own.
    std::map<uint32_t, int64_t> banderas_;

    std::unique_ptr<TArchivoPaginas> archivo_;
    TOpciones opciones_;
    std::unique_ptr<TTablaMdb> actual_;
    std::vector<std::unique_ptr<TTablaMdb>> terminadas_;
    std::unique_ptr<TPaginaDatos> paginaMapas_;
    uint32_t nPaginaMapas_ = 0;
    bool bMapasAbierta_ = false;
    bool bCerrado_ = false;
};

}  // namespace mdb
