#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/jet/TValorJet.h"
#include "tools/mdbgen/ArchivoPaginas.h"
#include "tools/mdbgen/ColumnaMdb.h"
#include "tools/mdbgen/PaginaDatos.h"

namespace mdb {

// One table being written: turns each row into Jet 4 row bytes, fills data
// pages of its own and long-value pages per memo column, and at the end
// writes its table definition. Rows are streamed: only the page being
// filled is in memory.
class TTablaMdb {
public:
    TTablaMdb(TArchivoPaginas& archivo, std::string sNombre, std::vector<TColumnaMdb> columnas,
              uint32_t nPaginaTdef, bool bSistema);

    const std::string& Nombre() const { return sNombre_; }
    uint32_t PaginaTdef() const { return nPaginaTdef_; }
    const std::vector<TColumnaMdb>& Columnas() const { return columnas_; }
    int64_t Filas() const { return nFilas_; }

    // One value per column, in column order. Throws EErrorMdb naming the
    // column when a value does not fit its type.
    void AgregaFila(const std::vector<jet::TValor>& valores);
    // Writes the pages still being filled; the page lists are then final.
    void Termina();

    const std::vector<uint32_t>& PaginasDatos() const { return paginasDatos_; }
    // Long-value (memo, OLE) columns by column number, with their pages.
    struct TLargo {
        int nColumna;
        std::vector<uint32_t> paginas;
        TPaginaDatos pagina;
        uint32_t nPagina = 0;
        bool bAbierta = false;
    };
    const std::vector<TLargo>& Largos() const { return largos_; }

    // Data pointers (page << 8 | row) of the usage maps: the table's own
    // pair, then one pair per long-value column in column order.
    void EscribeTdef(uint32_t nMapaUsadas, uint32_t nMapaLibres,
                     const std::vector<std::pair<uint32_t, uint32_t>>& mapasLargos);

private:
    struct TDisposicion {
        bool bFija = false;
        int nPosicion = 0;      // offset in the fixed area, or index among variable columns
        int nLargo = 0;         // bytes in the table definition
        int nIndiceLargo = -1;  // index in largos_ for memo/OLE
    };
    void CodificaVariable(size_t i, const jet::TValor& v, std::vector<uint8_t>& bytes);
    void CodificaFijo(size_t i, const jet::TValor& v, uint8_t* p);
    void CodificaBytes(size_t i, const jet::TValor& v, std::vector<uint8_t>& bytes);
    uint32_t GuardaLargo(TLargo& largo, const std::vector<uint8_t>& bytes, uint8_t& nBandera);
    std::string Error(size_t i, const std::string& sQue) const;

    TArchivoPaginas& archivo_;
    std::string sNombre_;
    std::vector<TColumnaMdb> columnas_;
    std::vector<TDisposicion> disposicion_;
    uint32_t nPaginaTdef_;
    bool bSistema_;
    int nFijos_ = 0;
    int nVariables_ = 0;
    int64_t nFilas_ = 0;

    TPaginaDatos pagina_;
    uint32_t nPaginaActual_ = 0;
    bool bPaginaAbierta_ = false;
    std::vector<uint32_t> paginasDatos_;
    std::vector<TLargo> largos_;

    // Reused per row so that streaming millions of rows allocates nothing.
    std::vector<std::vector<uint8_t>> variables_;
    std::vector<bool> esLargoEnLinea_;
    std::vector<uint8_t> fila_;
};

}  // namespace mdb
