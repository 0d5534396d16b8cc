#pragma once

#include <string>

#include "platform/jet/ErroresJet.h"

// The failures of a statement, each naming its culprit (messages and kinds
// in the table of platform/jet/ErroresJet.cpp).
namespace jet::sql {

inline EErrorJet ErrorSintaxis(const std::string& sCerca) {
    return ErrorJet(TErrorJet::Sintaxis, {sCerca});
}
inline EErrorJet ErrorInstruccionNoValida() {
    return ErrorJet(TErrorJet::InstruccionNoValida);
}
inline EErrorJet ErrorSoloLectura(const std::string& sInstruccion) {
    return ErrorJet(TErrorJet::SoloLectura, {sInstruccion});
}
inline EErrorJet ErrorTablaNoEncontrada(const std::string& sTabla) {
    return ErrorJet(TErrorJet::TablaNoEncontrada, {sTabla});
}
// Jet takes a name it cannot resolve for a parameter that was given no value.
inline EErrorJet ErrorParametroSinValor(const std::string& sNombre) {
    return ErrorJet(TErrorJet::ParametroSinValor, {sNombre});
}
inline EErrorJet ErrorCampoAmbiguo(const std::string& sNombre) {
    return ErrorJet(TErrorJet::CampoAmbiguo, {sNombre});
}
inline EErrorJet ErrorFuncionNoDefinida(const std::string& sFuncion) {
    return ErrorJet(TErrorJet::FuncionNoDefinida, {sFuncion});
}
inline EErrorJet ErrorTiposNoCoinciden(const std::string& sValor) {
    return ErrorJet(TErrorJet::TiposNoCoinciden, {sValor});
}
inline EErrorJet ErrorDivisionPorCero() {
    return ErrorJet(TErrorJet::DivisionPorCero);
}
inline EErrorJet ErrorNumeroArgumentos(const std::string& sFuncion) {
    return ErrorJet(TErrorJet::NumeroArgumentos, {sFuncion});
}
inline EErrorJet ErrorArgumentoNoValido(const std::string& sFuncion) {
    return ErrorJet(TErrorJet::ArgumentoNoValido, {sFuncion});
}
inline EErrorJet ErrorAnidamiento(int nNiveles) {
    return ErrorJet(TErrorJet::Anidamiento, {std::to_string(nNiveles)});
}
inline EErrorJet ErrorLongitud(size_t nBytes) {
    return ErrorJet(TErrorJet::Longitud, {std::to_string(nBytes / (1024 * 1024))});
}
inline EErrorJet ErrorDesbordamientoOperacion() {
    return ErrorJet(TErrorJet::DesbordamientoOperacion);
}
inline EErrorJet ErrorDesbordamiento(const std::string& sValor) {
    return ErrorJet(TErrorJet::Desbordamiento, {sValor});
}

}  // namespace jet::sql
