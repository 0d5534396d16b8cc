#pragma once

#include <string>

#include "platform/jet/TValorJet.h"

namespace jet {

// A value as a recordset shows it as text: null empty, Booleans True/False,
// numbers and currency in the general form (TextoNumero) with cSeparador as
// decimal point, a Single as its shortest text (TextoSimple), a Decimal with
// all its digits and no exponent, dates as YYYY-MM-DD HH:MM:SS, text as it
// is, bytes as TextoBytes, attachments as TextoAdjuntos.
std::string TextoValor(const TValor& valor, char cSeparador = '.');

// "0x" and two upper-case hexadecimal digits per byte: "0x4D5A00"; no bytes
// give "0x".
std::string TextoBytes(const TBytes& b);

// Each attached file as "NAME (N bytes)", separated by "; ":
// "a.txt (12 bytes); b.png (3400 bytes)". No files give "".
std::string TextoAdjuntos(const TAdjuntos& a);

}  // namespace jet
