#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jet {

// A table definition as its pages store it: the counts of its header and
// one entry per column, before anything is believed. libmdb takes these
// bytes as they come; a damaged definition read that way gives wrong values
// without a word (every text empty when the count of variable columns is
// lost, money read as a date when a type byte changes), so they are checked
// here first, against themselves and against the file's version. What no
// check can tell is a type byte changed into another type of the same
// length (a Long read as a Single): the bytes are all a reader has.
struct TColumnaDefinida {
    int nTipo = 0;          // the type's code
    int nNumero = 0;        // place among the table's columns
    int nVariable = 0;      // place among the row's variable columns
    int nPosicionFija = 0;  // offset in the row's fixed part
    int nLargo = 0;         // bytes (text: in the file's units)
    uint8_t nBanderas = 0;
    uint8_t nBanderasExt = 0;  // Jet 4 and later
    bool Fija() const { return nBanderas & 0x01; }
    // Access 2010's calculated fields: the value is stored, wrapped.
    bool Calculada() const { return (nBanderasExt & 0xc0) != 0; }
};

struct TDefinicionTabla {
    int nColumnasMaximas = 0;                // the next column number, deleted columns counted
    int nVariables = 0;                      // variable columns a row holds room for
    std::vector<TColumnaDefinida> columnas;  // as stored
};

// Where the fields lie: Jet 3 and Jet 4 (and the formats after it) differ.
struct TFormatoDefinicion {
    size_t nTamanoPagina;
    size_t nPosColumnas;       // number of columns (the two counts before it)
    size_t nPosIndicesReales;  // number of real indexes
    size_t nInicioColumnas;    // first entry, after the real indexes'
    size_t nLargoIndice;       // one real index's entry
    size_t nLargoColumna;      // one column's entry
    size_t nPosNumero, nPosVariable, nPosBanderas, nPosFija, nPosLargo;
    bool bBanderasExt;
    static TFormatoDefinicion De(int nVersionArchivo);
};

// Reads the definition starting at page nPagina, following its pages'
// chain; pagina(n) gives page n or nullptr when there is none. nullopt when
// the pages cannot hold it (not a definition page, a chain that loops or
// leaves the file, counts that run past it).
std::optional<TDefinicionTabla> LeeDefinicionTabla(
    uint32_t nPagina, const TFormatoDefinicion& formato,
    const std::function<const unsigned char*(uint32_t)>& pagina);

// What is wrong with a definition, in words for the user ("la columna 'X'
// es de tipo 19, que un archivo de esta versión no tiene"); empty when it
// is sound. nombres: the columns' names in stored order. nVersionArchivo:
// the header's version byte (0 Jet 3, 1 Jet 4, 2 Access 2007, 3 Access
// 2010, 5 Access 2016...).
std::string RevisaDefinicion(const TDefinicionTabla& d, const std::vector<std::string>& nombres,
                             int nVersionArchivo);

// The bytes of a calculated field's value without the wrapper Access puts
// around it (a 16-byte prefix, the length, the value, 3 bytes more); nullopt
// when the length does not fit what the row holds.
std::optional<std::string_view> ValorCalculado(std::string_view guardado);

}  // namespace jet
