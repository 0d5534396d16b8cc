#pragma once

#include <string>

#include "platform/jet/EErrorJet.h"

// The failures of reading an Access file that are not about damage: what the
// file is and why it cannot be read, each with its kind and Spanish message.
namespace jet {

inline EErrorJet ErrorTipoNoLegible(const std::string& sTabla, const std::string& sColumna,
                                    const std::string& sTipo) {
    return EErrorJet("ETipoNoSoportado", "No se puede leer la columna '" + sColumna +
                                             "' de la tabla '" + sTabla + "': es de tipo " + sTipo +
                                             ", que este programa no lee.");
}

inline EErrorJet ErrorContrasenaInvalida() {
    return EErrorJet("EContrasenaInvalida", "No es una contraseña válida.");
}

inline EErrorJet ErrorContrasenaRequerida(const std::string& sRuta) {
    return EErrorJet("EContrasenaRequerida",
                     "El archivo '" + sRuta +
                         "' está cifrado con una contraseña de base de datos: hay que indicarla "
                         "para abrirlo.");
}

// sQue says what the file is, sPorQue what of it cannot be read.
inline EErrorJet ErrorFormatoNoSoportado(const std::string& sRuta, const std::string& sQue,
                                         const std::string& sPorQue) {
    return EErrorJet("EFormatoNoSoportado", "No se puede abrir el archivo '" + sRuta + "': es " +
                                                sQue + ", pero " + sPorQue + ".");
}

}  // namespace jet
