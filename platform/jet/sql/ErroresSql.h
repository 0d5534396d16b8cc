#pragma once

#include <string>

#include "platform/jet/EErrorJet.h"

// The failure families of a statement, each with its Spanish message naming
// the culprit. The kind is what the user reads before " - ".
namespace jet::sql {

inline EErrorJet ErrorSintaxis(const std::string& sCerca) {
    return EErrorJet("ESintaxis",
                     "Error de sintaxis en la instrucción SQL cerca de '" + sCerca + "'.");
}
inline EErrorJet ErrorInstruccionNoValida() {
    return EErrorJet("ESintaxis",
                     "Instrucción SQL no válida; se esperaba 'DELETE', 'INSERT', 'PROCEDURE', "
                     "'SELECT' o 'UPDATE'.");
}
inline EErrorJet ErrorSoloLectura(const std::string& sInstruccion) {
    return EErrorJet("ESoloLectura",
                     "La base de datos Norvex está abierta en modo de solo "
                     "lectura: no se permite la instrucción " +
                         sInstruccion + ".");
}
inline EErrorJet ErrorTablaNoEncontrada(const std::string& sTabla) {
    return EErrorJet("ETablaNoEncontrada", "No se encuentra la tabla o consulta '" + sTabla + "'.");
}
// Jet takes a name it cannot resolve for a parameter that was given no value.
inline EErrorJet ErrorParametroSinValor(const std::string& sNombre) {
    return EErrorJet("EParametroSinValor", "No se ha especificado un valor para el parámetro '" +
                                               sNombre +
                                               "': no hay ninguna columna con ese nombre.");
}
inline EErrorJet ErrorCampoAmbiguo(const std::string& sNombre) {
    return EErrorJet("ECampoAmbiguo", "El campo '" + sNombre +
                                          "' puede referirse a más de una tabla de la cláusula "
                                          "FROM.");
}
inline EErrorJet ErrorFuncionNoDefinida(const std::string& sFuncion) {
    return EErrorJet("EFuncionNoDefinida",
                     "Función '" + sFuncion + "' no definida en la expresión.");
}
inline EErrorJet ErrorTiposNoCoinciden(const std::string& sValor) {
    return EErrorJet("ETiposNoCoinciden",
                     "No coinciden los tipos de datos en la expresión: '" + sValor + "'.");
}
inline EErrorJet ErrorDivisionPorCero() {
    return EErrorJet("EDivisionPorCero", "División por cero.");
}

}  // namespace jet::sql

namespace jet::sql {

inline EErrorJet ErrorNumeroArgumentos(const std::string& sFuncion) {
    return EErrorJet("ESintaxis", "Número incorrecto de argumentos usados con la función '" +
                                      sFuncion + "' en la expresión.");
}
inline EErrorJet ErrorArgumentoNoValido(const std::string& sFuncion) {
    return EErrorJet("EArgumentoNoValido",
                     "Llamada a procedimiento o argumento no válido en '" + sFuncion + "'.");
}
inline EErrorJet ErrorAnidamiento(int nNiveles) {
    return EErrorJet("EAnidamiento", "La instrucción SQL es demasiado compleja: anida más de " +
                                         std::to_string(nNiveles) +
                                         " niveles de paréntesis, operadores, funciones o "
                                         "subconsultas.");
}
inline EErrorJet ErrorLongitud(size_t nBytes) {
    return EErrorJet("ELongitud", "La instrucción SQL es demasiado larga: pasa de " +
                                      std::to_string(nBytes / (1024 * 1024)) + " MB.");
}
inline EErrorJet ErrorDesbordamientoOperacion() {
    return EErrorJet("EDesbordamiento",
                     "Desbordamiento: el resultado de una operación no cabe en un número Double.");
}
inline EErrorJet ErrorDesbordamiento(const std::string& sValor) {
    return EErrorJet("EDesbordamiento", "Desbordamiento al convertir '" + sValor + "'.");
}

}  // namespace jet::sql
