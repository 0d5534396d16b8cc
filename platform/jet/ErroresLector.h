#pragma once

#include <string>

#include "platform/jet/ErroresJet.h"

// The failures of reading an Access file that are not about damage: what the
// file is and why it cannot be read.
namespace jet {

inline EErrorJet ErrorTipoNoLegible(const std::string& sTabla, const std::string& sColumna,
                                    const std::string& sTipo) {
    return ErrorJet(TErrorJet::TipoNoSoportado, {sTabla, sColumna, sTipo});
}

inline EErrorJet ErrorContrasenaInvalida() {
    return ErrorJet(TErrorJet::ContrasenaInvalida);
}

inline EErrorJet ErrorContrasenaRequerida(const std::string& sRuta) {
    return ErrorJet(TErrorJet::ContrasenaRequerida, {sRuta});
}

// A .mdb whose database password was not given: it is not encrypted, only
// kept behind the password.
inline EErrorJet ErrorContrasenaFaltante(const std::string& sRuta) {
    return ErrorJet(TErrorJet::ContrasenaFaltante, {sRuta});
}

// sQue says what the file is, sPorQue what of it cannot be read.
inline EErrorJet ErrorFormatoNoSoportado(const std::string& sRuta, const std::string& sQue,
                                         const std::string& sPorQue) {
    return ErrorJet(TErrorJet::FormatoNoSoportado, {sRuta, sQue, sPorQue});
}

}  // namespace jet
