#include "platform/jet/DefinicionTabla.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string_view>

namespace jet {

namespace {

constexpr unsigned char kPaginaDefinicion = 0x02;
constexpr int kMaximoColumnas = 255;  // Access's limit, deleted columns counted

// Type codes.
enum : int {
    tBooleano = 0x01,
    tByte = 0x02,
    tEntero = 0x03,
    tLargo = 0x04,
    tMoneda = 0x05,
    tSimple = 0x06,
    tDoble = 0x07,
    tFecha = 0x08,
    tBinario = 0x09,
    tTexto = 0x0a,
    tOle = 0x0b,
    tMemo = 0x0c,
    tDesconocido0D = 0x0d,  // system tables' storage, as OLE
    tGuid = 0x0f,
    tDecimal = 0x10,
    tDesconocido11 = 0x11,  // likewise
    tComplejo = 0x12,
    tEnteroGrande = 0x13,
    tFechaExtendida = 0x14,
};

uint16_t U16(const std::vector<unsigned char>& b, size_t n) {
    return static_cast<uint16_t>(b[n] | b[n + 1] << 8);
}
uint32_t U32(const std::vector<unsigned char>& b, size_t n) {
    return static_cast<uint32_t>(U16(b, n)) | static_cast<uint32_t>(U16(b, n + 2)) << 16;
}

// What a type is: the first version byte of the file format that has it,
// the bytes of its values (0 when their length varies) and whether Access
// 2010 may calculate it.
struct TTipo {
    int nCodigo, nPrimeraVersion, nTamano;
    bool bCalculable;
};
constexpr TTipo kTipos[] = {
    {tBooleano, 0, 0, true},
    {tByte, 0, 1, true},
    {tEntero, 0, 2, true},
    {tLargo, 0, 4, true},
    {tMoneda, 0, 8, true},
    {tSimple, 0, 4, true},
    {tDoble, 0, 8, true},
    {tFecha, 0, 8, true},
    {tBinario, 0, 0, false},
    {tTexto, 0, 0, true},
    {tOle, 0, 0, false},
    {tMemo, 0, 0, true},
    {tDesconocido0D, 0, 0, false},
    {tGuid, 0, 16, true},
    {tDecimal, 1, 17, true},
    {tDesconocido11, 1, 0, false},
    {tComplejo, 2, 4, false},
    {tEnteroGrande, 5, 8, false},
    {tFechaExtendida, 5, 42, false},
};

const TTipo* Tipo(int nCodigo) {
    for (const TTipo& t : kTipos)
        if (t.nCodigo == nCodigo)
            return &t;
    return nullptr;
}

std::string Minusculas(const std::string& s) {
    std::string r;
    icu::UnicodeString::fromUTF8(s).foldCase(U_FOLD_CASE_DEFAULT).toUTF8String(r);
    return r;
}

}  // namespace

TFormatoDefinicion TFormatoDefinicion::De(int nVersionArchivo) {
    if (nVersionArchivo == 0)
        return {2048, 25, 31, 43, 8, 18, 1, 3, 13, 14, 16, false};
    return {4096, 45, 51, 63, 12, 25, 5, 7, 15, 21, 23, true};
}

std::optional<TDefinicionTabla> LeeDefinicionTabla(
    uint32_t nPagina, const TFormatoDefinicion& f,
    const std::function<const unsigned char*(uint32_t)>& pagina) {
    // The definition runs on from page to page: each page points at the
    // next, whose bytes after its 8-byte header continue the text.
    std::vector<unsigned char> bytes;
    std::set<uint32_t> vistas;
    uint32_t nSiguiente = 0;
    auto agrega = [&](uint32_t n) {
        const unsigned char* p = n != 0 && vistas.insert(n).second ? pagina(n) : nullptr;
        if (!p || p[0] != kPaginaDefinicion)
            return false;
        bytes.insert(bytes.end(), p + (bytes.empty() ? 0 : 8), p + f.nTamanoPagina);
        std::memcpy(&nSiguiente, p + 4, sizeof nSiguiente);
        return true;
    };
    auto lleva = [&](size_t nHasta) {
        while (bytes.size() < nHasta)
            if (!agrega(nSiguiente))
                return false;
        return true;
    };
    if (!agrega(nPagina))
        return std::nullopt;
    TDefinicionTabla d;
    d.nColumnasMaximas = U16(bytes, f.nPosColumnas - 4);
    d.nVariables = U16(bytes, f.nPosColumnas - 2);
    const int nColumnas = U16(bytes, f.nPosColumnas);
    const uint32_t nIndices = U32(bytes, f.nPosIndicesReales);
    // Access keeps at most 32 indexes a table; more is damage, and would send
    // the entries far away.
    if (nColumnas > kMaximoColumnas || nIndices > 1000)
        return std::nullopt;
    const size_t nInicio = f.nInicioColumnas + nIndices * f.nLargoIndice;
    if (!lleva(nInicio + static_cast<size_t>(nColumnas) * f.nLargoColumna))
        return std::nullopt;
    for (int c = 0; c < nColumnas; ++c) {
        const size_t p = nInicio + static_cast<size_t>(c) * f.nLargoColumna;
        TColumnaDefinida col;
        col.nTipo = bytes[p];
        col.nNumero = U16(bytes, p + f.nPosNumero);
        col.nVariable = U16(bytes, p + f.nPosVariable);
        col.nBanderas = bytes[p + f.nPosBanderas];
        col.nBanderasExt = f.bBanderasExt ? bytes[p + f.nPosBanderas + 1] : 0;
        col.nPosicionFija = U16(bytes, p + f.nPosFija);
        col.nLargo = U16(bytes, p + f.nPosLargo);
        d.columnas.push_back(col);
    }
    return d;
}

std::string RevisaDefinicion(const TDefinicionTabla& d, const std::vector<std::string>& nombres,
                             int nVersionArchivo) {
    const int nColumnas = static_cast<int>(d.columnas.size());
    if (nColumnas == 0)
        return "no tiene columnas";
    if (d.nColumnasMaximas < nColumnas || d.nColumnasMaximas > kMaximoColumnas)
        return "dice tener " + std::to_string(nColumnas) + " columnas de " +
               std::to_string(d.nColumnasMaximas) + " numeradas";
    const bool bJet3 = nVersionArchivo == 0;
    std::set<int> numeros, variables;
    std::set<std::string> vistos;
    std::vector<std::pair<int, int>> fijas;  // [inicio, fin) in the row's fixed part
    int nVariablesVivas = 0;
    // Numbers count deleted columns too; the names are found by number.
    for (const TColumnaDefinida& c : d.columnas)
        if (c.nNumero >= d.nColumnasMaximas || !numeros.insert(c.nNumero).second)
            return "dos columnas tienen el número de columna " + std::to_string(c.nNumero) +
                   " o uno que no existe";
    for (int i = 0; i < nColumnas; ++i) {
        const TColumnaDefinida& c = d.columnas[i];
        const std::string sNombre = i < static_cast<int>(nombres.size()) ? nombres[i] : "";
        const std::string sCol = "la columna '" + sNombre + "' ";
        if (sNombre.empty() || !vistos.insert(Minusculas(sNombre)).second)
            return "tiene una columna sin nombre o con el nombre de otra ('" + sNombre + "')";
        const TTipo* tipo = Tipo(c.nTipo);
        if (!tipo || nVersionArchivo < tipo->nPrimeraVersion)
            return sCol + "es de tipo " + std::to_string(c.nTipo) +
                   ", que un archivo de esta versión no tiene";
        const int nTamano = tipo->nTamano;
        const int nCalculo = c.Calculada() ? 23 : 0;  // the wrapper of a calculated value
        if (c.Calculada() && (nVersionArchivo < 3 || c.Fija() || !tipo->bCalculable))
            return sCol + "se dice calculada sin poder serlo";
        if (c.Fija()) {
            if (c.nTipo == tTexto || c.nTipo == tMemo || c.nTipo == tOle)
                return sCol + "de longitud variable se dice de longitud fija";
            if (nTamano > 0 && c.nLargo != nTamano)
                return sCol + "tiene una longitud que su tipo no tiene";
            // A Yes/No lives in the null mask: Access gives it one byte.
            if (c.nTipo == tBooleano && c.nLargo > 1)
                return sCol + "tiene una longitud que su tipo no tiene";
            if (c.nTipo != tBooleano)
                fijas.emplace_back(c.nPosicionFija, c.nPosicionFija + c.nLargo);
        } else {
            if (c.nTipo == tBooleano && !c.Calculada())
                return sCol + "de sí/no se dice de longitud variable";
            ++nVariablesVivas;
            if (c.nVariable >= std::max(d.nVariables, 1) || !variables.insert(c.nVariable).second)
                return sCol + "tiene un lugar entre las columnas variables que no le corresponde";
            if (nTamano > 0 && !c.Calculada() && (c.nLargo == 0 || c.nLargo > nTamano))
                return sCol + "tiene una longitud que su tipo no tiene";
        }
        const int nMaxTexto = bJet3 ? 255 : 510;
        if ((c.nTipo == tTexto || c.nTipo == tBinario) &&
            (c.nLargo == 0 || c.nLargo > nMaxTexto + nCalculo))
            return sCol + "tiene una longitud que su tipo no tiene";
        if ((c.nTipo == tMemo || c.nTipo == tOle) && c.nLargo != 0 && !c.Calculada())
            return sCol + "tiene una longitud que su tipo no tiene";
    }
    if (nVariablesVivas > d.nVariables)
        return "tiene " + std::to_string(nVariablesVivas) +
               " columnas de longitud variable y dice tener " + std::to_string(d.nVariables);
    std::sort(fijas.begin(), fijas.end());
    for (size_t i = 0; i < fijas.size(); ++i)
        if (fijas[i].second > 4096 || (i > 0 && fijas[i].first < fijas[i - 1].second))
            return "tiene columnas de longitud fija que se pisan en la fila";
    return "";
}

std::optional<std::string_view> ValorCalculado(std::string_view guardado) {
    constexpr size_t nPosLargo = 16, nPosValor = 20;
    if (guardado.size() < nPosValor)
        return std::nullopt;
    uint32_t nLargo;
    std::memcpy(&nLargo, guardado.data() + nPosLargo, sizeof nLargo);
    if (nLargo > guardado.size() - nPosValor)
        return std::nullopt;
    return guardado.substr(nPosValor, nLargo);
}

}  // namespace jet
