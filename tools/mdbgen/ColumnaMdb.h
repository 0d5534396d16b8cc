#pragma once

#include <cstdint>
#include <string>

namespace mdb {

// Column types with Jet's own type codes.
enum class TTipoMdb : uint8_t {
    tmBooleano = 0x01,
    tmByte = 0x02,
    tmEntero = 0x03,
    tmLargo = 0x04,
    tmMoneda = 0x05,
    tmSimple = 0x06,
    tmDoble = 0x07,
    tmFechaHora = 0x08,
    tmBinario = 0x09,
    tmTexto = 0x0a,
    tmOLE = 0x0b,
    tmMemo = 0x0c,
    // Access 2019's Date/Time Extended (files of version 5 and later): the
    // value as "YYYY-MM-DD HH:MM:SS.fffffff".
    tmFechaExtendida = 0x14,
    // A multi-valued field (files of Access 2007 and later): the row keeps a
    // number that keys its values, written to a hidden table of their own.
    tmMultivalor = 0x12,
};

struct TColumnaMdb {
    std::string sNombre;
    TTipoMdb eTipo = TTipoMdb::tmTexto;
    int nTamano = 0;  // characters for text (1-255), bytes for binary; unused otherwise
    // An Access 2010 calculated field (files of that version or later): the
    // caller gives the values Access would have computed, stored as Access
    // stores them. Text, Byte, Integer, Long, Single, Double, Currency,
    // Date/Time and Yes/No.
    bool bCalculada = false;
    // A multi-valued field's values: Byte, Integer, Long, Single, Double or
    // Text (nTamano then its characters).
    TTipoMdb eTipoValores = TTipoMdb::tmTexto;
};

}  // namespace mdb
